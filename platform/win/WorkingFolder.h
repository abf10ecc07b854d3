#pragma once
// The process's working folder, which the folder browser follows.

#include <string>

namespace win {

// The working folder as the system resolves it (no symbolic links, no trailing "/"
// except for the root).
std::string GetCurrentDir();

// Changes the working folder; a refusal raises EInOutError (see InOutError.h).
void ChangeDir(const std::string& path);

bool DirectoryExists(const std::string& path);

}  // namespace win
