#pragma once
// Text and glyph drawing on a drawing surface (gdi::TCanvas), for controls that draw their
// own lines, and the system colours they use.

#include <string_view>

#include "platform/gdi/Canvas.h"
#include "platform/vcl/Font.h"

namespace vcl {

inline constexpr gdi::COLORREF clWindow = gdi::RGB(255, 255, 255);
inline constexpr gdi::COLORREF clWindowText = gdi::RGB(0, 0, 0);
inline constexpr gdi::COLORREF clHighlight = gdi::RGB(0, 120, 215);
inline constexpr gdi::COLORREF clHighlightText = gdi::RGB(255, 255, 255);
inline constexpr gdi::COLORREF clBtnFace = gdi::kButtonFace;
inline constexpr gdi::COLORREF clBtnShadow = gdi::RGB(160, 160, 160);
inline constexpr gdi::COLORREF clBtnHighlight = gdi::RGB(255, 255, 255);
inline constexpr gdi::COLORREF clGrayText = gdi::RGB(109, 109, 109);
inline constexpr gdi::COLORREF clBlue = gdi::RGB(0, 0, 255);

// Draws one line of text (UTF-8, "&" shown as it is) with its cell's top-left corner at
// (x, y) in canvas coordinates, in the colour given, without filling a background;
// clipped to the canvas's clip rectangle.
void TextOut(gdi::TCanvas& canvas, int x, int y, std::string_view text, const TFont& font, gdi::COLORREF color);
int TextWidth(const TFont& font, std::string_view text);
// The font's character-cell height (ascent plus descent).
int TextHeight(const TFont& font);

// Copies a glyph (a pixel store of any depth) with its top-left corner at (x, y), leaving
// the pixels of the transparent colour untouched; clipped.
void DrawTransparent(gdi::TCanvas& canvas, int x, int y, const gdi::Dib& glyph, gdi::COLORREF transparent);
// The colour of a glyph's bottom-left pixel (the usual transparent colour).
gdi::COLORREF BottomLeftColor(const gdi::Dib& glyph);

}  // namespace vcl
