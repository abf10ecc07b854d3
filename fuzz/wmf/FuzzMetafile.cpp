// Reads bytes as a metafile file (placeable Windows metafile or enhanced metafile, told apart
// by content), which converts a Windows metafile's records twice, then takes its size and
// palette and plays it onto a small surface.
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "picture/Metafile.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"
#include "platform/rtl/Exceptions.h"

namespace {

// Text needs the application's font database.
void EnsureApplication() {
  static std::unique_ptr<QGuiApplication> app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_wmf";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
  }();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnsureApplication();
  TMetafile mf;
  try {
    TMemoryStream s(std::vector<uint8_t>(data, data + size));
    mf.LoadStream(s);
    (void)mf.Width();
    (void)mf.Height();
    (void)mf.Palette();
    auto surface = gdi::Dib::Create(gdi::DibHeader{80, -60, 1, 32});
    gdi::TCanvas canvas(*surface);
    mf.Render(canvas, Rect(0, 0, 80, 60));
  } catch (const Exception&) {
  }
  return 0;
}
