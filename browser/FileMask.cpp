#include "browser/FileMask.h"

#include <fnmatch.h>

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsPlainAscii(std::string_view s) {
  for (char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80 || c == '*' || c == '?' || c == '[' || c == '\\') return false;
  }
  return true;
}

bool EndsWithIgnoringCase(std::string_view name, std::string_view lowerSuffix) {
  if (name.size() < lowerSuffix.size()) return false;
  const std::string_view tail = name.substr(name.size() - lowerSuffix.size());
  for (size_t i = 0; i < tail.size(); ++i)
    if (AsciiLower(tail[i]) != lowerSuffix[i]) return false;
  return true;
}

}  // namespace

TFileMask::TFileMask(std::string_view mask) {
  size_t start = 0;
  while (true) {
    const size_t semi = mask.find(';', start);
    patterns_.push_back(Compile(std::string(mask.substr(start, semi == std::string_view::npos ? semi : semi - start))));
    if (semi == std::string_view::npos) break;
    start = semi + 1;
  }
}

// The usual "*.ext" patterns are matched by a plain suffix comparison: a long refill
// tests every name against every pattern, and this is what keeps it close to a bare
// listing.  The result is the one fnmatch gives for them.
TFileMask::Compiled TFileMask::Compile(std::string text) {
  Compiled c{std::move(text), Kind::Wildcards, {}};
  if (c.text.empty()) {
    c.kind = Kind::Nothing;
  } else if (c.text == "*" || c.text == "*.*") {
    c.kind = Kind::Everything;
  } else if (c.text.front() == '*' && IsPlainAscii(std::string_view(c.text).substr(1))) {
    c.kind = Kind::Suffix;
    for (char ch : std::string_view(c.text).substr(1)) c.suffix.push_back(AsciiLower(ch));
  }
  return c;
}

bool TFileMask::Matches(int i, const std::string& name) const {
  const Compiled& c = patterns_[static_cast<size_t>(i)];
  switch (c.kind) {
    case Kind::Nothing: return false;
    case Kind::Everything: return true;
    case Kind::Suffix: return EndsWithIgnoringCase(name, c.suffix);
    case Kind::Wildcards: return fnmatch(c.text.c_str(), name.c_str(), FNM_CASEFOLD) == 0;
  }
  return false;
}
