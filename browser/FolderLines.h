#pragma once
// The lines of the folder list for one current folder: the volume's root, each ancestor,
// the current folder, then its subfolders sorted ignoring case; where each line's glyph
// goes, and which folder each line stands for.

#include <string>
#include <string_view>
#include <vector>

enum class TFolderLineKind { Ancestor, Current, Subfolder };

struct TFolderLine {
  std::string Text;
  TFolderLineKind Kind;
};

class TFolderLines {
 public:
  // folder: an absolute path without a trailing "/" (but "/" itself); root: the mount
  // point of the volume that holds it.  The subfolder names come in any order.
  void Build(const std::string& folder, const std::string& root, std::vector<std::string> subfolders);

  const std::vector<TFolderLine>& Lines() const { return lines_; }
  int Count() const { return static_cast<int>(lines_.size()); }
  const std::string& Folder() const { return folder_; }
  const std::string& Root() const { return root_; }
  // The current folder's line.
  int CurrentIndex() const { return current_; }
  // Separators between the root and the current folder, counting the root's own (1 at
  // the root): the indent step of the subfolder lines.
  int Depth() const { return depth_; }

  // Left edge of a line's glyph: 4 x i + 2 for the path lines, 4 x d + 6 for subfolders.
  int GlyphLeft(int index) const;
  // The folder a line stands for; "" outside the lines.
  std::string PathOf(int index) const;

 private:
  std::string folder_;
  std::string root_;
  std::vector<TFolderLine> lines_;
  int current_ = -1;
  int depth_ = 1;
};

// A folder joined with a name by one "/" (none added after a root that ends in "/").
std::string JoinPath(std::string_view folder, std::string_view name);

// Whether two paths name the same folder: exactly, or ignoring case when the volume
// does not tell case apart.
bool SamePath(std::string_view a, std::string_view b, bool caseSensitive);
