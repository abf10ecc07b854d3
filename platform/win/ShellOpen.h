#pragma once
// Opening a document with the program that the desktop associates with its type.

#include <string>
#include <vector>

namespace win {

// The MIME type of the file (by its name and content) followed by that type's aliases.
std::vector<std::string> DocumentTypes(const std::string& FileName);

// Whether a desktop application declares one of the given MIME types: a .desktop entry under
// the "applications" folder of $XDG_DATA_HOME or of one of $XDG_DATA_DIRS that lists it in its
// MimeType key and is not hidden, or a default or added association of a mimeapps.list that
// names an existing entry.
bool HasAssociatedApplication(const std::vector<std::string>& MimeTypes);

// Asks the desktop to open the document with its associated program and does not wait for
// it.  Answers false (the shell's refusal) when no program is associated with the file's
// type or when the desktop cannot start one.
bool ShellOpenDocument(const std::string& FileName);

}  // namespace win
