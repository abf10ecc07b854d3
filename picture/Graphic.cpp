#include "picture/Graphic.h"

#include <cstdio>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"

const TGraphicClass& TGraphic::StaticClass() {
  static const TGraphicClass kind{"TGraphic", nullptr, nullptr};
  return kind;
}

void TGraphic::NotifyChanged(TObject*) {
  if (OnChange) OnChange(this);
}

bool TGraphic::SameAs(TGraphic* Other) {
  if (!Other) return false;
  const bool emptyA = IsEmpty(), emptyB = Other->IsEmpty();
  if (emptyA && emptyB) return true;
  if (emptyA || emptyB) return false;
  if (&ClassType() != &Other->ClassType()) return false;
  TMemoryStream a, b;
  WriteStoredData(a);
  Other->WriteStoredData(b);
  return a.Bytes() == b.Bytes();
}

void TGraphic::SetTransparent(bool Value) {
  if (Value != transparent_) {
    transparent_ = Value;
    NotifyChanged(this);
  }
}

void TGraphic::LoadFile(const std::string& FileName) {
  TFileStream stream(FileName);
  LoadStream(stream);
}

void TGraphic::SaveFile(const std::string& FileName) {
  TMemoryStream data;
  SaveStream(data);
  std::FILE* f = std::fopen(FileName.c_str(), "wb");
  if (!f) throw EFCreateError(rtl::Format(msg::SFCreateError, FileName.c_str()));
  const size_t n = data.Bytes().empty() ? 0 : std::fwrite(data.Memory(), 1, data.Bytes().size(), f);
  const bool ok = std::fclose(f) == 0 && n == data.Bytes().size();
  if (!ok) throw EWriteError(msg::SWriteError);
}

void TGraphic::ReportProgress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                              const TRect& R, const std::string& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}
