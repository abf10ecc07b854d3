#pragma once
// The text of a profile (INI) file as lines: sections opened by "[name]", lines of
// "key=value" inside them, and whatever else the file holds (comments, blank lines, stray
// text), which is kept byte for byte.  Section and key names match without regard to case;
// the first section and the first key of a name win, as later duplicates are never reached.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

// The integer rule of the settings file: leading blanks, then either an optional sign and
// decimal digits within the signed 32-bit range, or a hexadecimal number of at most 32 bits
// after "$", "x", "X", "0x" or "0X" (no sign); nothing may follow the digits.
std::optional<int32_t> IniStrToInt(std::string_view text);

// A read value: blanks around it removed, then one enclosing pair of matching double or
// single quotes removed, then cut to kIniMaxValueChars characters (UTF-8 sequences count as
// one character and are never split).
inline constexpr size_t kIniMaxValueChars = 2047;
std::string IniCleanValue(std::string_view raw);

class TIniText {
 public:
  TIniText() = default;
  explicit TIniText(std::string_view content);

  // The cleaned value of key in section, or nothing when either is missing.
  std::optional<std::string> Find(std::string_view section, std::string_view key) const;

  // Replaces the value of an existing key in place (its line keeps its key's spelling),
  // or adds the key at the end of its section, or adds the section at the end of the text.
  // Names and value must not hold line breaks (the caller refuses those).
  void Set(std::string_view section, std::string_view key, std::string_view value);

  // Every section name, in file order (duplicates included).
  std::vector<std::string> Sections() const;
  // Every key name of the first section of that name, in file order.
  std::vector<std::string> Keys(std::string_view section) const;

  std::string Text() const;

 private:
  struct Line {
    std::string text;  // without its terminator
    std::string eol;   // "\n", "\r\n", "\r" or empty for a last line without one
  };
  enum class Kind { Other, Section, Key };
  struct Parsed {
    Kind kind = Kind::Other;
    std::string_view name;  // section or key name, trimmed
    std::string_view value;  // raw text after "=" for a key
  };

  Parsed Parse(size_t index) const;
  // Index of the header line of the first section of that name, if any.
  std::optional<size_t> FindSection(std::string_view section) const;
  // One past the last line of the section that starts at header.
  size_t SectionEnd(size_t header) const;
  std::optional<size_t> FindKey(size_t header, std::string_view key) const;
  void Insert(size_t at, std::string text);

  std::string bom_;  // a UTF-8 byte-order mark, kept in front of the first line
  std::vector<Line> lines_;
  std::string eol_ = "\n";  // the terminator of lines this object adds
};

}  // namespace rtl
