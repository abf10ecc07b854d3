#include "platform/win/WorkingFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "platform/win/InOutError.h"

namespace win {

namespace {
struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};
}  // namespace

std::string GetCurrentDir() {
  std::unique_ptr<char, FreeDeleter> cwd(getcwd(nullptr, 0));
  if (!cwd) throw InOutErrorFromErrno(errno);
  return std::string(cwd.get());
}

void ChangeDir(const std::string& path) {
  if (path.empty()) throw InOutErrorFromErrno(ENOENT);
  if (chdir(path.c_str()) != 0) throw InOutErrorFromErrno(errno);
}

bool DirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace win
