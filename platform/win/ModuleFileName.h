#pragma once
// The full path of the running program's own file.

#include <string>

namespace win {

// The program's path as the system reports it for the running process (/proc/self/exe),
// or the path set by SetModuleFileNameForTesting.  Empty when the system cannot tell.
std::string ModuleFileName();

// A test hook: pretends the program lies at the given path (empty: the real path again).
void SetModuleFileNameForTesting(std::string Path);

}  // namespace win
