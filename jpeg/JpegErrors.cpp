#include "jpeg/JpegErrors.h"

#include <cstdlib>
#include <utility>

#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"

EJPEG::EJPEG(int code) : EInvalidGraphic(rtl::Format(msg::SJPEGError, code)), code_(code) {}

namespace {

JpegErrorState& StateOf(j_common_ptr cinfo) {
  // The library's record is the first member of the state.
  return *reinterpret_cast<JpegErrorState*>(cinfo->err);
}

void DropMessage(j_common_ptr, int) {}
void DropOutput(j_common_ptr) {}
void NoFormat(j_common_ptr, char* buffer) { buffer[0] = '\0'; }
void ResetErrorManager(j_common_ptr cinfo) {
  cinfo->err->num_warnings = 0;
  cinfo->err->msg_code = 0;
}

jpeg_error_mgr MakeTemplate() {
  jpeg_error_mgr t{};
  t.error_exit = RaiseJpegError;
  t.emit_message = DropMessage;
  t.output_message = DropOutput;
  t.format_message = NoFormat;
  t.reset_error_mgr = ResetErrorManager;
  return t;
}

}  // namespace

static_assert(std::is_standard_layout_v<JpegErrorState>);

const jpeg_error_mgr JpegErrorManager = MakeTemplate();

JpegErrorState::JpegErrorState() : Manager(JpegErrorManager), Jump{} {}

void JpegErrorState::Raise() {
  if (Pending) std::rethrow_exception(std::exchange(Pending, nullptr));
  throw EJPEG(Manager.msg_code);
}

void RaiseJpegError(j_common_ptr cinfo) {
  JpegErrorState& state = StateOf(cinfo);
  // A library call outside any boundary is a programming error: never unwind through C.
  if (!state.Armed) std::abort();
  state.Armed = false;
  std::longjmp(state.Jump, 1);
}

void KeepCurrentException(j_common_ptr cinfo) noexcept { StateOf(cinfo).Pending = std::current_exception(); }

namespace jpegdetail {

bool RunGuarded(JpegErrorState& state, void (*step)(void*), void* arg) {
  state.Armed = true;
  if (setjmp(state.Jump) != 0) return false;
  step(arg);
  state.Armed = false;
  return true;
}

}  // namespace jpegdetail
