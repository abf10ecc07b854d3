#pragma once
// Gives a test program a configuration folder of its own for its whole run: the main window
// reads and writes its settings file there, never in the user's folder, and no run sees what
// an earlier one saved.  The folder is removed at the end.

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

class PrivateConfigFolder {
 public:
  PrivateConfigFolder() {
    std::string pattern = "/tmp/mirelune-test-config-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) return;
    path_ = std::move(pattern);
    ::setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
  }
  ~PrivateConfigFolder() {
    if (path_.empty()) return;
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  PrivateConfigFolder(const PrivateConfigFolder&) = delete;
  PrivateConfigFolder& operator=(const PrivateConfigFolder&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};
