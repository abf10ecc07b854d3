#include "browser/FolderLines.h"

#include <algorithm>

#include "platform/rtl/Format.h"

namespace {

std::vector<std::string> SplitAtSlash(std::string_view s) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= s.size()) {
    const size_t slash = s.find('/', start);
    const size_t end = slash == std::string_view::npos ? s.size() : slash;
    parts.emplace_back(s.substr(start, end - start));
    if (slash == std::string_view::npos) break;
    start = slash + 1;
  }
  return parts;
}

// The part of the folder below its root, starting with "/" ("/" at the root itself).
std::string_view RestBelowRoot(std::string_view folder, std::string_view root) {
  std::string_view rest = folder;
  if (root != "/" && rest.substr(0, root.size()) == root) rest.remove_prefix(root.size());
  if (rest.empty()) rest = "/";
  return rest;
}

}  // namespace

void TFolderLines::Build(const std::string& folder, const std::string& root, std::vector<std::string> subfolders) {
  folder_ = folder;
  root_ = root.empty() ? std::string("/") : root;
  lines_.clear();
  const std::string_view rest = RestBelowRoot(folder_, root_);
  if (rest == "/") {
    lines_.push_back({root_, TFolderLineKind::Current});
    depth_ = 1;
  } else {
    const std::vector<std::string> parts = SplitAtSlash(rest.substr(1));
    lines_.push_back({root_, TFolderLineKind::Ancestor});
    for (size_t i = 0; i + 1 < parts.size(); ++i) lines_.push_back({parts[i], TFolderLineKind::Ancestor});
    lines_.push_back({parts.back(), TFolderLineKind::Current});
    depth_ = static_cast<int>(std::count(rest.begin(), rest.end(), '/'));
  }
  current_ = static_cast<int>(lines_.size()) - 1;
  std::stable_sort(subfolders.begin(), subfolders.end(),
                   [](const std::string& a, const std::string& b) { return rtl::CompareText(a, b) < 0; });
  for (std::string& name : subfolders) lines_.push_back({std::move(name), TFolderLineKind::Subfolder});
}

int TFolderLines::GlyphLeft(int index) const {
  if (index > current_) return 4 * depth_ + 6;
  return 4 * index + 2;
}

std::string TFolderLines::PathOf(int index) const {
  if (index < 0 || index >= Count()) return {};
  if (index == 0) return root_;
  if (index == current_) return folder_;
  if (index > current_) return JoinPath(folder_, lines_[static_cast<size_t>(index)].Text);
  // An ancestor: the current folder cut before the separator that ends its name.
  const std::string_view rest = RestBelowRoot(folder_, root_);
  size_t cut = 0;
  for (int separators = 0; separators <= index; ++cut)
    if (rest[cut] == '/') ++separators;
  const std::string_view ancestor = rest.substr(0, cut - 1);
  return root_ == "/" ? std::string(ancestor) : root_ + std::string(ancestor);
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.empty() || path.back() != '/') path.push_back('/');
  path.append(name);
  return path;
}

bool SamePath(std::string_view a, std::string_view b, bool caseSensitive) {
  return caseSensitive ? a == b : rtl::SameText(a, b);
}
