#pragma once
// Reading a folder's entries, with the attribute notions of the original system mapped to
// Linux: hidden is a name starting with "."; there are no system or volume-label entries.

#include <string>
#include <string_view>
#include <vector>

namespace win {

// Attribute bits of the original system's file search.
constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;
constexpr int faSysFile = 0x04;
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;

// What an entry is once symbolic links are followed.  Other covers sockets, pipes,
// devices and links that lead nowhere: none of them can be opened as a picture or
// entered as a folder.
enum class TEntryKind { File, Directory, Other };

struct TFolderEntry {
  std::string Name;
  TEntryKind Kind = TEntryKind::Other;
};

bool IsHiddenName(std::string_view name);

// The attribute bits of an entry that the search filters on (hidden, folder).
int SearchAttributes(const TFolderEntry& entry);

// Whether the search lists an entry under a filter: every hidden, system, volume-label or
// folder bit the entry has must be named by the filter.  Entries of kind Other are never
// listed.
bool PassesAttributeFilter(const TFolderEntry& entry, int filter);

// Appends every entry of a folder except "." and ".." to out, in the order the system
// gives them.  Answers 0, or the errno of the refusal (out is then left as it was).
int ReadFolder(const std::string& path, std::vector<TFolderEntry>& out);

}  // namespace win
