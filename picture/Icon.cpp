// Scaffold: replaced by the icon reader.
#include "picture/Icon.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Messages.h"

struct TIcon::Impl {};

MIRELUNE_DEFINE_GRAPHIC_KIND(TIcon, TGraphic)

TIcon::TIcon() : impl_(std::make_unique<Impl>()) { transparent_ = true; }
TIcon::~TIcon() = default;
void TIcon::Render(gdi::TCanvas&, const TRect&) {}
bool TIcon::IsEmpty() { return true; }
int32_t TIcon::Width() { return 0; }
int32_t TIcon::Height() { return 0; }
void TIcon::SetWidth(int32_t) {}
void TIcon::SetHeight(int32_t) {}
void TIcon::LoadStream(TStream&) { throw EInvalidGraphic(msg::SInvalidIcon); }
void TIcon::SaveStream(TStream&) {}
