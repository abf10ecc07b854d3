#include "platform/win/FileSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace win {

namespace {

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

bool IsDotOrDotDot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

TEntryKind KindFromMode(mode_t mode) {
  if (S_ISREG(mode)) return TEntryKind::File;
  if (S_ISDIR(mode)) return TEntryKind::Directory;
  return TEntryKind::Other;
}

// The type the folder already tells is used as it is; only links and file systems that
// do not tell cost a stat.
TEntryKind KindOf(int dirFd, const dirent& e) {
  switch (e.d_type) {
    case DT_REG: return TEntryKind::File;
    case DT_DIR: return TEntryKind::Directory;
    case DT_LNK:
    case DT_UNKNOWN: {
      struct stat st {};
      if (fstatat(dirFd, e.d_name, &st, 0) != 0) return TEntryKind::Other;
      return KindFromMode(st.st_mode);
    }
    default: return TEntryKind::Other;
  }
}

}  // namespace

bool IsHiddenName(std::string_view name) { return !name.empty() && name.front() == '.'; }

int SearchAttributes(const TFolderEntry& entry) {
  int attrs = 0;
  if (IsHiddenName(entry.Name)) attrs |= faHidden;
  if (entry.Kind == TEntryKind::Directory) attrs |= faDirectory;
  return attrs;
}

bool PassesAttributeFilter(const TFolderEntry& entry, int filter) {
  if (entry.Kind == TEntryKind::Other) return false;
  constexpr int kSpecial = faHidden | faSysFile | faVolumeID | faDirectory;
  const int special = SearchAttributes(entry) & kSpecial;
  return (special & ~filter) == 0;
}

int ReadFolder(const std::string& path, std::vector<TFolderEntry>& out) {
  std::unique_ptr<DIR, DirCloser> dir(opendir(path.c_str()));
  if (!dir) return errno;
  const int fd = dirfd(dir.get());
  const size_t before = out.size();
  errno = 0;
  while (const dirent* e = readdir(dir.get())) {
    if (!IsDotOrDotDot(e->d_name)) out.push_back(TFolderEntry{e->d_name, KindOf(fd, *e)});
    errno = 0;
  }
  if (errno != 0) {
    const int err = errno;
    out.resize(before);
    return err;
  }
  return 0;
}

}  // namespace win
