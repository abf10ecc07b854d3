#pragma once
// How libjpeg's failures become the program's exceptions without a C++ exception ever
// crossing the library's C frames: the library (and every callback it calls) leaves by
// longjmp to a small boundary, and the exception is raised once the boundary has returned.

#include <csetjmp>
#include <cstdio>
#include <exception>

#include <jpeglib.h>

#include "platform/rtl/Exceptions.h"

// "Erreur JPEG #%d" with the installed library's message code.
class EJPEG : public EInvalidGraphic {
 public:
  explicit EJPEG(int code);
  int Code() const { return code_; }

 private:
  int code_;
};

// The error manager of one decompressor: the library's record (a copy of the template),
// where to leave to, and what a callback raised on the way.
struct JpegErrorState {
  jpeg_error_mgr Manager;
  std::jmp_buf Jump;
  bool Armed = false;
  std::exception_ptr Pending;

  JpegErrorState();
  JpegErrorState(const JpegErrorState&) = delete;
  JpegErrorState& operator=(const JpegErrorState&) = delete;

  // Raises what ended the last guarded step: the kept exception, else EJPEG(msg_code).
  [[noreturn]] void Raise();
};

// The template every decompressor's error manager is copied from: error_exit leaves through
// the boundary, warnings and traces are dropped, no message text is ever formatted.
extern const jpeg_error_mgr JpegErrorManager;

// error_exit: never returns.
[[noreturn]] void RaiseJpegError(j_common_ptr cinfo);

// For callbacks the library calls (data source, progress monitor): inside their catch block,
// keep what was raised; then, outside it, leave the library through RaiseJpegError.
void KeepCurrentException(j_common_ptr cinfo) noexcept;

namespace jpegdetail {
// Runs step(arg); answers false when the library left by longjmp.  Nothing in this frame
// owns anything, so the jump skips no destructor.
bool RunGuarded(JpegErrorState& state, void (*step)(void*), void* arg);
}  // namespace jpegdetail

// Runs f, a step that calls the library, inside the boundary; when the library fails, raises
// the failure here, after the jump.  f must not create objects with destructors.
template <class F>
void JpegGuarded(JpegErrorState& state, F&& f) {
  auto run = [](void* p) { (*static_cast<std::remove_reference_t<F>*>(p))(); };
  if (!jpegdetail::RunGuarded(state, run, &f)) state.Raise();
}
