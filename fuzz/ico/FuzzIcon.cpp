// Reads bytes as an icon file and draws it, which builds the chosen image: the directory,
// the entries, the image data (device-independent or PNG) and the mask.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "picture/Icon.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TIcon icon;
  try {
    TMemoryStream s(std::vector<uint8_t>(data, data + size));
    icon.LoadStream(s);
    auto surface = gdi::Dib::Create(gdi::DibHeader{64, -48, 1, 32});
    gdi::TCanvas canvas(*surface);
    icon.Render(canvas, Rect(-5, -3, 64, 48));
    (void)icon.Width();
    (void)icon.Height();
  } catch (const Exception&) {
  }
  return 0;
}
