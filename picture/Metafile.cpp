// Scaffold: replaced by the metafile reader.
#include "picture/Metafile.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

struct TMetafile::Impl {};

MIRELUNE_DEFINE_GRAPHIC_KIND(TMetafile, TGraphic)

TMetafile::TMetafile() : impl_(std::make_unique<Impl>()) { transparent_ = true; }
TMetafile::~TMetafile() = default;
void TMetafile::Render(gdi::TCanvas&, const TRect&) {}
bool TMetafile::IsEmpty() { return true; }
int32_t TMetafile::Width() { return 0; }
int32_t TMetafile::Height() { return 0; }
void TMetafile::SetWidth(int32_t) {}
void TMetafile::SetHeight(int32_t) {}
gdi::HPALETTE TMetafile::Palette() { return nullptr; }
void TMetafile::LoadStream(TStream&) { throw EInvalidGraphic(msg::SInvalidMetafile); }
void TMetafile::SaveStream(TStream&) {}
int32_t TMetafile::MMWidth() const { return 0; }
int32_t TMetafile::MMHeight() const { return 0; }
int32_t TMetafile::UnitsPerInch() const { return 0; }
