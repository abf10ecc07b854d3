#pragma once
// Refused file-system operations as the input and output errors of the runtime library:
// the system's errno is turned into the original system's error code, and the code into
// its French message.

#include <string>

#include "platform/rtl/Exceptions.h"

namespace win {

// The code of the original system for an errno, or 0 when there is no such code (the
// errno is then reported as it is).
int IoCodeFromErrno(int err);

// The message of an input and output error code: the texts of the code table, or
// "Erreur E/S %d" with the code for any other.
std::string InOutErrorMessage(int code);

// The error for a refused operation whose errno is err.  A mapped errno carries its code
// and that code's message; any other errno carries "Erreur E/S <errno>", never the text
// that a code of the same number would have.
EInOutError InOutErrorFromErrno(int err);

}  // namespace win
