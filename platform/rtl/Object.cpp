#include "platform/rtl/Object.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"

void TPersistent::CopyFrom(const TPersistent& source) { source.CopyTo(*this); }

void TPersistent::CopyTo(TPersistent& target) const {
  throw EConvertError(rtl::Format(msg::SAssignError, ClassName().c_str(), target.ClassName().c_str()));
}
