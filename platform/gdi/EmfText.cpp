#include "platform/gdi/EmfText.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "platform/gdi/EmfConstants.h"

namespace gdi::emf {

namespace {

// Glyphs beyond this size are not worth rasterising (and damaged records ask for them).
constexpr double kMaxPixelSize = 2000;
constexpr int kDefaultPixelSize = 12;

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

// The average character width the system's font mapper matches a recorded width against:
// lowercase letters and the space weighted by their frequency in text, as the fonts of that
// system state it.  Fonts here may state another kind of average, so it is measured.
double AverageWidth(const QFontMetricsF& m) {
  static constexpr int kWeights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20,
                                       56, 56, 17, 4,  49, 56, 71, 31, 10, 18, 3, 18, 2};
  double sum = 166 * m.horizontalAdvance(QChar(' '));
  for (int i = 0; i < 26; ++i) sum += kWeights[i] * m.horizontalAdvance(QChar('a' + i));
  return sum / 1000.0;
}

}  // namespace

QFont EmfText::MakeFont(const EmfFont& font, int pixelSize, int stretch) const {
  QFont f(font.faceName.isEmpty() ? QStringLiteral("Arial") : font.faceName);
  f.setPixelSize(std::max(1, pixelSize));
  if (stretch > 0) f.setStretch(stretch);
  f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight ? font.weight : 400, 1, 1000)));
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  f.setStrikeOut(font.strikeOut);
  f.setKerning(false);
  f.setStyleStrategy(static_cast<QFont::StyleStrategy>(QFont::NoAntialias | QFont::PreferMatch));
  return f;
}

const EmfText::Face& EmfText::FaceFor(const EmfFont& font, int pixelSize, int stretch) {
  const QFont f = MakeFont(font, pixelSize, stretch);
  const QString key = f.key();
  auto it = faces_.find(key);
  if (it != faces_.end()) return it->second;
  Face face;
  face.raw = QRawFont::fromFont(f);
  const QFontMetricsF m(MakeFont(font, 256));
  const double cell = m.ascent() + m.descent();
  if (cell > 0) face.cellToEm = 256.0 / cell;
  face.averageWidth = AverageWidth(QFontMetricsF(MakeFont(font, pixelSize)));
  return faces_.emplace(key, std::move(face)).first->second;
}

void EmfText::Draw(QPainter& painter, EmfDcState& state, const QTransform& toOutput, const EmfTextRun& run) {
  if (!qGuiApp || !state.font) return;  // fonts need the application's font database
  const EmfFont& font = *state.font;
  const double sx = std::hypot(toOutput.m11(), toOutput.m12());
  const double sy = std::hypot(toOutput.m21(), toOutput.m22());
  double size = font.height == 0 ? kDefaultPixelSize : std::fabs(static_cast<double>(font.height)) * sy;
  if (font.height > 0) size *= FaceFor(font, 256).cellToEm;
  if (!(size >= 1) || size > kMaxPixelSize) return;
  const int pixelSize = static_cast<int>(std::lround(size));
  // A recorded character width narrows or widens the font, as the system's mapper does.
  int stretch = 0;
  if (font.width > 0) {
    const double average = FaceFor(font, pixelSize).averageWidth;
    if (average > 0) stretch = std::clamp(static_cast<int>(std::lround(100.0 * font.width * sx / average)), 25, 400);
    if (stretch == 100) stretch = 0;
  }
  const Face& face = FaceFor(font, pixelSize, stretch);
  if (!face.raw.isValid()) return;

  QList<quint32> glyphs;
  if (run.options & ETO_GLYPH_INDEX) {
    for (QChar c : run.text) glyphs.push_back(c.unicode());
  } else {
    glyphs = face.raw.glyphIndexesForString(run.text);
  }
  if (glyphs.isEmpty() && !(run.options & ETO_OPAQUE)) return;
  const QList<QPointF> natural = face.raw.advancesForGlyphIndexes(glyphs);
  std::vector<double> advances(static_cast<size_t>(glyphs.size()));
  for (size_t i = 0; i < advances.size(); ++i)
    advances[i] = i < run.dx.size() ? run.dx[i] * sx : natural[static_cast<qsizetype>(i)].x();
  double width = 0;
  for (double a : advances) width += a;

  const bool updateCp = state.textAlign & TA_UPDATECP;
  const QPointF refOut = toOutput.map(updateCp ? state.current : run.reference);
  // The baseline's direction: the escapement turns counter-clockwise as in a y-down logical
  // space, and the mapping carries it; a mapping that turns y upwards turns it the other way,
  // which is what charts drawn that way expect of their vertical labels.  Glyphs stay upright.
  const double esc = font.escapement / 10.0 * M_PI / 180.0;
  const QPointF dir = toOutput.map(QPointF(std::cos(esc), -std::sin(esc))) - toOutput.map(QPointF(0, 0));
  const double angle = std::atan2(dir.y(), dir.x()) * 180.0 / M_PI;
  double x0 = 0;
  switch (state.textAlign & TA_HORZ_MASK) {
    case TA_RIGHT: x0 = -width; break;
    case TA_CENTER: x0 = -width / 2; break;
    default: break;
  }
  double baseline = 0;
  switch (state.textAlign & TA_VERT_MASK) {
    case TA_BASELINE: break;
    case TA_BOTTOM: baseline = -face.raw.descent(); break;
    default: baseline = face.raw.ascent(); break;
  }

  painter.save();
  if (run.options & (ETO_OPAQUE | ETO_CLIPPED)) {
    QPainterPath box;
    box.addPolygon(toOutput.map(QPolygonF(run.rect.normalized())));
    box.closeSubpath();
    if (run.options & ETO_OPAQUE) painter.fillPath(box, ToQColor(state.bkColor));
    if (run.options & ETO_CLIPPED) painter.setClipPath(box, Qt::IntersectClip);
  }
  painter.translate(refOut);
  painter.rotate(angle);
  if (state.bkMode == OPAQUE && width > 0)
    painter.fillRect(QRectF(x0, baseline - face.raw.ascent(), width, face.raw.ascent() + face.raw.descent()),
                     ToQColor(state.bkColor));
  // Characters the font lacks (index 0) keep their advance but draw nothing, rather than
  // the font's box for a missing glyph.
  QList<QPointF> positions;
  QList<quint32> drawn;
  positions.reserve(glyphs.size());
  drawn.reserve(glyphs.size());
  double x = x0;
  for (size_t i = 0; i < advances.size(); ++i) {
    const quint32 g = glyphs[static_cast<qsizetype>(i)];
    if (g != 0 || (run.options & ETO_GLYPH_INDEX)) {
      positions.push_back(QPointF(x, baseline));
      drawn.push_back(g);
    }
    x += advances[i];
  }
  QGlyphRun glyphRun;
  glyphRun.setRawFont(face.raw);
  glyphRun.setGlyphIndexes(drawn);
  glyphRun.setPositions(positions);
  glyphRun.setUnderline(font.underline);
  glyphRun.setStrikeOut(font.strikeOut);
  painter.setPen(ToQColor(state.textColor));
  // Qt's glyph-run drawing crashes on an empty run with decorations: nothing to draw anyway.
  if (!drawn.isEmpty()) painter.drawGlyphRun(QPointF(0, 0), glyphRun);
  painter.restore();

  if (updateCp && sx > 0) {
    const double move = (state.textAlign & TA_HORZ_MASK) == TA_LEFT ? width : 0;
    state.current += QPointF(move / sx, 0);
  }
}

}  // namespace gdi::emf
