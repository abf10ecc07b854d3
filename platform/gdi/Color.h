#pragma once
// Colours and small geometric types shared by the drawing code.

#include <cstdint>

namespace gdi {

// 0x00BBGGRR, as the original system's COLORREF; 0x02000000 marks a palette-relative colour.
using COLORREF = uint32_t;

constexpr COLORREF RGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr uint8_t GetRValue(COLORREF c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GetGValue(COLORREF c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t GetBValue(COLORREF c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
// The system's button-face colour (the windows' background).
constexpr COLORREF kButtonFace = RGB(240, 240, 240);

// A colour-table entry of a device-independent bitmap: blue, green, red, reserved.
struct RGBQuad {
  uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  friend bool operator==(const RGBQuad&, const RGBQuad&) = default;
};

}  // namespace gdi

// Rectangle and point as the graphics interface passes them (signed 32-bit each).
struct TRect {
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPoint {
  int32_t X = 0, Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

inline TRect Rect(int32_t l, int32_t t, int32_t r, int32_t b) { return TRect{l, t, r, b}; }
