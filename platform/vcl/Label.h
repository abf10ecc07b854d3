#pragma once
// A text label.  Lines break at the line breaks of the caption; with WordWrap also at
// blanks.  AutoSize fits the label to its text.

#include "platform/vcl/Control.h"

enum class TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* AOwner);
  std::string ClassName() const override { return "TLabel"; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

 protected:
  void CaptionChanged() override;
  void FontChanged() override;

 private:
  void ApplyText();
  void AdjustSize();

  TAlignment alignment_ = TAlignment::taLeftJustify;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
};
