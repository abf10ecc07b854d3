#include "picture/TargetRect.h"

#include <cmath>
#include <limits>

namespace {

int32_t TruncToInt(long double v) {
  const long double t = std::trunc(v);
  if (t >= static_cast<long double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
  if (t <= static_cast<long double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(t);
}

}  // namespace

TRect ImageTargetRect(int32_t w, int32_t h, int32_t cw, int32_t ch, bool Stretch, bool Proportional, bool Center) {
  static_assert(std::numeric_limits<long double>::digits >= 64, "extended precision needed");
  if (Stretch || (Proportional && (w > cw || h > ch))) {
    if (Proportional && w > 0 && h > 0) {
      const double a = static_cast<double>(static_cast<long double>(w) / static_cast<long double>(h));
      const long double ax = a;
      if (w > h) {
        w = cw;
        h = TruncToInt(static_cast<long double>(cw) / ax);
        if (h > ch) {
          h = ch;
          w = TruncToInt(static_cast<long double>(ch) * ax);
        }
      } else {
        h = ch;
        w = TruncToInt(static_cast<long double>(ch) * ax);
        if (w > cw) {
          w = cw;
          h = TruncToInt(static_cast<long double>(cw) / ax);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  TRect r = Rect(0, 0, w, h);
  if (Center) {
    const int32_t dx = static_cast<int32_t>((static_cast<int64_t>(cw) - w) / 2);
    const int32_t dy = static_cast<int32_t>((static_cast<int64_t>(ch) - h) / 2);
    r = Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
  }
  return r;
}
