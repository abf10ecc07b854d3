#pragma once
// What the file list shows for a folder's entries under a mask: for each pattern in turn,
// every entry it matches that the attribute filter lets through, in the folder's order
// (the order in which the list receives them).  A file matched by two patterns comes
// twice.

#include <string>
#include <string_view>
#include <vector>

#include "browser/FileMask.h"
#include "platform/win/FileSearch.h"

enum class TFileGlyphKind { Executable, Folder, Unknown };

struct TFileLine {
  std::string Text;  // a file's name as stored; a folder's name in square brackets
  TFileGlyphKind Glyph;
};

std::vector<TFileLine> CollectFileLines(const std::vector<win::TFolderEntry>& entries, const TFileMask& mask,
                                        int attributeFilter);

// ".exe", ".com", ".bat" and ".pif", compared in lower case.
bool IsExecutableName(std::string_view name);
