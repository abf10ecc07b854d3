#include "tools/mirelune-render/ViewTarget.h"

#include <cstdint>

namespace {
// Truncation toward zero of an extended-precision quotient or product.
int32_t Trunc(long double v) { return static_cast<int32_t>(v); }
}  // namespace

TRect ProportionalTarget(int32_t w, int32_t h, int32_t cw, int32_t ch) {
  if ((w > cw || h > ch) && w > 0 && h > 0) {
    // The aspect is computed in extended precision and kept as a double.
    const double a = static_cast<double>(static_cast<long double>(w) / static_cast<long double>(h));
    const long double ea = a;
    if (w > h) {
      w = cw;
      h = Trunc(static_cast<long double>(cw) / ea);
      if (h > ch) {
        h = ch;
        w = Trunc(static_cast<long double>(ch) * ea);
      }
    } else {
      h = ch;
      w = Trunc(static_cast<long double>(ch) * ea);
      if (w > cw) {
        w = cw;
        h = Trunc(static_cast<long double>(cw) / ea);
      }
    }
  } else if (w > cw || h > ch) {
    w = cw;
    h = ch;
  }
  return TRect{0, 0, w, h};
}
