#pragma once
// The drawing objects a metafile creates and selects: pens, brushes and fonts, as recorded
// (logical units), ready to be turned into QtGui pens, brushes and fonts at drawing time.

#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/Color.h"

namespace gdi::emf {

struct EmfPen {
  uint32_t style = 0;      // the whole style word: style, end cap, join, type
  double width = 0;        // logical units; 0 for a cosmetic pen (one device pixel)
  bool cosmetic = true;
  COLORREF color = kBlack;
  std::vector<double> userDashes;  // PS_USERSTYLE, in logical units
  uint32_t Style() const;  // the style proper (PS_SOLID ... PS_ALTERNATE)
  bool IsNull() const { return Style() == 5; }
};

struct EmfBrush {
  uint32_t style = 0;  // BS_SOLID, BS_NULL, BS_HATCHED, BS_PATTERN, BS_DIBPATTERNPT
  COLORREF color = kWhite;
  uint32_t hatch = 0;
  QImage pattern;      // pattern brushes; a 1-bit pattern keeps its two colours open
  bool monochrome = false;  // the pattern's pixels are 0 (text colour) or 1 (background)
  bool IsNull() const { return style == 1; }
};

struct EmfFont {
  int32_t height = 0;  // logical units: negative is the character height, positive the cell's
  int32_t width = 0;
  int32_t escapement = 0;  // tenths of a degree, counter-clockwise
  int32_t weight = 400;
  bool italic = false, underline = false, strikeOut = false;
  uint8_t charSet = 0;
  QString faceName;
};

enum class EmfObjectKind { None, Pen, Brush, Font, Palette };

struct EmfObject {
  EmfObjectKind kind = EmfObjectKind::None;
  std::shared_ptr<const EmfPen> pen;
  std::shared_ptr<const EmfBrush> brush;
  std::shared_ptr<const EmfFont> font;
};

}  // namespace gdi::emf
