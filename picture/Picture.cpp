#include "picture/Picture.h"

#include <cstring>

#include "picture/FileFormatsList.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"

std::string GraphicExtension(const std::string& FileName) {
  const size_t i = FileName.find_last_of("./:");
  if (i == std::string::npos || FileName[i] != '.') return {};
  return FileName.substr(i + 1);
}

TPicture::TPicture() { FormatRegistry(); }

TPicture::~TPicture() = default;

void TPicture::Hook(TGraphic& graphic) {
  graphic.OnChange = [this](TObject* sender) { Changed(sender); };
  graphic.OnProgress = [this](TObject* sender, TProgressStage stage, uint8_t percent, bool redraw, const TRect& r,
                              const std::string& m) { Progress(sender, stage, percent, redraw, r, m); };
}

void TPicture::TakeGraphic(std::unique_ptr<TGraphic> graphic) {
  graphic_ = std::move(graphic);
  if (graphic_) Hook(*graphic_);
  Changed(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
  std::unique_ptr<TGraphic> copy;
  if (Value) {
    copy = Value->ClassType().Create();
    copy->CopyFrom(*Value);
  }
  TakeGraphic(std::move(copy));
}

void TPicture::LoadFile(const std::string& FileName) {
  const std::string ext = GraphicExtension(FileName);
  const TGraphicClass* kind = FormatRegistry().FindByExt(ext);
  if (!kind) throw EInvalidGraphic(rtl::Format(msg::SUnknownExtension, ext.c_str()));
  std::unique_ptr<TGraphic> graphic = kind->Create();
  graphic->OnProgress = [this](TObject* sender, TProgressStage stage, uint8_t percent, bool redraw, const TRect& r,
                               const std::string& m) { Progress(sender, stage, percent, redraw, r, m); };
  graphic->LoadFile(FileName);  // on failure the new graphic is freed on the way out
  TakeGraphic(std::move(graphic));
}

int32_t TPicture::Width() const { return graphic_ ? graphic_->Width() : 0; }
int32_t TPicture::Height() const { return graphic_ ? graphic_->Height() : 0; }

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
                        const std::string& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

void TPicture::ReadData(TStream& Stream) {
  uint8_t n = 0;
  Stream.ReadBuffer(&n, 1);
  if (n > 63) throw EReadError();  // a class name is at most 63 characters
  std::string name(n, '\0');
  Stream.ReadBuffer(name.data(), n);
  std::unique_ptr<TGraphic> graphic;
  if (n > 0) {
    if (const TGraphicClass* kind = FormatRegistry().FindByClassName(name)) {
      graphic = kind->Create();
      graphic->ReadStoredData(Stream);
    }
  }
  TakeGraphic(std::move(graphic));
}

void TPicture::WriteData(TStream& Stream) const {
  const std::string name = graphic_ ? graphic_->ClassName() : std::string();
  const uint8_t n = static_cast<uint8_t>(name.size());
  Stream.WriteBuffer(&n, 1);
  Stream.WriteBuffer(name.data(), n);
  if (graphic_) graphic_->WriteStoredData(Stream);
}
