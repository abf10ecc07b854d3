#include "platform/rtl/Exceptions.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"

EReadError::EReadError() : EStreamError(msg::SReadError) {}

EFOpenError EFOpenError::ForFile(const std::string& fileName) {
  return EFOpenError(rtl::Format(msg::SFOpenError, fileName.c_str()));
}

EOutOfResources::EOutOfResources() : EOutOfMemory(msg::SOutOfResources) {}
