#pragma once
// The system's millisecond tick count: a steady clock that wraps at 2^32.
// Tests may replace the source.

#include <cstdint>
#include <functional>

namespace rtl {

uint32_t GetTickCount();

// Replaces the clock (an empty function puts the steady clock back).
void SetTickCountSource(std::function<uint32_t()> source);

}  // namespace rtl
