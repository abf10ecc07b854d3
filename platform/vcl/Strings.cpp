#include "platform/vcl/Strings.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"

void TStrings::CheckIndex(int i) const {
  if (i < 0 || i >= Count()) throw Exception(rtl::Format(msg::SListIndexError, i));
}

const std::string& TStrings::Strings(int i) const {
  CheckIndex(i);
  return items_[static_cast<size_t>(i)].text;
}

void TStrings::SetString(int i, std::string s) {
  CheckIndex(i);
  items_[static_cast<size_t>(i)].text = std::move(s);
  Changed();
}

TObject* TStrings::Objects(int i) const {
  CheckIndex(i);
  return items_[static_cast<size_t>(i)].object;
}

void TStrings::SetObject(int i, TObject* o) {
  CheckIndex(i);
  items_[static_cast<size_t>(i)].object = o;
  Changed();
}

int TStrings::SortedPosition(const std::string& s) const {
  // After the equal lines already there, so equal names keep their order of arrival.
  auto it = std::upper_bound(items_.begin(), items_.end(), s,
                             [](const std::string& v, const Item& item) { return rtl::CompareText(v, item.text) < 0; });
  return static_cast<int>(it - items_.begin());
}

int TStrings::AddObject(std::string s, TObject* o) {
  const int at = sorted_ ? SortedPosition(s) : Count();
  items_.insert(items_.begin() + at, Item{std::move(s), o});
  Changed();
  return at;
}

void TStrings::Insert(int i, std::string s, TObject* o) {
  if (i < 0 || i > Count()) CheckIndex(i);
  items_.insert(items_.begin() + i, Item{std::move(s), o});
  Changed();
}

void TStrings::Delete(int i) {
  CheckIndex(i);
  items_.erase(items_.begin() + i);
  Changed();
}

void TStrings::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

int TStrings::IndexOf(const std::string& s) const {
  for (int i = 0; i < Count(); ++i)
    if (rtl::SameText(items_[static_cast<size_t>(i)].text, s)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* o) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)].object == o) return i;
  return -1;
}

void TStrings::Assign(std::vector<std::pair<std::string, TObject*>> lines) {
  items_.clear();
  items_.reserve(lines.size());
  for (auto& [text, object] : lines) items_.push_back(Item{std::move(text), object});
  if (sorted_)
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return rtl::CompareText(a.text, b.text) < 0; });
  Changed();
}

void TStrings::SetTexts(std::initializer_list<const char*> lines) {
  std::vector<std::pair<std::string, TObject*>> v;
  for (const char* line : lines) v.emplace_back(line, nullptr);
  Assign(std::move(v));
}

std::vector<std::string> TStrings::Texts() const {
  std::vector<std::string> v;
  v.reserve(items_.size());
  for (const Item& item : items_) v.push_back(item.text);
  return v;
}

void TStrings::SetSorted(bool value) {
  if (value == sorted_) return;
  sorted_ = value;
  if (sorted_) {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return rtl::CompareText(a.text, b.text) < 0; });
    Changed();
  }
}

void TStrings::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && changedWhileUpdating_) {
    changedWhileUpdating_ = false;
    if (OnChange) OnChange();
  }
}

void TStrings::Changed() {
  if (updating_ > 0) {
    changedWhileUpdating_ = true;
    return;
  }
  if (OnChange) OnChange();
}
