#include "platform/win/ModuleFileName.h"

#include <filesystem>
#include <system_error>

namespace win {
namespace {

std::string& PathOverride() {
  static std::string path;
  return path;
}

}  // namespace

std::string ModuleFileName() {
  if (!PathOverride().empty()) return PathOverride();
  std::error_code error;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

void SetModuleFileNameForTesting(std::string Path) { PathOverride() = std::move(Path); }

}  // namespace win
