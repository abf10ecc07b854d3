#pragma once
// A list of text lines, each with an optional object pointer (not owned), as the lists and
// combo boxes hold their items.  A sorted list keeps its lines in order ignoring case; a
// line added to it goes to its place.

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/rtl/Object.h"

class TStrings {
 public:
  TStrings() = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  // Line i (0 <= i < Count()); out of range raises EListError-like Exception.
  const std::string& Strings(int i) const;
  const std::string& operator[](int i) const { return Strings(i); }
  void SetString(int i, std::string s);
  TObject* Objects(int i) const;
  void SetObject(int i, TObject* o);

  // Appends (or, when sorted, inserts at its place) and answers the line's index.
  int Add(std::string s) { return AddObject(std::move(s), nullptr); }
  int AddObject(std::string s, TObject* o);
  void Insert(int i, std::string s, TObject* o = nullptr);
  void Delete(int i);
  void Clear();
  // Index of the first line equal to s (ignoring case, as the original lists compare), or -1.
  int IndexOf(const std::string& s) const;
  int IndexOfObject(const TObject* o) const;
  // Replaces every line at once; a sorted list sorts them (stably) in one go.  Use this to
  // fill long lists: it costs one sort instead of one insertion per line.
  void Assign(std::vector<std::pair<std::string, TObject*>> lines);
  void SetTexts(std::initializer_list<const char*> lines);
  std::vector<std::string> Texts() const;

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);

  // Changes made between BeginUpdate and the matching EndUpdate notify once, at the end.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();

  // Raised after every change (or once after an update block); the owning control listens.
  std::function<void()> OnChange;

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };
  void Changed();
  void CheckIndex(int i) const;
  int SortedPosition(const std::string& s) const;

  std::vector<Item> items_;
  bool sorted_ = false;
  int updating_ = 0;
  bool changedWhileUpdating_ = false;
};
