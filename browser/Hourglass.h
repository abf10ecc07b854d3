#pragma once
// When a long refill shows the hourglass: the list keeps its lines sorted, and the
// hourglass appears once a line is inserted at position 100.  Lines are inserted one at a
// time in the order the search finds them; a line lands after the lines already there
// that sort equal to it.

#include <string_view>
#include <vector>

inline constexpr int kHourglassPosition = 100;

// The number (counting from 0, in insertion order) of the first line that lands at the
// given position, or -1 when none does.
int FirstInsertionAt(const std::vector<std::string_view>& textsInInsertionOrder, int position = kHourglassPosition);

// Shows the hourglass cursor over the application while it lives, once Show() is called;
// the cursor shown before comes back when it ends, also by an exception.
class THourglass {
 public:
  THourglass() = default;
  ~THourglass();
  THourglass(const THourglass&) = delete;
  THourglass& operator=(const THourglass&) = delete;
  void Show();
  bool Shown() const { return shown_; }

 private:
  bool shown_ = false;
};
