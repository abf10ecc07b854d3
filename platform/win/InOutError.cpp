#include "platform/win/InOutError.h"

#include <cerrno>

#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"

namespace win {

namespace {
constexpr int kPathNotFound = 3;
constexpr int kTooManyOpenFiles = 4;
constexpr int kAccessDenied = 5;
constexpr int kNotReady = 21;
constexpr int kDiskFull = 101;
}  // namespace

int IoCodeFromErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return kPathNotFound;
    case EACCES:
    case EPERM:
      return kAccessDenied;
    case EMFILE:
    case ENFILE:
      return kTooManyOpenFiles;
    case ENOSPC:
      return kDiskFull;
    case ENOMEDIUM:
      return kNotReady;
    default:
      return 0;
  }
}

std::string InOutErrorMessage(int code) {
  switch (code) {
    case 2: return msg::SFileNotFound;
    case 3: return msg::SInvalidFilename;
    case 4: return msg::STooManyOpenFiles;
    case 5: return msg::SAccessDenied;
    case 100: return msg::SEndOfFile;
    case 101: return msg::SDiskFull;
    case 106: return msg::SInvalidInput;
    default: return rtl::Format(msg::SInOutError, code);
  }
}

EInOutError InOutErrorFromErrno(int err) {
  const int code = IoCodeFromErrno(err);
  if (code != 0) return EInOutError(InOutErrorMessage(code), code);
  return EInOutError(rtl::Format(msg::SInOutError, err), err);
}

}  // namespace win
