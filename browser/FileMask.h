#pragma once
// The file list's mask: patterns separated by ";", taken in order, each matched against a
// name ignoring case with the wildcards "*" and "?" (and fnmatch's brackets).  "*" and
// "*.*" match every name, as the original system's search has it.

#include <string>
#include <string_view>
#include <vector>

class TFileMask {
 public:
  explicit TFileMask(std::string_view mask);

  int Count() const { return static_cast<int>(patterns_.size()); }
  const std::string& Pattern(int i) const { return patterns_[static_cast<size_t>(i)].text; }
  bool Matches(int i, const std::string& name) const;

 private:
  enum class Kind { Nothing, Everything, Suffix, Wildcards };
  struct Compiled {
    std::string text;
    Kind kind;
    std::string suffix;  // Suffix: the ASCII literal after the leading "*"
  };
  static Compiled Compile(std::string text);
  std::vector<Compiled> patterns_;
};
