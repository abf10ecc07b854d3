#pragma once
// String helpers of the runtime library.

#include <cstdint>
#include <string>
#include <string_view>

namespace rtl {

// printf-style formatting into a std::string.
std::string Format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// Removes every character whose code is at most that of the space from both ends.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// ASCII case mapping (the "ANSI" mapping of the original for the texts this program meets;
// bytes of multi-byte UTF-8 sequences are left as they are).
std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);

std::string IntToStr(int64_t value);

}  // namespace rtl
