#pragma once
// Where the viewer's help file lies: beside the program, named after it.

#include <string>

// The program's path with its extension (from the last "." of the file-name part on)
// replaced by ".chm", or with ".chm" appended when the file name has no ".".
std::string HelpFileFor(const std::string& ProgramPath);

// Whether a file (not a folder) exists at the path.
bool HelpFileExists(const std::string& Path);
