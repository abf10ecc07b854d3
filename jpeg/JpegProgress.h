#pragma once
// The progress monitor of a decoding: turns the library's pass counters into running
// reports, at most one every 500 ms and only when the whole percentage changed.

#include <cstdint>
#include <cstdio>

#include <jpeglib.h>

#include "platform/gdi/Color.h"

class TJPEGImage;

struct ProgressRecord {
  jpeg_progress_mgr Manager;
  TJPEGImage* Instance;
  int32_t LastPercent;
  uint32_t LastTick;
  uint32_t LastScanline;
};

// What the monitor decided at one call.
struct ProgressStepResult {
  bool Report = false;
  uint8_t Percent = 0;
  TRect R{};
  bool RedrawNow = false;
};

// The monitor's rules at tick Now, updating the record; answers whether to send a report.
ProgressStepResult ProgressStep(j_common_ptr Common, ProgressRecord& Record, uint32_t Now);

// The progress_monitor of every decoding: ProgressStep at the system tick, then the running
// report.  What a receiver raises (an EAbort that cancels, any other error) is kept and the
// library left through the error boundary.
void ProgressHook(j_common_ptr Common);
