#include "browser/FileLines.h"

#include "platform/rtl/Format.h"

bool IsExecutableName(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string ext = rtl::LowerCase(name.substr(dot));
  return ext == ".exe" || ext == ".com" || ext == ".bat" || ext == ".pif";
}

std::vector<TFileLine> CollectFileLines(const std::vector<win::TFolderEntry>& entries, const TFileMask& mask,
                                        int attributeFilter) {
  std::vector<const win::TFolderEntry*> listed;
  listed.reserve(entries.size());
  for (const win::TFolderEntry& e : entries)
    if (win::PassesAttributeFilter(e, attributeFilter)) listed.push_back(&e);

  std::vector<TFileLine> lines;
  for (int p = 0; p < mask.Count(); ++p) {
    for (const win::TFolderEntry* e : listed) {
      if (!mask.Matches(p, e->Name)) continue;
      if (e->Kind == win::TEntryKind::Directory)
        lines.push_back({"[" + e->Name + "]", TFileGlyphKind::Folder});
      else
        lines.push_back({e->Name, IsExecutableName(e->Name) ? TFileGlyphKind::Executable : TFileGlyphKind::Unknown});
    }
  }
  return lines;
}
