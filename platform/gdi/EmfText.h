#pragma once
// Text records (ExtTextOutW/A): fonts by face name through the system's font configuration,
// drawn without antialiasing at the recorded reference point, alignment and spacing.

#include <QFont>
#include <QPainter>
#include <QRawFont>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/gdi/EmfDcState.h"

namespace gdi::emf {

struct EmfTextRun {
  QPointF reference;          // logical units
  QString text;               // characters, or glyph indexes with ETO_GLYPH_INDEX
  std::vector<double> dx;     // advances, logical units; empty when the record has none
  uint32_t options = 0;
  QRectF rect;                // logical units; used with ETO_OPAQUE or ETO_CLIPPED
};

class EmfText {
 public:
  // Draws the run; toOutput maps logical units to output pixels.  Updates the current
  // position when the alignment asks for it.
  void Draw(QPainter& painter, EmfDcState& state, const QTransform& toOutput, const EmfTextRun& run);

 private:
  struct Face {
    QRawFont raw;
    double cellToEm = 1;  // character height over cell height, for positive font heights
    double averageWidth = 0;  // of a character at this size, unstretched
  };
  const Face& FaceFor(const EmfFont& font, int pixelSize, int stretch = 0);
  QFont MakeFont(const EmfFont& font, int pixelSize, int stretch = 0) const;

  std::unordered_map<QString, Face> faces_;
};

}  // namespace gdi::emf
