#pragma once
// The about box's credit line, kept in the program only as positions into an alphabet.

#include <cstdint>
#include <span>
#include <string>

// The credit line shown by the about box, set when the box is created.
extern std::string CreditLine;

// The 55 characters the credit line is spelt from: "A".."Z", "a".."z", "-", "©", " ".
inline constexpr int kCreditAlphabetSize = 55;

// The characters found at the given 1-based positions of the alphabet, one after the other.
// A position outside 1..55 raises std::out_of_range.
std::string SpellFromAlphabet(std::span<const uint8_t> positions);

// The credit line, spelt from its fixed sequence of positions.
std::string BuildCreditLine();
