#include "platform/rtl/IniText.h"

#include "platform/rtl/Format.h"

namespace rtl {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<int32_t> ParseHex(std::string_view digits) {
  if (digits.empty()) return std::nullopt;
  uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  // All 32 bits count: "$FFFFFFFF" is -1.
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::optional<int32_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const int64_t limit = negative ? 2147483648LL : 2147483647LL;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

// Length in bytes of the first n UTF-8 characters of s (continuation bytes do not start one).
size_t PrefixOfChars(std::string_view s, size_t n) {
  size_t chars = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const bool starts = (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80;
    if (starts) {
      if (chars == n) return i;
      ++chars;
    }
  }
  return s.size();
}

}  // namespace

std::optional<int32_t> IniStrToInt(std::string_view text) {
  size_t b = 0;
  while (b < text.size() && IsBlank(text[b])) ++b;
  text.remove_prefix(b);
  if (text.empty()) return std::nullopt;
  if (text[0] == '$' || text[0] == 'x' || text[0] == 'X') return ParseHex(text.substr(1));
  if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) return ParseHex(text.substr(2));
  return ParseDecimal(text);
}

std::string IniCleanValue(std::string_view raw) {
  std::string_view v = TrimView(raw);
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v.substr(0, PrefixOfChars(v, kIniMaxValueChars)));
}

TIniText::TIniText(std::string_view content) {
  static constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (content.substr(0, kBom.size()) == kBom) {
    bom_ = kBom;
    content.remove_prefix(kBom.size());
  }
  bool eolChosen = false;
  size_t pos = 0;
  while (pos < content.size()) {
    size_t end = pos;
    while (end < content.size() && content[end] != '\n' && content[end] != '\r') ++end;
    Line line{std::string(content.substr(pos, end - pos)), {}};
    if (end < content.size()) {
      const size_t len = (content[end] == '\r' && end + 1 < content.size() && content[end + 1] == '\n') ? 2 : 1;
      line.eol = std::string(content.substr(end, len));
      end += len;
      if (!eolChosen) {
        eol_ = line.eol;
        eolChosen = true;
      }
    }
    lines_.push_back(std::move(line));
    pos = end;
  }
}

TIniText::Parsed TIniText::Parse(size_t index) const {
  std::string_view t = TrimView(lines_[index].text);
  Parsed p;
  if (t.empty() || t[0] == ';') return p;
  if (t[0] == '[') {
    const size_t close = t.find(']');
    p.kind = Kind::Section;
    p.name = TrimView(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return p;
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return p;
  p.kind = Kind::Key;
  p.name = TrimView(t.substr(0, eq));
  p.value = t.substr(eq + 1);
  return p;
}

std::optional<size_t> TIniText::FindSection(std::string_view section) const {
  const std::string_view wanted = TrimView(section);
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Parsed p = Parse(i);
    if (p.kind == Kind::Section && SameText(p.name, wanted)) return i;
  }
  return std::nullopt;
}

size_t TIniText::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && Parse(i).kind != Kind::Section) ++i;
  return i;
}

std::optional<size_t> TIniText::FindKey(size_t header, std::string_view key) const {
  const std::string_view wanted = TrimView(key);
  const size_t end = SectionEnd(header);
  for (size_t i = header + 1; i < end; ++i) {
    const Parsed p = Parse(i);
    if (p.kind == Kind::Key && !p.name.empty() && SameText(p.name, wanted)) return i;
  }
  return std::nullopt;
}

std::optional<std::string> TIniText::Find(std::string_view section, std::string_view key) const {
  const auto header = FindSection(section);
  if (!header) return std::nullopt;
  const auto line = FindKey(*header, key);
  if (!line) return std::nullopt;
  return IniCleanValue(Parse(*line).value);
}

void TIniText::Insert(size_t at, std::string text) {
  // The line before the new one must end, or the two would run together.
  if (at > 0 && lines_[at - 1].eol.empty()) lines_[at - 1].eol = eol_;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line{std::move(text), eol_});
}

void TIniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view sectionName = TrimView(section);
  const std::string_view keyName = TrimView(key);
  const auto header = FindSection(sectionName);
  if (!header) {
    const bool needsGap = !lines_.empty() && !TrimView(lines_.back().text).empty();
    if (needsGap) Insert(lines_.size(), std::string());
    Insert(lines_.size(), "[" + std::string(sectionName) + "]");
    Insert(lines_.size(), std::string(keyName) + "=" + std::string(value));
    return;
  }
  if (const auto line = FindKey(*header, keyName)) {
    const std::string existing(Parse(*line).name);
    lines_[*line].text = existing + "=" + std::string(value);
    return;
  }
  // After the section's last non-blank line, so that blank lines before the next
  // section stay where they are.
  size_t at = SectionEnd(*header);
  while (at > *header + 1 && TrimView(lines_[at - 1].text).empty()) --at;
  Insert(at, std::string(keyName) + "=" + std::string(value));
}

std::vector<std::string> TIniText::Sections() const {
  std::vector<std::string> out;
  for (size_t i = 0; i < lines_.size(); ++i) {
    const Parsed p = Parse(i);
    if (p.kind == Kind::Section) out.emplace_back(p.name);
  }
  return out;
}

std::vector<std::string> TIniText::Keys(std::string_view section) const {
  std::vector<std::string> out;
  const auto header = FindSection(section);
  if (!header) return out;
  const size_t end = SectionEnd(*header);
  for (size_t i = *header + 1; i < end; ++i) {
    const Parsed p = Parse(i);
    if (p.kind == Kind::Key && !p.name.empty()) out.emplace_back(p.name);
  }
  return out;
}

std::string TIniText::Text() const {
  std::string out = bom_;
  for (const Line& l : lines_) {
    out += l.text;
    out += l.eol;
  }
  return out;
}

}  // namespace rtl
