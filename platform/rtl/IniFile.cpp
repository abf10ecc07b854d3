#include "platform/rtl/IniFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"

namespace {

// Owns one file descriptor.
class FileHandle {
 public:
  explicit FileHandle(int fd = -1) : fd_(fd) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded (a late write error shows here).
  bool Close() {
    if (fd_ < 0) return true;
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0;
  }

 private:
  int fd_;
};

// A temporary file that is removed unless it was renamed into place.
class TempFile {
 public:
  explicit TempFile(const std::string& folder, const std::string& baseName)
      : path_(folder + "/." + baseName + ".XXXXXX"), fd_(::mkostemp(path_.data(), O_CLOEXEC)) {
    if (!fd_.Valid()) path_.clear();
  }
  ~TempFile() {
    fd_.Close();
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  bool Valid() const { return fd_.Valid(); }
  int Handle() const { return fd_.Get(); }
  bool Close() { return fd_.Close(); }
  bool RenameTo(const std::string& target) {
    if (::rename(path_.c_str(), target.c_str()) != 0) return false;
    path_.clear();
    return true;
  }

 private:
  std::string path_;
  FileHandle fd_;
};

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The whole file, nothing when it does not exist, or an error when it exists but cannot be
// read (a write must then not replace it).
struct FileContent {
  bool readable = true;
  std::string bytes;
};

FileContent ReadWhole(const std::string& path) {
  FileContent out;
  FileHandle fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.Valid()) {
    out.readable = errno == ENOENT;
    return out;
  }
  char buffer[16384];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      out.readable = false;
      return out;
    }
    if (n == 0) break;
    out.bytes.append(buffer, static_cast<size_t>(n));
  }
  return out;
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Creates the folder and its missing parents (private to the user, as a configuration
// folder should be).
bool MakeFolders(const std::string& folder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::string parent = FolderOf(folder);
  if (parent != folder && !MakeFolders(parent)) return false;
  return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// The permissions a newly created file gets: 0666 less the process's umask, read without
// changing it.
mode_t NewFileMode() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0) {
      return static_cast<mode_t>(0666 & ~std::strtol(line.c_str() + 6, nullptr, 8));
    }
  }
  return 0644;
}

bool HoldsLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::string TIniFile::WindowsDirectory() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') return xdg;
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* pw = ::getpwuid(::getuid());
    home = (pw != nullptr && pw->pw_dir != nullptr) ? pw->pw_dir : "/tmp";
  }
  return std::string(home) + "/.config";
}

TIniFile::TIniFile(std::string fileName) : fileName_(std::move(fileName)) {
  path_ = fileName_.find('/') == std::string::npos ? WindowsDirectory() + "/" + fileName_ : fileName_;
}

TIniFile::~TIniFile() { UpdateFile(); }

void TIniFile::Refuse() const { throw EIniFileException(rtl::Format(msg::SIniFileWriteError, fileName_.c_str())); }

rtl::TIniText TIniFile::Load() const { return rtl::TIniText(ReadWhole(path_).bytes); }

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  if (auto v = Load().Find(section, key)) return std::move(*v);
  return std::string(defaultValue);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t defaultValue) const {
  return rtl::IniStrToInt(ReadString(section, key, "")).value_or(defaultValue);
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // Names and values that would change the file's structure are refused, not written.
  if (rtl::Trim(key).empty() || HoldsLineBreak(section) || HoldsLineBreak(key) || HoldsLineBreak(value) ||
      key.find('=') != std::string_view::npos || section.find(']') != std::string_view::npos) {
    Refuse();
  }

  // Write through a symbolic link to the file it names, and keep the link.
  std::string target = path_;
  struct stat st {};
  if (::lstat(path_.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path_.c_str(), resolved) == nullptr) Refuse();
    target = resolved;
  }
  const std::string folder = FolderOf(target);
  if (!MakeFolders(folder)) Refuse();

  FileHandle folderFd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!folderFd.Valid()) Refuse();
  // Serialises the read-change-replace of copies of the program; released with folderFd.
  while (::flock(folderFd.Get(), LOCK_EX) != 0 && errno == EINTR) {
  }

  std::optional<struct stat> existing;
  if (::stat(target.c_str(), &st) == 0) {
    // A read-only file refuses writes, also to a user whom the system would let through.
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) Refuse();
    existing = st;
  }
  const FileContent old = ReadWhole(target);
  if (!old.readable) Refuse();

  rtl::TIniText text(old.bytes);
  text.Set(section, key, value);
  const std::string bytes = text.Text();

  TempFile temp(folder, BaseNameOf(target));
  if (!temp.Valid()) Refuse();
  const mode_t mode = existing ? (existing->st_mode & 07777) : NewFileMode();
  if (!WriteAll(temp.Handle(), bytes) || ::fchmod(temp.Handle(), mode) != 0) Refuse();
  if (existing) {
    // Only a privileged user can give the file back to its owner; others own it already.
    [[maybe_unused]] const int ignored = ::fchown(temp.Handle(), existing->st_uid, existing->st_gid);
  }
  if (::fsync(temp.Handle()) != 0 || !temp.Close() || !temp.RenameTo(target)) Refuse();
  writtenFolder_ = folder;
}

void TIniFile::UpdateFile() {
  if (writtenFolder_.empty()) return;
  // The file's data was flushed before the rename; this commits the rename itself.
  FileHandle folderFd(::open(writtenFolder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.Valid()) ::fsync(folderFd.Get());
  writtenFolder_.clear();
}
