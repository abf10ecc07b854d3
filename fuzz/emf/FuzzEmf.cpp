// Enhanced-metafile handles and playback on untrusted bytes: the header check, the palette
// of the end record and every record the player knows, drawn onto a small surface.

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/gdi/EnhMetaFile.h"
#include "platform/rtl/Exceptions.h"

namespace {

// Text needs the application's font database.
void EnsureApplication() {
  static std::unique_ptr<QGuiApplication> app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_emf";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
  }();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  EnsureApplication();
  try {
    const gdi::HENHMETAFILE emf = gdi::SetEnhMetaFileBits(std::span<const uint8_t>(data, size));
    if (!emf) return 0;
    (void)gdi::GetEnhMetaFilePaletteEntries(emf);
    auto surface = gdi::Dib::Create(gdi::DibHeader{96, -64, 1, 32});
    gdi::TCanvas canvas(*surface);
    gdi::PlayEnhMetaFile(canvas, emf, TRect{0, 0, 95, 63});
  } catch (const Exception&) {
  }
  return 0;
}
