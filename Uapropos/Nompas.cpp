#include "Uapropos/Nompas.h"

#include <array>
#include <stdexcept>
#include <string_view>

std::string CreditLine;

namespace {

// "©" is one character of the alphabet but two bytes in UTF-8, so the alphabet is a table
// of characters rather than one string.
std::string_view AlphabetCharacter(int position) {
  if (position >= 1 && position <= 26) return std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZ").substr(position - 1, 1);
  if (position >= 27 && position <= 52) return std::string_view("abcdefghijklmnopqrstuvwxyz").substr(position - 27, 1);
  switch (position) {
    case 53: return "-";
    case 54: return "\u00A9";
    case 55: return " ";
    default: throw std::out_of_range("credit alphabet position");
  }
}

constexpr std::array<uint8_t, 16> kCreditPositions = {54, 55, 12, 47, 29, 35, 31, 40, 55, 22, 31, 44, 40, 35, 31, 44};

constexpr bool AllInAlphabet(const auto& positions) {
  for (uint8_t p : positions)
    if (p < 1 || p > kCreditAlphabetSize) return false;
  return true;
}
static_assert(AllInAlphabet(kCreditPositions));

}  // namespace

std::string SpellFromAlphabet(std::span<const uint8_t> positions) {
  std::string result;
  for (uint8_t p : positions) result += AlphabetCharacter(p);
  return result;
}

std::string BuildCreditLine() { return SpellFromAlphabet(kCreditPositions); }
