// Scaffold: replaced by the bitmap reader and pixel surface.
#include "picture/Bitmap.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

struct TBitmap::Impl {};

MIRELUNE_DEFINE_GRAPHIC_KIND(TBitmap, TGraphic)

const char* PixelFormatName(TPixelFormat) { return "Device"; }
TBitmap::TBitmap() : impl_(std::make_unique<Impl>()) {}
TBitmap::~TBitmap() = default;
void TBitmap::CopyFrom(const TPersistent& Source) { TGraphic::CopyFrom(Source); }
void TBitmap::NotifyChanged(TObject* Sender) { TGraphic::NotifyChanged(Sender); }
void TBitmap::Render(gdi::TCanvas&, const TRect&) {}
bool TBitmap::IsEmpty() { return true; }
int32_t TBitmap::Width() { return 0; }
int32_t TBitmap::Height() { return 0; }
void TBitmap::SetWidth(int32_t) {}
void TBitmap::SetHeight(int32_t) {}
gdi::HPALETTE TBitmap::Palette() { return nullptr; }
void TBitmap::SetPalette(gdi::HPALETTE) {}
void TBitmap::LoadStream(TStream&) { throw EInvalidGraphic(msg::SInvalidBitmap); }
void TBitmap::SaveStream(TStream&) {}
void TBitmap::ReadStoredData(TStream& Stream) { LoadStream(Stream); }
void TBitmap::WriteStoredData(TStream&) {}
TPixelFormat TBitmap::PixelFormat() const { return TPixelFormat::Device; }
void TBitmap::SetPixelFormat(TPixelFormat) {}
uint8_t* TBitmap::ScanRow(int32_t) { throw EInvalidGraphicOperation(msg::SScanLine); }
void TBitmap::Clear() {}
const gdi::Dib* TBitmap::Store() const { return nullptr; }
gdi::COLORREF TBitmap::TransparentColor() { return gdi::kWhite; }
