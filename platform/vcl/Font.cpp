#include "platform/vcl/Font.h"

#include "platform/gdi/DeviceCaps.h"

void TFont::SetName(std::string value) {
  if (value == name_) return;
  name_ = std::move(value);
  Changed();
}

void TFont::SetHeight(int value) {
  if (value == height_) return;
  height_ = value;
  Changed();
}

int TFont::Size() const {
  const int ppi = gdi::ScreenLogPixelsY();
  const int h = height_ < 0 ? -height_ : height_;
  return (h * 72 + ppi / 2) / ppi;
}

void TFont::SetSize(int points) { SetHeight(-((points * gdi::ScreenLogPixelsY() + 36) / 72)); }

void TFont::SetBold(bool value) {
  if (value == bold_) return;
  bold_ = value;
  Changed();
}

void TFont::SetItalic(bool value) {
  if (value == italic_) return;
  italic_ = value;
  Changed();
}

void TFont::SetColor(gdi::COLORREF value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TFont::Assign(const TFont& other) {
  if (*this == other) return;
  name_ = other.name_;
  height_ = other.height_;
  bold_ = other.bold_;
  italic_ = other.italic_;
  color_ = other.color_;
  charset_ = other.charset_;
  Changed();
}
