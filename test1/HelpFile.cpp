#include "test1/HelpFile.h"

#include <filesystem>
#include <system_error>

std::string HelpFileFor(const std::string& ProgramPath) {
  const size_t nameStart = ProgramPath.find_last_of('/') == std::string::npos ? 0 : ProgramPath.find_last_of('/') + 1;
  const size_t dot = ProgramPath.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && dot >= nameStart;
  return (hasExtension ? ProgramPath.substr(0, dot) : ProgramPath) + ".chm";
}

bool HelpFileExists(const std::string& Path) {
  std::error_code error;
  // A folder of that name does not count; a link counts by what it points to.
  const auto status = std::filesystem::status(Path, error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}
