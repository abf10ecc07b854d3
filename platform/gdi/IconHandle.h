#pragma once
// Icon handles: one image of one size, either a colour image with a 1-bit mask (drawn the
// way the original system draws icons: the screen ANDed with the mask, then XORed with the
// colour) or an image with an alpha channel (blended over the screen).

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdi/Canvas.h"

namespace gdi {

class IconImage {
 public:
  // color: width x height pixels 0xAARRGGBB, row 0 at the top; mask: one byte a pixel,
  // non-zero where the background stays (ignored when alpha is true).
  IconImage(int32_t width, int32_t height, std::vector<uint32_t> color, std::vector<uint8_t> mask, bool alpha)
      : width_(width), height_(height), color_(std::move(color)), mask_(std::move(mask)), alpha_(alpha) {}

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  bool HasAlpha() const { return alpha_; }
  uint32_t Color(int32_t x, int32_t y) const { return color_[Index(x, y)]; }
  bool Masked(int32_t x, int32_t y) const { return mask_[Index(x, y)] != 0; }

 private:
  size_t Index(int32_t x, int32_t y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }
  int32_t width_, height_;
  std::vector<uint32_t> color_;
  std::vector<uint8_t> mask_;
  bool alpha_;
};

using HICON = std::shared_ptr<const IconImage>;

// The largest icon side the program builds (the icon format's own limit is 256).
inline constexpr int32_t kMaxIconSide = 1024;

// None when the size is not in 1..kMaxIconSide or the buffers do not hold width x height
// entries.
HICON CreateIcon(int32_t width, int32_t height, std::vector<uint32_t> color, std::vector<uint8_t> mask, bool alpha);

// The standard application icon (IDI_APPLICATION), of the system icon size.
HICON LoadApplicationIcon();

// An icon from an image stored as PNG, scaled to width x height (the image's own size where
// a value is 0).  None when the bytes do not decode.
HICON CreateIconFromPng(std::span<const uint8_t> png, int32_t width, int32_t height);

// Draws the icon with its top-left corner at (x, y) of the canvas, at its own size
// (DrawIconEx with width and height 0 and DI_NORMAL).
void DrawIconEx(TCanvas& canvas, int32_t x, int32_t y, const HICON& icon);

}  // namespace gdi
