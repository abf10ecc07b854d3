#pragma once
// Temporary folder trees for tests that browse the file system, and guards for the
// process-wide state those tests change (the working folder, the effective user).

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

class TTempTree {
 public:
  TTempTree() {
    std::string templ = (std::filesystem::temp_directory_path() / "mirelune-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    // The resolved path, as the working folder will report it; readable by every user so
    // that an unprivileged check can reach inside.
    root_ = std::filesystem::canonical(templ).string();
    chmod(root_.c_str(), 0755);
  }
  ~TTempTree() {
    for (const std::string& p : locked_) chmod(p.c_str(), 0755);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  TTempTree(const TTempTree&) = delete;
  TTempTree& operator=(const TTempTree&) = delete;

  const std::string& Root() const { return root_; }
  std::string Path(std::string_view rel) const { return rel.empty() ? root_ : root_ + "/" + std::string(rel); }

  std::string MakeDir(std::string_view rel) {
    std::filesystem::create_directories(Path(rel));
    return Path(rel);
  }
  std::string MakeFile(std::string_view rel, std::string_view content = "x") {
    const std::string p = Path(rel);
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
  std::string MakeSymlink(const std::string& target, std::string_view rel) {
    std::filesystem::create_symlink(target, Path(rel));
    return Path(rel);
  }
  // Takes every permission away from a folder; given back before the tree is removed.
  void Lock(std::string_view rel) {
    locked_.push_back(Path(rel));
    chmod(locked_.back().c_str(), 0);
  }

 private:
  std::string root_;
  std::vector<std::string> locked_;
};

// Brings the working folder back at the end of a test.
class TWorkingFolderGuard {
 public:
  TWorkingFolderGuard() : saved_(std::filesystem::current_path()) {}
  ~TWorkingFolderGuard() {
    std::error_code ec;
    std::filesystem::current_path(saved_, ec);
  }

 private:
  std::filesystem::path saved_;
};

// While it lives, the process acts as the unprivileged user "nobody" when it runs as
// root, so that permissions are enforced.  Active() is false when that could not be done.
class TUnprivileged {
 public:
  TUnprivileged() {
    if (geteuid() != 0) {
      active_ = true;
      return;
    }
    active_ = seteuid(kNobody) == 0;
    dropped_ = active_;
  }
  ~TUnprivileged() {
    if (dropped_ && seteuid(0) != 0) std::abort();
  }
  TUnprivileged(const TUnprivileged&) = delete;
  TUnprivileged& operator=(const TUnprivileged&) = delete;
  bool Active() const { return active_; }

 private:
  static constexpr uid_t kNobody = 65534;
  bool active_ = false;
  bool dropped_ = false;
};

}  // namespace testing_support
