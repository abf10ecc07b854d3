#include "jpeg/JpegProgress.h"

#include <string>

#include "jpeg/JPEGImage.h"
#include "jpeg/JpegErrors.h"
#include "platform/rtl/TickCount.h"

ProgressStepResult ProgressStep(j_common_ptr Common, ProgressRecord& Record, uint32_t Now) {
  ProgressStepResult out;
  // The first call only starts the clock.  (Tested on the record rather than through the
  // 500 ms filter, so that a tick count past 2^31 does not hold every report back.)
  if (Record.LastTick == 0) {
    Record.LastTick = Now;
    return out;
  }
  if (static_cast<int32_t>(Now - Record.LastTick) < 500) return out;
  Record.LastTick = Now;

  uint32_t scanline = 0;
  if (Common->is_decompressor) {
    const auto* d = reinterpret_cast<const jpeg_decompress_struct*>(Common);
    scanline = d->output_scanline;
    out.R = TRect{0, static_cast<int32_t>(Record.LastScanline), static_cast<int32_t>(d->output_width),
                  static_cast<int32_t>(d->output_scanline)};
    // A new output pass has begun at the top: the band runs to the bottom.
    if (d->output_scanline < Record.LastScanline) out.R.Bottom = static_cast<int32_t>(d->output_height);
  }

  const jpeg_progress_mgr& m = Record.Manager;
  if (m.pass_limit <= 0 || m.total_passes <= 0) return out;
  const double done = (static_cast<double>(m.pass_counter) / static_cast<double>(m.pass_limit) +
                       static_cast<double>(m.completed_passes)) * 100.0 / static_cast<double>(m.total_passes);
  int32_t percent = static_cast<int32_t>(done);
  if (percent < 0) percent = 0;
  if (percent > 100) percent = 100;
  if (percent == Record.LastPercent) return out;

  Record.LastPercent = percent;
  if (Common->is_decompressor) Record.LastScanline = scanline;
  out.Report = true;
  out.Percent = static_cast<uint8_t>(percent);
  out.RedrawNow = out.R.Bottom - out.R.Top >= 4;
  return out;
}

void ProgressHook(j_common_ptr Common) {
  if (!Common->progress) return;
  auto& record = *reinterpret_cast<ProgressRecord*>(Common->progress);
  if (!record.Instance) return;
  const ProgressStepResult step = ProgressStep(Common, record, rtl::GetTickCount());
  if (!step.Report) return;
  bool failed = false;
  try {
    record.Instance->ReportProgress(record.Instance, TProgressStage::Running, step.Percent, step.RedrawNow, step.R,
                                    std::string());
  } catch (...) {
    KeepCurrentException(Common);
    failed = true;
  }
  if (failed) RaiseJpegError(Common);
}
