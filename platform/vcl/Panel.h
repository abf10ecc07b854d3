#pragma once
// A panel: a container with a caption, an outer and an inner bevel and an optional border.
// A single-line border takes 2 pixels a side out of the client area (a sunken 3-D edge);
// each bevel other than none insets the docking rectangle by BevelWidth.

#include "platform/vcl/WinControl.h"

enum class TPanelBevel : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum class TBorderStyle : uint8_t { bsNone, bsSingle };

class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* AOwner);
  std::string ClassName() const override { return "TPanel"; }

  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);

  int BorderInset() const override { return borderStyle_ == TBorderStyle::bsSingle ? 2 : 0; }
  TRect AlignRect() const override;

 private:
  TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
  TPanelBevel bevelInner_ = TPanelBevel::bvNone;
  int bevelWidth_ = 1;
  TBorderStyle borderStyle_ = TBorderStyle::bsNone;
};
