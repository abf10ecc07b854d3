#pragma once
// The main window's picture view: where a picture of w x h is drawn in a client area of
// cw x ch (proportional shrinking of a picture too big, at the top-left corner, never
// enlarged).

#include "platform/gdi/Color.h"

TRect ProportionalTarget(int32_t w, int32_t h, int32_t cw, int32_t ch);
