#include "jpeg/JpegModule.h"

#include "jpeg/JPEGImage.h"
#include "picture/FileFormatsList.h"
#include "platform/rtl/Messages.h"

void StartJpegModule() {
  InitJpegSettings();
  RegisterFormat("jpeg", msg::SJPEGImageFile, TJPEGImage::StaticClass());
  RegisterFormat("jpg", msg::SJPEGImageFile, TJPEGImage::StaticClass());
}

void StopJpegModule() { UnregisterGraphicKind(TJPEGImage::StaticClass()); }

TJpegModule::TJpegModule() { StartJpegModule(); }
TJpegModule::~TJpegModule() { StopJpegModule(); }
