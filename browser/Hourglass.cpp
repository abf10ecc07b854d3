#include "browser/Hourglass.h"

#include <QCursor>
#include <QGuiApplication>
#include <set>
#include <string_view>

#include "platform/rtl/Format.h"

namespace {
struct IgnoringCase {
  bool operator()(std::string_view a, std::string_view b) const { return rtl::CompareText(a, b) < 0; }
};
}  // namespace

// A line lands at the number of earlier lines that sort before it or equal to it.  That
// number is exactly `position` when the position-th smallest earlier line sorts at or
// before the new one and the next smallest (if any) after it, so only the position + 1
// smallest earlier lines need keeping: most lines of a long list cost one comparison.
int FirstInsertionAt(const std::vector<std::string_view>& texts, int position) {
  if (position < 0) return -1;
  const size_t p = static_cast<size_t>(position);
  std::multiset<std::string_view, IgnoringCase> smallest;  // the p + 1 smallest earlier lines
  for (size_t i = 0; i < texts.size(); ++i) {
    const std::string_view text = texts[i];
    if (i >= p) {
      const bool full = smallest.size() == p + 1;
      const bool nextAfter = !full || rtl::CompareText(*smallest.rbegin(), text) > 0;
      if (nextAfter) {
        bool enoughBefore = true;
        if (p > 0) {
          auto pth = std::prev(smallest.end());
          if (full) pth = std::prev(pth);
          enoughBefore = rtl::CompareText(*pth, text) <= 0;
        }
        if (enoughBefore) return static_cast<int>(i);
      }
    }
    if (smallest.size() < p + 1) {
      smallest.insert(text);
    } else if (rtl::CompareText(text, *smallest.rbegin()) < 0) {
      smallest.erase(std::prev(smallest.end()));
      smallest.insert(text);
    }
  }
  return -1;
}

THourglass::~THourglass() {
  if (shown_ && qGuiApp) QGuiApplication::restoreOverrideCursor();
}

void THourglass::Show() {
  if (shown_ || !qGuiApp) return;
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  shown_ = true;
}
