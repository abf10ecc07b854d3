#pragma once
// A control's font as the original library describes it: a face name asked for by name
// (fontconfig substitutes), a height in pixels (negative: character height without the
// internal leading; positive: cell height), bold/italic, colour and character set.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/gdi/Color.h"

enum class TFontCharset : uint8_t { ANSI_CHARSET = 0, DEFAULT_CHARSET = 1 };

class TFont {
 public:
  const std::string& Name() const { return name_; }
  void SetName(std::string value);
  int Height() const { return height_; }
  void SetHeight(int value);
  // Point size at the screen's resolution, from the height.
  int Size() const;
  void SetSize(int points);
  bool Bold() const { return bold_; }
  void SetBold(bool value);
  bool Italic() const { return italic_; }
  void SetItalic(bool value);
  gdi::COLORREF Color() const { return color_; }
  void SetColor(gdi::COLORREF value);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset value) { charset_ = value; }

  void Assign(const TFont& other);
  friend bool operator==(const TFont& a, const TFont& b) {
    return a.name_ == b.name_ && a.height_ == b.height_ && a.bold_ == b.bold_ && a.italic_ == b.italic_ &&
           a.color_ == b.color_ && a.charset_ == b.charset_;
  }

  // Raised after each change; the owning control applies the font.
  std::function<void()> OnChange;

 private:
  void Changed() {
    if (OnChange) OnChange();
  }
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  bool bold_ = false;
  bool italic_ = false;
  gdi::COLORREF color_ = gdi::kBlack;
  TFontCharset charset_ = TFontCharset::DEFAULT_CHARSET;
};
