#pragma once
// The system's multiply-then-divide: a * b / c rounded to the nearest integer, halves away
// from zero; -1 when c is 0 or the result does not fit 32 bits.

#include <cstdint>
#include <limits>

namespace gdi {

// The same with a divisor that may exceed 32 bits (a 32-bit count times 100, say); a and b
// are 32-bit values.
constexpr int32_t MulDivWide(int32_t a, int32_t b, int64_t c) {
  if (c == 0) return -1;
  const int64_t product = static_cast<int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const uint64_t num = product < 0 ? static_cast<uint64_t>(-(product + 1)) + 1 : static_cast<uint64_t>(product);
  const uint64_t den = c < 0 ? static_cast<uint64_t>(-(c + 1)) + 1 : static_cast<uint64_t>(c);
  const uint64_t q = num / den + (num % den >= den - den / 2 ? 1 : 0);
  if (negative ? q > uint64_t{1} << 31 : q > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) return -1;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(q)) : static_cast<int32_t>(q);
}

constexpr int32_t MulDiv(int32_t a, int32_t b, int32_t c) { return MulDivWide(a, b, c); }

}  // namespace gdi
