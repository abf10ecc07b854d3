#pragma once
// The view's rule for where a picture is drawn; no window needed, so tools share it.

#include <cstdint>

#include "platform/gdi/Color.h"

// The rectangle a w x h picture is drawn into in a cw x ch view.  The aspect ratio is kept
// in double precision and the quotients and products are taken in extended precision
// (64-bit significand), truncated toward zero.
TRect ImageTargetRect(int32_t w, int32_t h, int32_t cw, int32_t ch, bool Stretch, bool Proportional, bool Center);
