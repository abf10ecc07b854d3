#include "platform/gdi/EmfPlayer.h"

#include <QLinearGradient>

#include <algorithm>
#include <cmath>

#include "platform/gdi/EmfBitmap.h"
#include "platform/gdi/EmfConstants.h"
#include "platform/rtl/ByteReader.h"

namespace gdi::emf {

namespace {

// Saved states and polygon counts beyond these only come from damaged records.
constexpr size_t kMaxSavedStates = 4096;
// A pen wider than this many output pixels covers any picture anyway.
constexpr double kMaxPenWidth = 8192;

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

QPointF ReadPointL(ByteReader& r) {
  const double x = r.I32();
  const double y = r.I32();
  return QPointF(x, y);
}

QRectF ReadRectL(ByteReader& r) {
  const double l = r.I32(), t = r.I32(), rt = r.I32(), b = r.I32();
  return QRectF(QPointF(l, t), QPointF(rt, b));
}

float ReadFloat(ByteReader& r) {
  const uint32_t bits = r.U32();
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return std::isfinite(f) ? f : 0.0f;
}

QTransform ReadXform(ByteReader& r) {
  const double m11 = ReadFloat(r), m12 = ReadFloat(r), m21 = ReadFloat(r), m22 = ReadFloat(r);
  const double dx = ReadFloat(r), dy = ReadFloat(r);
  return QTransform(m11, m12, m21, m22, dx, dy);
}

// count points of 16 or 32 bits each; the count is checked against the data first.
QPolygonF ReadPoints(ByteReader& r, uint32_t count, bool small) {
  const size_t size = small ? 4 : 8;
  if (count > r.Remaining() / size) throw EReadError();
  QPolygonF points;
  points.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    if (small) {
      const double x = r.I16();
      const double y = r.I16();
      points.push_back(QPointF(x, y));
    } else {
      points.push_back(ReadPointL(r));
    }
  }
  return points;
}

QPainter::CompositionMode Rop2Mode(int rop2) {
  switch (rop2) {
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    case R2_BLACK: return QPainter::RasterOp_ClearDestination;
    case R2_WHITE: return QPainter::RasterOp_SetDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

bool AxisAligned(const QTransform& t) { return t.m12() == 0 && t.m21() == 0 && !t.isRotating(); }

}  // namespace

EmfPlayer::EmfPlayer(QPainter& painter, const EnhMetaHeader& header, const QTransform& deviceToOutput,
                     const QRegion& baseClip)
    : painter_(painter), header_(header), deviceToOutput_(deviceToOutput), baseClip_(baseClip), objects_(header.handles) {
  if (header.millimetersCx > 0 && header.deviceCx > 0)
    reference_.pixelsPerMmX = static_cast<double>(header.deviceCx) / header.millimetersCx;
  if (header.millimetersCy > 0 && header.deviceCy > 0)
    reference_.pixelsPerMmY = static_cast<double>(header.deviceCy) / header.millimetersCy;
}

QTransform EmfPlayer::FrameToRect(const EnhMetaHeader& h, const TRect& rect) {
  // The frame is in hundredths of a millimetre; the reference device turns it into the
  // recording's device units.
  const double px = h.millimetersCx > 0 ? static_cast<double>(h.deviceCx) / (h.millimetersCx * 100.0) : 0;
  const double py = h.millimetersCy > 0 ? static_cast<double>(h.deviceCy) / (h.millimetersCy * 100.0) : 0;
  const double fx0 = h.frame.Left * px, fx1 = h.frame.Right * px;
  const double fy0 = h.frame.Top * py, fy1 = h.frame.Bottom * py;
  const double outW = static_cast<double>(rect.Right) - rect.Left + 1;
  const double outH = static_cast<double>(rect.Bottom) - rect.Top + 1;
  const double sx = fx1 != fx0 ? outW / (fx1 - fx0) : 1;
  const double sy = fy1 != fy0 ? outH / (fy1 - fy0) : 1;
  return QTransform(sx, 0, 0, sy, rect.Left - fx0 * sx, rect.Top - fy0 * sy);
}

const std::array<EmfPlayer::Handler, 128>& EmfPlayer::Handlers() {
  static const std::array<Handler, 128> table = [] {
    std::array<Handler, 128> t{};
    t[EMR_HEADER] = &EmfPlayer::Header;
    t[EMR_EOF] = &EmfPlayer::Eof;
    t[EMR_POLYBEZIER] = t[EMR_POLYBEZIER16] = &EmfPlayer::PolyBezier;
    t[EMR_POLYBEZIERTO] = t[EMR_POLYBEZIERTO16] = &EmfPlayer::PolyBezierTo;
    t[EMR_POLYGON] = t[EMR_POLYGON16] = &EmfPlayer::Polygon;
    t[EMR_POLYLINE] = t[EMR_POLYLINE16] = &EmfPlayer::Polyline;
    t[EMR_POLYLINETO] = t[EMR_POLYLINETO16] = &EmfPlayer::PolylineTo;
    t[EMR_POLYPOLYLINE] = t[EMR_POLYPOLYLINE16] = &EmfPlayer::PolyPolyline;
    t[EMR_POLYPOLYGON] = t[EMR_POLYPOLYGON16] = &EmfPlayer::PolyPolygon;
    t[EMR_POLYDRAW] = t[EMR_POLYDRAW16] = &EmfPlayer::PolyDraw;
    t[EMR_SETWINDOWEXTEX] = &EmfPlayer::SetWindowExtEx;
    t[EMR_SETWINDOWORGEX] = &EmfPlayer::SetWindowOrgEx;
    t[EMR_SETVIEWPORTEXTEX] = &EmfPlayer::SetViewportExtEx;
    t[EMR_SETVIEWPORTORGEX] = &EmfPlayer::SetViewportOrgEx;
    t[EMR_SCALEVIEWPORTEXTEX] = &EmfPlayer::ScaleViewportExtEx;
    t[EMR_SCALEWINDOWEXTEX] = &EmfPlayer::ScaleWindowExtEx;
    t[EMR_SETMAPMODE] = &EmfPlayer::SetMapMode;
    t[EMR_SETBKMODE] = &EmfPlayer::SetBkMode;
    t[EMR_SETPOLYFILLMODE] = &EmfPlayer::SetPolyFillMode;
    t[EMR_SETROP2] = &EmfPlayer::SetRop2;
    t[EMR_SETSTRETCHBLTMODE] = &EmfPlayer::SetStretchBltMode;
    t[EMR_SETTEXTALIGN] = &EmfPlayer::SetTextAlign;
    t[EMR_SETTEXTCOLOR] = &EmfPlayer::SetTextColor;
    t[EMR_SETBKCOLOR] = &EmfPlayer::SetBkColor;
    t[EMR_SETARCDIRECTION] = &EmfPlayer::SetArcDirection;
    t[EMR_SETPIXELV] = &EmfPlayer::SetPixelV;
    t[EMR_MOVETOEX] = &EmfPlayer::MoveToEx;
    t[EMR_LINETO] = &EmfPlayer::LineTo;
    t[EMR_SAVEDC] = &EmfPlayer::SaveDC;
    t[EMR_RESTOREDC] = &EmfPlayer::RestoreDC;
    t[EMR_SETWORLDTRANSFORM] = &EmfPlayer::SetWorldTransform;
    t[EMR_MODIFYWORLDTRANSFORM] = &EmfPlayer::ModifyWorldTransform;
    t[EMR_SELECTOBJECT] = &EmfPlayer::SelectObject;
    t[EMR_DELETEOBJECT] = &EmfPlayer::DeleteObject;
    t[EMR_CREATEPEN] = &EmfPlayer::CreatePen;
    t[EMR_EXTCREATEPEN] = &EmfPlayer::ExtCreatePen;
    t[EMR_CREATEBRUSHINDIRECT] = &EmfPlayer::CreateBrushIndirect;
    t[EMR_CREATEDIBPATTERNBRUSHPT] = t[EMR_CREATEMONOBRUSH] = &EmfPlayer::CreateDibPatternBrush;
    t[EMR_CREATEPALETTE] = &EmfPlayer::CreatePalette;
    t[EMR_EXTCREATEFONTINDIRECTW] = &EmfPlayer::ExtCreateFontIndirectW;
    t[EMR_RECTANGLE] = &EmfPlayer::Rectangle;
    t[EMR_ROUNDRECT] = &EmfPlayer::RoundRect;
    t[EMR_ELLIPSE] = &EmfPlayer::Ellipse;
    t[EMR_ARC] = &EmfPlayer::Arc;
    t[EMR_ARCTO] = &EmfPlayer::ArcTo;
    t[EMR_CHORD] = &EmfPlayer::Chord;
    t[EMR_PIE] = &EmfPlayer::Pie;
    t[EMR_ANGLEARC] = &EmfPlayer::AngleArc;
    t[EMR_BEGINPATH] = &EmfPlayer::BeginPath;
    t[EMR_ENDPATH] = &EmfPlayer::EndPath;
    t[EMR_CLOSEFIGURE] = &EmfPlayer::CloseFigure;
    t[EMR_ABORTPATH] = &EmfPlayer::AbortPath;
    t[EMR_FILLPATH] = &EmfPlayer::FillPathRecord;
    t[EMR_STROKEPATH] = &EmfPlayer::StrokePathRecord;
    t[EMR_STROKEANDFILLPATH] = &EmfPlayer::StrokeAndFillPath;
    t[EMR_SELECTCLIPPATH] = &EmfPlayer::SelectClipPath;
    t[EMR_INTERSECTCLIPRECT] = &EmfPlayer::IntersectClipRect;
    t[EMR_EXCLUDECLIPRECT] = &EmfPlayer::ExcludeClipRect;
    t[EMR_OFFSETCLIPRGN] = &EmfPlayer::OffsetClipRgn;
    t[EMR_EXTSELECTCLIPRGN] = &EmfPlayer::ExtSelectClipRgn;
    t[EMR_FILLRGN] = &EmfPlayer::FillRgn;
    t[EMR_PAINTRGN] = &EmfPlayer::PaintRgn;
    t[EMR_EXTTEXTOUTW] = &EmfPlayer::ExtTextOutW;
    t[EMR_EXTTEXTOUTA] = &EmfPlayer::ExtTextOutA;
    t[EMR_BITBLT] = &EmfPlayer::BitBlt;
    t[EMR_STRETCHBLT] = &EmfPlayer::StretchBlt;
    t[EMR_STRETCHDIBITS] = &EmfPlayer::StretchDIBits;
    t[EMR_SETDIBITSTODEVICE] = &EmfPlayer::SetDIBitsToDevice;
    t[EMR_ALPHABLEND] = &EmfPlayer::AlphaBlend;
    t[EMR_TRANSPARENTBLT] = &EmfPlayer::TransparentBlt;
    t[EMR_GRADIENTFILL] = &EmfPlayer::GradientFill;
    t[EMR_SMALLTEXTOUT] = &EmfPlayer::SmallTextOut;
    t[EMR_SETMITERLIMIT] = &EmfPlayer::SetMiterLimit;
    t[EMR_SETMETARGN] = &EmfPlayer::SetMetaRgn;
    t[EMR_INVERTRGN] = &EmfPlayer::InvertRgn;
    t[EMR_FRAMERGN] = &EmfPlayer::FrameRgn;
    return t;
  }();
  return table;
}

const std::array<uint16_t, 128>& EmfPlayer::MinimumSizes() {
  static const std::array<uint16_t, 128> table = [] {
    std::array<uint16_t, 128> t{};
    t.fill(8);
    for (uint32_t type : {EMR_POLYBEZIER, EMR_POLYGON, EMR_POLYLINE, EMR_POLYBEZIERTO, EMR_POLYLINETO, EMR_POLYBEZIER16,
                          EMR_POLYGON16, EMR_POLYLINE16, EMR_POLYBEZIERTO16, EMR_POLYLINETO16, EMR_ANGLEARC,
                          EMR_POLYDRAW, EMR_POLYDRAW16})
      t[type] = 28;
    for (uint32_t type : {EMR_POLYPOLYLINE, EMR_POLYPOLYGON, EMR_POLYPOLYLINE16, EMR_POLYPOLYGON16, EMR_ROUNDRECT})
      t[type] = 32;
    for (uint32_t type : {EMR_SETWINDOWEXTEX, EMR_SETWINDOWORGEX, EMR_SETVIEWPORTEXTEX, EMR_SETVIEWPORTORGEX,
                          EMR_OFFSETCLIPRGN, EMR_MOVETOEX, EMR_LINETO, EMR_EXTSELECTCLIPRGN})
      t[type] = 16;
    for (uint32_t type : {EMR_SETMAPMODE, EMR_SETBKMODE, EMR_SETPOLYFILLMODE, EMR_SETROP2, EMR_SETSTRETCHBLTMODE,
                          EMR_SETTEXTALIGN, EMR_SETTEXTCOLOR, EMR_SETBKCOLOR, EMR_RESTOREDC, EMR_SELECTOBJECT,
                          EMR_DELETEOBJECT, EMR_SETARCDIRECTION, EMR_SELECTCLIPPATH, EMR_SETMITERLIMIT,
                          EMR_CREATEPALETTE})
      t[type] = 12;
    for (uint32_t type : {EMR_EXCLUDECLIPRECT, EMR_INTERSECTCLIPRECT, EMR_SCALEVIEWPORTEXTEX, EMR_SCALEWINDOWEXTEX,
                          EMR_CREATEBRUSHINDIRECT, EMR_ELLIPSE, EMR_RECTANGLE})
      t[type] = 24;
    for (uint32_t type : {EMR_ARC, EMR_ARCTO, EMR_CHORD, EMR_PIE, EMR_FRAMERGN}) t[type] = 40;
    t[EMR_HEADER] = 88;
    t[EMR_EOF] = 20;
    t[EMR_SETPIXELV] = 20;
    t[EMR_SETWORLDTRANSFORM] = 32;
    t[EMR_MODIFYWORLDTRANSFORM] = 36;
    t[EMR_CREATEPEN] = 28;
    t[EMR_EXTCREATEPEN] = 52;
    t[EMR_CREATEMONOBRUSH] = t[EMR_CREATEDIBPATTERNBRUSHPT] = 32;
    t[EMR_EXTCREATEFONTINDIRECTW] = 104;
    t[EMR_EXTTEXTOUTA] = t[EMR_EXTTEXTOUTW] = 76;
    t[EMR_SMALLTEXTOUT] = 36;
    t[EMR_FILLRGN] = 32;
    t[EMR_INVERTRGN] = t[EMR_PAINTRGN] = 28;
    t[EMR_BITBLT] = 100;
    t[EMR_STRETCHBLT] = t[EMR_ALPHABLEND] = t[EMR_TRANSPARENTBLT] = 108;
    t[EMR_SETDIBITSTODEVICE] = 76;
    t[EMR_STRETCHDIBITS] = 80;
    t[EMR_GRADIENTFILL] = 36;
    return t;
  }();
  return table;
}

void EmfPlayer::Play(std::span<const uint8_t> bytes) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  ApplyClip();
  EmfRecordReader records(bytes);
  EmfRecord record;
  const auto& handlers = Handlers();
  while (!ended_ && records.Next(record)) {
    if (record.type >= handlers.size() || !handlers[record.type]) continue;
    // A record too short for its own fixed fields is left out, as one of an unknown type.
    if (record.bytes.size() < MinimumSizes()[record.type]) continue;
    ByteReader r(record.bytes);
    r.Seek(8);
    try {
      (this->*handlers[record.type])(record, r);
    } catch (const EReadError&) {
      break;  // counts or offsets past the record: the rest is not trusted
    }
  }
}

// ---- geometry ----------------------------------------------------------------------------

QTransform EmfPlayer::ToOutput() const { return state_.world * state_.PageToDevice(reference_) * deviceToOutput_; }

QRegion EmfPlayer::RectRegion(const QRectF& logical) const {
  const QTransform t = ToOutput();
  if (AxisAligned(t)) {
    const QRectF r = t.mapRect(logical.normalized());
    const int l = static_cast<int>(std::lround(std::clamp(r.left(), -1e8, 1e8)));
    const int tp = static_cast<int>(std::lround(std::clamp(r.top(), -1e8, 1e8)));
    const int rt = static_cast<int>(std::lround(std::clamp(r.right(), -1e8, 1e8)));
    const int b = static_cast<int>(std::lround(std::clamp(r.bottom(), -1e8, 1e8)));
    return QRegion(QRect(QPoint(l, tp), QPoint(rt - 1, b - 1)));
  }
  return QRegion(t.map(QPolygonF(logical)).toPolygon());
}

// A box shape's outline in output pixels.  The system draws right and bottom edges one pixel
// inside the box, so the box shrinks by one output pixel when the mapping keeps axes.
QPainterPath EmfPlayer::BoxPath(const QRectF& logical, bool shrink) const {
  const QTransform t = ToOutput();
  QPainterPath p;
  if (AxisAligned(t)) {
    QRectF r = t.mapRect(logical.normalized());
    if (shrink && !path_.Open()) r.adjust(0, 0, r.width() >= 1 ? -1 : 0, r.height() >= 1 ? -1 : 0);
    p.addRect(r);
  } else {
    p.addPolygon(t.map(QPolygonF(logical.normalized())));
    p.closeSubpath();
  }
  return p;
}

QPen EmfPlayer::MakePen() const {
  const EmfPen* pen = state_.pen.get();
  if (!pen || pen->IsNull()) return QPen(Qt::NoPen);
  const QTransform t = ToOutput();
  const double scale = std::sqrt(std::fabs(t.determinant()));
  double width = pen->cosmetic ? 0 : std::round(pen->width * scale);
  width = std::min(width, kMaxPenWidth);
  QPen q(ToQColor(pen->color));
  const bool thin = width <= 1;
  q.setWidthF(thin ? 0 : width);  // zero: one pixel, whatever the transform
  const uint32_t cap = pen->style & PS_ENDCAP_MASK, join = pen->style & PS_JOIN_MASK;
  q.setCapStyle(thin ? Qt::FlatCap : cap == PS_ENDCAP_SQUARE ? Qt::SquareCap : cap == PS_ENDCAP_FLAT ? Qt::FlatCap : Qt::RoundCap);
  q.setJoinStyle(join == PS_JOIN_BEVEL ? Qt::BevelJoin : join == PS_JOIN_MITER ? Qt::MiterJoin : Qt::RoundJoin);
  q.setMiterLimit(miterLimit_);
  // Dash lengths: in pixels for cosmetic pens, in pen widths for geometric ones.
  QList<qreal> dashes;
  switch (pen->Style()) {
    case PS_DASH: dashes = thin ? QList<qreal>{18, 6} : QList<qreal>{3, 1}; break;
    case PS_DOT: dashes = thin ? QList<qreal>{3, 3} : QList<qreal>{1, 1}; break;
    case PS_DASHDOT: dashes = thin ? QList<qreal>{9, 6, 3, 6} : QList<qreal>{3, 1, 1, 1}; break;
    case PS_DASHDOTDOT: dashes = thin ? QList<qreal>{9, 3, 3, 3, 3, 3} : QList<qreal>{3, 1, 1, 1, 1, 1}; break;
    case PS_ALTERNATE: dashes = {1, 1}; break;
    case PS_USERSTYLE:
      for (double d : pen->userDashes) dashes.push_back(std::max(0.1, thin ? d * scale : d / std::max(1.0, pen->width)));
      if (dashes.size() % 2) dashes.push_back(dashes.back());
      break;
    default: break;
  }
  if (!dashes.isEmpty()) {
    q.setDashPattern(dashes);
    if (!thin) q.setCapStyle(Qt::FlatCap);
  }
  return q;
}

QBrush EmfPlayer::MakeBrush() const {
  const EmfBrush* b = state_.brush.get();
  if (!b || b->IsNull()) return QBrush(Qt::NoBrush);
  switch (b->style) {
    case BS_HATCHED: {
      static constexpr Qt::BrushStyle kHatch[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                  Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
      return QBrush(ToQColor(b->color), b->hatch < 6 ? kHatch[b->hatch] : Qt::SolidPattern);
    }
    case BS_PATTERN:
    case BS_DIBPATTERN:
    case BS_DIBPATTERNPT:
      if (!b->pattern.isNull()) {
        if (!b->monochrome) return QBrush(b->pattern);
        // A two-colour pattern takes the text and background colours.
        QImage p = b->pattern.convertToFormat(QImage::Format_Indexed8);
        if (p.colorCount() >= 1) {
          QImage mono = b->pattern;
          for (int y = 0; y < mono.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(mono.scanLine(y));
            for (int x = 0; x < mono.width(); ++x)
              row[x] = (qGray(row[x]) < 128 ? ToQColor(state_.textColor) : ToQColor(state_.bkColor)).rgb();
          }
          return QBrush(mono);
        }
      }
      return QBrush(ToQColor(b->color));
    default: return QBrush(ToQColor(b->color));
  }
}

void EmfPlayer::ApplyRop2() {
  painter_.setCompositionMode(Rop2Mode(state_.rop2));
  painter_.setBackgroundMode(state_.bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
  painter_.setBackground(ToQColor(state_.bkColor));
}

void EmfPlayer::ApplyClip() {
  QRegion region = state_.metaClip ? baseClip_.intersected(*state_.metaClip) : baseClip_;
  if (state_.clip) region = region.intersected(*state_.clip);
  painter_.setClipRegion(region);
}

void EmfPlayer::CombineClip(const QRegion& region, int mode) {
  const QRegion current = state_.clip ? *state_.clip : state_.metaClip ? *state_.metaClip : baseClip_;
  switch (mode) {
    case RGN_AND: state_.clip = current.intersected(region); break;
    case RGN_OR: state_.clip = current.united(region); break;
    case RGN_XOR: state_.clip = current.xored(region); break;
    case RGN_DIFF: state_.clip = current.subtracted(region); break;
    case RGN_COPY: state_.clip = region; break;
    default: return;
  }
  ApplyClip();
}

void EmfPlayer::FillPath(const QPainterPath& path) {
  if (state_.rop2 == R2_NOP) return;
  ApplyRop2();
  QPainterPath p = path;
  p.setFillRule(state_.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  painter_.fillPath(p, MakeBrush());
}

void EmfPlayer::StrokePath(const QPainterPath& path) {
  if (state_.rop2 == R2_NOP) return;
  const QPen pen = MakePen();
  if (pen.style() == Qt::NoPen) return;
  ApplyRop2();
  painter_.strokePath(path, pen);
}

void EmfPlayer::DrawClosed(const QPainterPath& figure, bool fill) {
  if (path_.Open()) {
    path_.AddClosed(figure);
    return;
  }
  if (fill) FillPath(figure);
  StrokePath(figure);
}

void EmfPlayer::DrawOpen(const QPainterPath& figure) {
  if (path_.Open()) {
    path_.AddOpen(figure);
    return;
  }
  StrokePath(figure);
}

// closeKind: 0 open arc, 1 chord, 2 pie.  connect: start with a line from the current point.
QPainterPath EmfPlayer::ArcPath(const QRectF& boxIn, QPointF start, QPointF end, int closeKind, bool connect) const {
  const QRectF box = boxIn.normalized();
  const QPointF c = box.center();
  const double rx = box.width() / 2, ry = box.height() / 2;
  auto angleOf = [&](QPointF p) {
    if (rx <= 0 || ry <= 0) return 0.0;
    return std::atan2(-(p.y() - c.y()) / ry, (p.x() - c.x()) / rx) * 180.0 / M_PI;
  };
  const double a0 = angleOf(start), a1 = angleOf(end);
  // Counter-clockwise as the output shows it: a mapping that flips one axis turns it.
  bool ccw = state_.arcDirection != AD_CLOCKWISE;
  if (state_.PageToDevice(reference_).determinant() * state_.world.determinant() < 0) ccw = !ccw;
  double sweep = ccw ? a1 - a0 : a0 - a1;
  while (sweep <= 0) sweep += 360;
  while (sweep > 360) sweep -= 360;
  if (!ccw) sweep = -sweep;
  QPainterPath p;
  const QPointF first(c.x() + rx * std::cos(a0 * M_PI / 180), c.y() - ry * std::sin(a0 * M_PI / 180));
  if (connect) {
    p.moveTo(state_.current);
    p.lineTo(first);
  } else if (closeKind == 2) {
    p.moveTo(c);
    p.lineTo(first);
  } else {
    p.moveTo(first);
  }
  p.arcTo(box, a0, sweep);
  if (closeKind == 2) p.lineTo(c);
  if (closeKind != 0) p.closeSubpath();
  return ToOutput().map(p);
}

// ---- header, end, states -----------------------------------------------------------------

void EmfPlayer::Header(const EmfRecord&, ByteReader&) {}
void EmfPlayer::Eof(const EmfRecord&, ByteReader&) { ended_ = true; }

void EmfPlayer::SaveDC(const EmfRecord&, ByteReader&) {
  if (saved_.size() < kMaxSavedStates) saved_.push_back(state_);
}

void EmfPlayer::RestoreDC(const EmfRecord&, ByteReader& r) {
  const int32_t relative = r.I32();
  if (relative >= 0) return;
  const uint64_t back = static_cast<uint64_t>(-static_cast<int64_t>(relative));
  if (back > saved_.size()) return;
  state_ = saved_[saved_.size() - back];
  saved_.resize(saved_.size() - back);
  ApplyClip();
}

void EmfPlayer::SetMapMode(const EmfRecord&, ByteReader& r) { state_.SetMapMode(r.I32(), reference_); }
void EmfPlayer::SetWindowExtEx(const EmfRecord&, ByteReader& r) {
  const QPointF p = ReadPointL(r);
  state_.SetWindowExt(QSizeF(p.x(), p.y()));
}
void EmfPlayer::SetViewportExtEx(const EmfRecord&, ByteReader& r) {
  const QPointF p = ReadPointL(r);
  state_.SetViewportExt(QSizeF(p.x(), p.y()));
}
void EmfPlayer::SetWindowOrgEx(const EmfRecord&, ByteReader& r) { state_.SetWindowOrg(ReadPointL(r)); }
void EmfPlayer::SetViewportOrgEx(const EmfRecord&, ByteReader& r) { state_.SetViewportOrg(ReadPointL(r)); }
void EmfPlayer::ScaleViewportExtEx(const EmfRecord&, ByteReader& r) {
  const double xn = r.I32(), xd = r.I32(), yn = r.I32(), yd = r.I32();
  state_.ScaleViewportExt(xn, xd, yn, yd);
}
void EmfPlayer::ScaleWindowExtEx(const EmfRecord&, ByteReader& r) {
  const double xn = r.I32(), xd = r.I32(), yn = r.I32(), yd = r.I32();
  state_.ScaleWindowExt(xn, xd, yn, yd);
}
void EmfPlayer::SetBkMode(const EmfRecord&, ByteReader& r) { state_.bkMode = r.I32(); }
void EmfPlayer::SetPolyFillMode(const EmfRecord&, ByteReader& r) { state_.polyFillMode = r.I32(); }
void EmfPlayer::SetRop2(const EmfRecord&, ByteReader& r) { state_.rop2 = r.I32(); }
void EmfPlayer::SetStretchBltMode(const EmfRecord&, ByteReader& r) { state_.stretchMode = r.I32(); }
void EmfPlayer::SetTextAlign(const EmfRecord&, ByteReader& r) { state_.textAlign = r.U32(); }
void EmfPlayer::SetTextColor(const EmfRecord&, ByteReader& r) { state_.textColor = r.U32() & 0xFFFFFF; }
void EmfPlayer::SetBkColor(const EmfRecord&, ByteReader& r) { state_.bkColor = r.U32() & 0xFFFFFF; }
void EmfPlayer::SetArcDirection(const EmfRecord&, ByteReader& r) { state_.arcDirection = r.I32(); }

void EmfPlayer::SetWorldTransform(const EmfRecord&, ByteReader& r) {
  const QTransform x = ReadXform(r);
  if (x.isInvertible()) state_.world = x;
}

void EmfPlayer::ModifyWorldTransform(const EmfRecord&, ByteReader& r) {
  const QTransform x = ReadXform(r);
  const int32_t mode = r.I32();
  QTransform result = state_.world;
  switch (mode) {
    case MWT_IDENTITY: result = QTransform(); break;
    case MWT_LEFTMULTIPLY: result = x * state_.world; break;
    case MWT_RIGHTMULTIPLY: result = state_.world * x; break;
    case MWT_SET: result = x; break;
    default: return;
  }
  if (result.isInvertible()) state_.world = result;
}

// ---- objects -----------------------------------------------------------------------------

void EmfPlayer::SelectObject(const EmfRecord&, ByteReader& r) {
  const EmfObject o = objects_.Get(r.U32());
  switch (o.kind) {
    case EmfObjectKind::Pen: state_.pen = o.pen; break;
    case EmfObjectKind::Brush: state_.brush = o.brush; break;
    case EmfObjectKind::Font: state_.font = o.font; break;
    default: break;
  }
}

void EmfPlayer::DeleteObject(const EmfRecord&, ByteReader& r) { objects_.Remove(r.U32()); }

void EmfPlayer::CreatePen(const EmfRecord&, ByteReader& r) {
  const uint32_t index = r.U32();
  auto pen = std::make_shared<EmfPen>();
  pen->style = r.U32();
  const int32_t width = r.I32();
  r.Skip(4);
  pen->color = r.U32() & 0xFFFFFF;
  pen->width = std::abs(static_cast<double>(width));
  pen->cosmetic = width == 0;
  objects_.Put(index, EmfObject{EmfObjectKind::Pen, std::move(pen), {}, {}});
}

void EmfPlayer::ExtCreatePen(const EmfRecord&, ByteReader& r) {
  const uint32_t index = r.U32();
  r.Skip(16);  // the pattern bitmap of a pen is drawn as the pen's colour
  auto pen = std::make_shared<EmfPen>();
  pen->style = r.U32();
  const uint32_t width = r.U32();
  const uint32_t brushStyle = r.U32();
  pen->color = r.U32() & 0xFFFFFF;
  r.Skip(4);
  const uint32_t entries = r.U32();
  pen->cosmetic = (pen->style & PS_TYPE_MASK) != PS_GEOMETRIC;
  pen->width = pen->cosmetic ? 0 : static_cast<double>(width);
  if (brushStyle == BS_NULL) pen->style = (pen->style & ~PS_STYLE_MASK) | PS_NULL;
  if (pen->Style() == PS_USERSTYLE && entries <= r.Remaining() / 4 && entries <= 16)
    for (uint32_t i = 0; i < entries; ++i) pen->userDashes.push_back(r.U32());
  objects_.Put(index, EmfObject{EmfObjectKind::Pen, std::move(pen), {}, {}});
}

void EmfPlayer::CreateBrushIndirect(const EmfRecord&, ByteReader& r) {
  const uint32_t index = r.U32();
  auto brush = std::make_shared<EmfBrush>();
  brush->style = r.U32();
  brush->color = r.U32() & 0xFFFFFF;
  brush->hatch = r.U32();
  objects_.Put(index, EmfObject{EmfObjectKind::Brush, {}, std::move(brush), {}});
}

void EmfPlayer::CreateDibPatternBrush(const EmfRecord& rec, ByteReader& r) {
  const uint32_t index = r.U32();
  EmfBitmapFields f;
  f.usage = r.U32();
  f.offBmi = r.U32();
  f.cbBmi = r.U32();
  f.offBits = r.U32();
  f.cbBits = r.U32();
  auto brush = std::make_shared<EmfBrush>();
  brush->style = BS_DIBPATTERNPT;
  brush->pattern = EmfBitmap::Decode(rec.bytes, f);
  brush->monochrome = rec.type == EMR_CREATEMONOBRUSH && EmfBitmap::IsMonochrome(rec.bytes, f);
  brush->color = kBlack;
  objects_.Put(index, EmfObject{EmfObjectKind::Brush, {}, std::move(brush), {}});
}

void EmfPlayer::CreatePalette(const EmfRecord&, ByteReader& r) {
  // Kept so that the slot is taken; playback draws in true colour.
  objects_.Put(r.U32(), EmfObject{EmfObjectKind::Palette, {}, {}, {}});
}

void EmfPlayer::ExtCreateFontIndirectW(const EmfRecord&, ByteReader& r) {
  const uint32_t index = r.U32();
  auto font = std::make_shared<EmfFont>();
  font->height = r.I32();
  font->width = r.I32();
  font->escapement = r.I32();
  r.Skip(4);  // orientation
  font->weight = r.I32();
  font->italic = r.U8() != 0;
  font->underline = r.U8() != 0;
  font->strikeOut = r.U8() != 0;
  font->charSet = r.U8();
  r.Skip(4);
  char16_t face[32] = {};
  int n = 0;
  for (; n < 32 && r.Remaining() >= 2; ++n) {
    face[n] = r.U16();
    if (!face[n]) break;
  }
  font->faceName = QString::fromUtf16(face, n);
  if (font->height == INT32_MIN) font->height = 0;
  objects_.Put(index, EmfObject{EmfObjectKind::Font, {}, {}, std::move(font)});
}

// ---- lines and shapes --------------------------------------------------------------------

void EmfPlayer::MoveToEx(const EmfRecord&, ByteReader& r) {
  state_.current = ReadPointL(r);
  if (path_.Open()) path_.MoveTo(Map(state_.current));
}

void EmfPlayer::LineTo(const EmfRecord&, ByteReader& r) {
  const QPointF to = ReadPointL(r);
  if (path_.Open()) {
    path_.LineTo(Map(to), Map(state_.current));
  } else {
    QPainterPath p(Map(state_.current));
    p.lineTo(Map(to));
    StrokePath(p);
  }
  state_.current = to;
}

void EmfPlayer::Polyline(const EmfRecord& rec, ByteReader& r) {
  r.Skip(16);
  const QPolygonF pts = ReadPoints(r, r.U32(), rec.type == EMR_POLYLINE16);
  if (pts.size() < 2) return;
  QPainterPath p;
  p.addPolygon(ToOutput().map(pts));
  DrawOpen(p);
}

void EmfPlayer::PolylineTo(const EmfRecord& rec, ByteReader& r) {
  r.Skip(16);
  const QPolygonF pts = ReadPoints(r, r.U32(), rec.type == EMR_POLYLINETO16);
  if (pts.isEmpty()) return;
  const QTransform t = ToOutput();
  if (path_.Open()) {
    for (const QPointF& q : pts) path_.LineTo(t.map(q), t.map(state_.current));
  } else {
    QPainterPath p(t.map(state_.current));
    for (const QPointF& q : pts) p.lineTo(t.map(q));
    StrokePath(p);
  }
  state_.current = pts.back();
}

void EmfPlayer::PolyBezier(const EmfRecord& rec, ByteReader& r) {
  r.Skip(16);
  const QPolygonF pts = ToOutput().map(ReadPoints(r, r.U32(), rec.type == EMR_POLYBEZIER16));
  if (pts.size() < 4) return;
  QPainterPath p(pts[0]);
  for (qsizetype i = 1; i + 2 < pts.size(); i += 3) p.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
  DrawOpen(p);
}

void EmfPlayer::PolyBezierTo(const EmfRecord& rec, ByteReader& r) {
  r.Skip(16);
  const QPolygonF logical = ReadPoints(r, r.U32(), rec.type == EMR_POLYBEZIERTO16);
  if (logical.size() < 3) return;
  const QPolygonF pts = ToOutput().map(logical);
  const QPointF start = Map(state_.current);
  if (path_.Open()) {
    for (qsizetype i = 0; i + 2 < pts.size(); i += 3) path_.CubicTo(pts[i], pts[i + 1], pts[i + 2], start);
  } else {
    QPainterPath p(start);
    for (qsizetype i = 0; i + 2 < pts.size(); i += 3) p.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
    StrokePath(p);
  }
  state_.current = logical[(logical.size() / 3) * 3 - 1];
}

void EmfPlayer::Polygon(const EmfRecord& rec, ByteReader& r) {
  r.Skip(16);
  const QPolygonF pts = ReadPoints(r, r.U32(), rec.type == EMR_POLYGON16);
  if (pts.size() < 2) return;
  QPainterPath p;
  p.addPolygon(ToOutput().map(pts));
  p.closeSubpath();
  DrawClosed(p, true);
}

// PolyPolygon and PolyPolyline: counts first, then every figure's points.
void EmfPlayer::Polys(ByteReader& r, bool small, bool closed) {
  r.Skip(16);
  const uint32_t figures = r.U32();
  const uint32_t total = r.U32();
  if (figures > r.Remaining() / 4) throw EReadError();
  std::vector<uint32_t> counts(figures);
  uint64_t sum = 0;
  for (auto& c : counts) sum += (c = r.U32());
  if (sum > total) throw EReadError();
  const QTransform t = ToOutput();
  QPainterPath p;
  for (uint32_t c : counts) {
    const QPolygonF pts = t.map(ReadPoints(r, c, small));
    if (pts.isEmpty()) continue;
    p.addPolygon(pts);
    if (closed) p.closeSubpath();
  }
  if (closed)
    DrawClosed(p, true);
  else
    DrawOpen(p);
}

void EmfPlayer::PolyPolyline(const EmfRecord& rec, ByteReader& r) { Polys(r, rec.type == EMR_POLYPOLYLINE16, false); }
void EmfPlayer::PolyPolygon(const EmfRecord& rec, ByteReader& r) { Polys(r, rec.type == EMR_POLYPOLYGON16, true); }

// Points, then one type byte for each: move, line or Bézier point, possibly closing the figure.
void EmfPlayer::PolyDraw(const EmfRecord& rec, ByteReader& r) {
  r.Skip(16);
  const uint32_t count = r.U32();
  const QPolygonF logical = ReadPoints(r, count, rec.type == EMR_POLYDRAW16);
  const auto types = r.Take(count);
  const QTransform t = ToOutput();
  QPainterPath p(t.map(state_.current));
  QPointF current = state_.current;
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t kind = types[i] & ~PT_CLOSEFIGURE;
    if (kind == PT_MOVETO) {
      p.moveTo(t.map(logical[i]));
    } else if (kind == PT_LINETO) {
      p.lineTo(t.map(logical[i]));
    } else if (kind == PT_BEZIERTO && i + 2 < count) {
      p.cubicTo(t.map(logical[i]), t.map(logical[i + 1]), t.map(logical[i + 2]));
      i += 2;
    } else {
      return;  // a type the record may not hold: the system refuses the whole record
    }
    current = logical[i];
    if (types[i] & PT_CLOSEFIGURE) p.closeSubpath();
  }
  state_.current = current;
  DrawOpen(p);
}

void EmfPlayer::Rectangle(const EmfRecord&, ByteReader& r) { DrawClosed(BoxPath(ReadRectL(r), true), true); }

void EmfPlayer::RoundRect(const EmfRecord&, ByteReader& r) {
  const QRectF box = ReadRectL(r).normalized();
  const double cx = r.I32(), cy = r.I32();
  QPainterPath p;
  p.addRoundedRect(box, std::min(std::fabs(cx) / 2, box.width() / 2), std::min(std::fabs(cy) / 2, box.height() / 2));
  DrawClosed(ToOutput().map(p), true);
}

void EmfPlayer::Ellipse(const EmfRecord&, ByteReader& r) {
  const QRectF box = ReadRectL(r).normalized();
  const QTransform t = ToOutput();
  QPainterPath p;
  if (AxisAligned(t) && !path_.Open()) {
    QRectF o = t.mapRect(box);
    o.adjust(0, 0, o.width() >= 1 ? -1 : 0, o.height() >= 1 ? -1 : 0);
    p.addEllipse(o);
  } else {
    QPainterPath l;
    l.addEllipse(box);
    p = t.map(l);
  }
  DrawClosed(p, true);
}

void EmfPlayer::Arc(const EmfRecord&, ByteReader& r) {
  const QRectF box = ReadRectL(r);
  const QPointF s = ReadPointL(r), e = ReadPointL(r);
  DrawOpen(ArcPath(box, s, e, 0, false));
}

void EmfPlayer::ArcTo(const EmfRecord&, ByteReader& r) {
  const QRectF box = ReadRectL(r);
  const QPointF s = ReadPointL(r), e = ReadPointL(r);
  const QPainterPath p = ArcPath(box, s, e, 0, true);
  DrawOpen(p);
  const QTransform inv = ToOutput().inverted();
  state_.current = inv.map(p.currentPosition());
}

void EmfPlayer::Chord(const EmfRecord&, ByteReader& r) {
  const QRectF box = ReadRectL(r);
  const QPointF s = ReadPointL(r), e = ReadPointL(r);
  DrawClosed(ArcPath(box, s, e, 1, false), true);
}

void EmfPlayer::Pie(const EmfRecord&, ByteReader& r) {
  const QRectF box = ReadRectL(r);
  const QPointF s = ReadPointL(r), e = ReadPointL(r);
  DrawClosed(ArcPath(box, s, e, 2, false), true);
}

void EmfPlayer::AngleArc(const EmfRecord&, ByteReader& r) {
  const QPointF c = ReadPointL(r);
  const double radius = r.U32();
  const double start = ReadFloat(r), sweep = ReadFloat(r);
  const QRectF box(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
  QPainterPath l(state_.current);
  l.arcTo(box, start, std::clamp(sweep, -3600.0, 3600.0));
  state_.current = l.currentPosition();
  DrawOpen(ToOutput().map(l));
}

void EmfPlayer::SetPixelV(const EmfRecord&, ByteReader& r) {
  const QPointF p = Map(ReadPointL(r));
  const COLORREF c = r.U32() & 0xFFFFFF;
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.fillRect(QRectF(std::floor(p.x()), std::floor(p.y()), 1, 1), ToQColor(c));
}

// ---- paths -------------------------------------------------------------------------------

void EmfPlayer::SetMiterLimit(const EmfRecord&, ByteReader& r) {
  const uint32_t limit = r.U32();
  if (limit >= 1 && limit <= 1000) miterLimit_ = limit;
}

void EmfPlayer::BeginPath(const EmfRecord&, ByteReader&) { path_.Begin(); }
void EmfPlayer::EndPath(const EmfRecord&, ByteReader&) { path_.End(); }
void EmfPlayer::CloseFigure(const EmfRecord&, ByteReader&) { path_.CloseFigure(); }
void EmfPlayer::AbortPath(const EmfRecord&, ByteReader&) { path_.Abort(); }

void EmfPlayer::FillPathRecord(const EmfRecord&, ByteReader&) {
  if (path_.Open() || !path_.HasPath()) return;
  QPainterPath p = path_.Take();
  p.closeSubpath();
  FillPath(p);
}

void EmfPlayer::StrokePathRecord(const EmfRecord&, ByteReader&) {
  if (path_.Open() || !path_.HasPath()) return;
  StrokePath(path_.Take());
}

void EmfPlayer::StrokeAndFillPath(const EmfRecord&, ByteReader&) {
  if (path_.Open() || !path_.HasPath()) return;
  QPainterPath p = path_.Take();
  p.closeSubpath();
  FillPath(p);
  StrokePath(p);
}

void EmfPlayer::SelectClipPath(const EmfRecord&, ByteReader& r) {
  const int32_t mode = r.I32();
  if (path_.Open() || !path_.HasPath()) return;
  QPainterPath p = path_.Take();
  p.setFillRule(state_.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  QRegion region;
  for (const QPolygonF& poly : p.toFillPolygons())
    region = region.xored(QRegion(poly.toPolygon(), state_.polyFillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
  CombineClip(region, mode);
}

// ---- clipping ----------------------------------------------------------------------------

void EmfPlayer::IntersectClipRect(const EmfRecord&, ByteReader& r) { CombineClip(RectRegion(ReadRectL(r)), RGN_AND); }
void EmfPlayer::ExcludeClipRect(const EmfRecord&, ByteReader& r) { CombineClip(RectRegion(ReadRectL(r)), RGN_DIFF); }

void EmfPlayer::OffsetClipRgn(const EmfRecord&, ByteReader& r) {
  const QPointF d = ReadPointL(r);
  if (!state_.clip) return;
  const QTransform t = ToOutput();
  const QPointF o = t.map(d) - t.map(QPointF(0, 0));
  state_.clip->translate(static_cast<int>(std::lround(std::clamp(o.x(), -1e8, 1e8))),
                         static_cast<int>(std::lround(std::clamp(o.y(), -1e8, 1e8))));
  ApplyClip();
}

// Region data: a 32-byte header (size, type, count, size of the rectangles, bounds) and the
// rectangles, in the recording's device units.
QRegion EmfPlayer::ReadRegion(ByteReader& r, uint32_t size) const {
  if (size < 32 || size > r.Remaining()) throw EReadError();
  r.Skip(8);
  const uint32_t count = r.U32();
  r.Skip(20);
  if (count > (size - 32) / 16) throw EReadError();
  QList<QRect> rects;
  rects.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const QRectF d = deviceToOutput_.mapRect(ReadRectL(r).normalized());
    const int l = static_cast<int>(std::lround(std::clamp(d.left(), -1e8, 1e8)));
    const int t = static_cast<int>(std::lround(std::clamp(d.top(), -1e8, 1e8)));
    const int rt = static_cast<int>(std::lround(std::clamp(d.right(), -1e8, 1e8)));
    const int b = static_cast<int>(std::lround(std::clamp(d.bottom(), -1e8, 1e8)));
    if (rt > l && b > t) rects.push_back(QRect(QPoint(l, t), QPoint(rt - 1, b - 1)));
  }
  QRegion region;
  region.setRects(rects.constData(), static_cast<int>(rects.size()));
  // setRects wants sorted, non-overlapping bands; uniting one by one is the safe way.
  if (region.rectCount() != rects.size()) {
    region = QRegion();
    for (const QRect& q : rects) region += q;
  }
  return region;
}

void EmfPlayer::ExtSelectClipRgn(const EmfRecord&, ByteReader& r) {
  const uint32_t size = r.U32();
  const int32_t mode = r.I32();
  if (mode == RGN_COPY && size < 32) {
    state_.clip.reset();  // back to no clipping of the metafile's own
    ApplyClip();
    return;
  }
  CombineClip(ReadRegion(r, size), mode);
}

// The current clip becomes part of the meta region, and the clip itself starts over.
void EmfPlayer::SetMetaRgn(const EmfRecord&, ByteReader&) {
  if (state_.clip) state_.metaClip = state_.metaClip ? state_.metaClip->intersected(*state_.clip) : *state_.clip;
  state_.clip.reset();
  ApplyClip();
}

void EmfPlayer::InvertRgn(const EmfRecord&, ByteReader& r) {
  r.Skip(16);
  const uint32_t size = r.U32();
  const QRegion region = ReadRegion(r, size);
  painter_.save();
  painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
  for (const QRect& q : region) painter_.fillRect(q, Qt::black);
  painter_.restore();
}

// The outline of a region in a brush, the stroke's width and height given in logical units.
void EmfPlayer::FrameRgn(const EmfRecord&, ByteReader& r) {
  r.Skip(16);
  const uint32_t size = r.U32();
  const EmfObject o = objects_.Get(r.U32());
  const double w = r.I32(), h = r.I32();
  const QRegion region = ReadRegion(r, size);
  if (o.kind != EmfObjectKind::Brush) return;
  const QTransform t = ToOutput();
  const int dx = std::max(1, static_cast<int>(std::lround(std::min(std::fabs(w * t.m11()), 1e4))));
  const int dy = std::max(1, static_cast<int>(std::lround(std::min(std::fabs(h * t.m22()), 1e4))));
  // The frame: the region less the region shrunk by the stroke on every side.
  QRegion inner = region;
  inner &= region.translated(dx, 0);
  inner &= region.translated(-dx, 0);
  inner &= region.translated(0, dy);
  inner &= region.translated(0, -dy);
  const auto keep = state_.brush;
  state_.brush = o.brush;
  QPainterPath p;
  p.addRegion(region.subtracted(inner));
  FillPath(p);
  state_.brush = keep;
}

void EmfPlayer::FillRgn(const EmfRecord&, ByteReader& r) {
  r.Skip(16);
  const uint32_t size = r.U32();
  const EmfObject o = objects_.Get(r.U32());
  const QRegion region = ReadRegion(r, size);
  if (o.kind != EmfObjectKind::Brush) return;
  const auto keep = state_.brush;
  state_.brush = o.brush;
  QPainterPath p;
  p.addRegion(region);
  FillPath(p);
  state_.brush = keep;
}

void EmfPlayer::PaintRgn(const EmfRecord&, ByteReader& r) {
  r.Skip(16);
  const uint32_t size = r.U32();
  QPainterPath p;
  p.addRegion(ReadRegion(r, size));
  FillPath(p);
}

// ---- text --------------------------------------------------------------------------------

void EmfPlayer::ExtTextOut(const EmfRecord& rec, ByteReader& r, bool wide) {
  r.Skip(16 + 12);  // bounds, graphics mode, scales
  EmfTextRun run;
  run.reference = ReadPointL(r);
  const uint32_t chars = r.U32();
  const uint32_t offString = r.U32();
  run.options = r.U32();
  run.rect = ReadRectL(r);
  const uint32_t offDx = r.U32();
  const size_t charSize = wide ? 2 : 1;
  ByteReader s(rec.bytes);
  s.Seek(offString);
  if (chars > s.Remaining() / charSize) throw EReadError();
  if (wide) {
    std::u16string text(chars, u'\0');
    for (auto& c : text) c = s.U16();
    run.text = QString::fromStdU16String(text);
  } else {
    const auto bytes = s.Take(chars);
    run.text = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  }
  if (offDx != 0 && chars > 0) {
    ByteReader d(rec.bytes);
    d.Seek(offDx);
    const uint32_t step = (run.options & ETO_PDY) ? 2 : 1;
    if (chars > d.Remaining() / (4 * step)) throw EReadError();
    run.dx.resize(chars);
    for (auto& v : run.dx) {
      v = d.I32();
      if (step == 2) d.Skip(4);
    }
  }
  DrawRun(run);
}

void EmfPlayer::DrawRun(EmfTextRun& run) {
  if (path_.Open()) return;  // text in a path bracket would add glyph outlines; not drawn
  ApplyRop2();
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  text_.Draw(painter_, state_, ToOutput(), run);
}

// The compact text record: reference point, count, options, then an optional rectangle and
// 8- or 16-bit characters.
void EmfPlayer::SmallTextOut(const EmfRecord&, ByteReader& r) {
  EmfTextRun run;
  run.reference = ReadPointL(r);
  const uint32_t chars = r.U32();
  run.options = r.U32();
  r.Skip(12);  // graphics mode, scales
  if (!(run.options & ETO_NO_RECT)) run.rect = ReadRectL(r);
  const bool small = run.options & ETO_SMALL_CHARS;
  if (chars > r.Remaining() / (small ? 1 : 2)) throw EReadError();
  if (small) {
    const auto bytes = r.Take(chars);
    run.text = QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  } else {
    std::u16string text(chars, u'\0');
    for (auto& c : text) c = r.U16();
    run.text = QString::fromStdU16String(text);
  }
  run.options &= ~(ETO_SMALL_CHARS | ETO_NO_RECT);
  DrawRun(run);
}

void EmfPlayer::ExtTextOutW(const EmfRecord& rec, ByteReader& r) { ExtTextOut(rec, r, true); }
void EmfPlayer::ExtTextOutA(const EmfRecord& rec, ByteReader& r) { ExtTextOut(rec, r, false); }

// ---- bitmaps -----------------------------------------------------------------------------

void EmfPlayer::DrawBitmap(const QImage& image, const QRectF& destLogical, const QRectF& src, uint32_t rop) {
  if (destLogical.width() == 0 || destLogical.height() == 0) return;
  painter_.save();
  const QTransform t = ToOutput();
  // The bitmap is placed through the whole mapping, mirrored when the destination is.
  painter_.setTransform(t);
  QRectF dest = destLogical;
  QImage img = image;
  QRectF s = src;
  if (!img.isNull() && (dest.width() < 0 || dest.height() < 0)) {
    const bool mx = dest.width() < 0, my = dest.height() < 0;
    img = image.copy(src.toAlignedRect()).mirrored(mx, my);
    s = QRectF(0, 0, img.width(), img.height());
    dest = dest.normalized();
  }
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  EmfBitmap::Blit(painter_, img, dest, s, rop, MakeBrush());
  painter_.restore();
}

// BitBlt and StretchBlt: a source bitmap (or none, for pattern operations) with its own
// transform, which these records rarely use beyond offsets.
void EmfPlayer::BlitRecord(const EmfRecord& rec, ByteReader& r, bool stretch, bool transparent) {
  r.Skip(16);
  const double x = r.I32(), y = r.I32(), cx = r.I32(), cy = r.I32();
  uint32_t rop = r.U32();
  const double xSrc = r.I32(), ySrc = r.I32();
  r.Skip(24 + 4);  // source transform, source background colour
  EmfBitmapFields f;
  f.usage = r.U32();
  f.offBmi = r.U32();
  f.cbBmi = r.U32();
  f.offBits = r.U32();
  f.cbBits = r.U32();
  double cxSrc = cx, cySrc = cy;
  if (stretch) {
    cxSrc = r.I32();
    cySrc = r.I32();
  }
  QImage image = f.cbBmi ? EmfBitmap::Decode(rec.bytes, f) : QImage();
  if (f.cbBmi && image.isNull()) return;
  if (transparent) {
    // The field of the raster operation holds the colour that is left out.
    if (image.isNull()) return;
    image = EmfBitmap::WithoutColour(image, qRgb(GetRValue(rop), GetGValue(rop), GetBValue(rop)));
    rop = SRCCOPY;
  }
  DrawBitmap(image, QRectF(x, y, cx, cy), QRectF(xSrc, ySrc, cxSrc, cySrc), rop & 0xFFFFFF);
}

void EmfPlayer::TransparentBlt(const EmfRecord& rec, ByteReader& r) { BlitRecord(rec, r, true, true); }

// Vertices with 16-bit colours, then rectangles (two vertex indexes) or triangles (three).
void EmfPlayer::GradientFill(const EmfRecord&, ByteReader& r) {
  r.Skip(16);
  const uint32_t vertices = r.U32();
  const uint32_t shapes = r.U32();
  const uint32_t mode = r.U32();
  if (vertices > r.Remaining() / 16) throw EReadError();
  struct Vertex {
    QPointF p;
    QColor c;
  };
  std::vector<Vertex> v(vertices);
  const QTransform t = ToOutput();
  for (auto& e : v) {
    e.p = t.map(ReadPointL(r));
    const int red = r.U16() >> 8, green = r.U16() >> 8, blue = r.U16() >> 8;
    r.Skip(2);
    e.c = QColor(red, green, blue);
  }
  const uint32_t per = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
  if (shapes > r.Remaining() / (4 * per)) throw EReadError();
  painter_.save();
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_.setPen(Qt::NoPen);
  for (uint32_t i = 0; i < shapes; ++i) {
    uint32_t idx[3] = {0, 0, 0};
    for (uint32_t k = 0; k < per; ++k) idx[k] = r.U32();
    if (idx[0] >= vertices || idx[1] >= vertices || idx[2] >= vertices) continue;
    const Vertex &a = v[idx[0]], &b = v[idx[1]];
    if (mode == GRADIENT_FILL_TRIANGLE) {
      // Three colours: the average colour stands for the blend.
      const Vertex& c = v[idx[2]];
      painter_.setBrush(QColor((a.c.red() + b.c.red() + c.c.red()) / 3, (a.c.green() + b.c.green() + c.c.green()) / 3,
                               (a.c.blue() + b.c.blue() + c.c.blue()) / 3));
      painter_.drawPolygon(QPolygonF({a.p, b.p, c.p}));
      continue;
    }
    const QRectF box = QRectF(a.p, b.p).normalized();
    QLinearGradient g(a.p, mode == GRADIENT_FILL_RECT_H ? QPointF(b.p.x(), a.p.y()) : QPointF(a.p.x(), b.p.y()));
    g.setColorAt(0, a.c);
    g.setColorAt(1, b.c);
    painter_.fillRect(box, g);
  }
  painter_.restore();
}

void EmfPlayer::BitBlt(const EmfRecord& rec, ByteReader& r) { BlitRecord(rec, r, false); }
void EmfPlayer::StretchBlt(const EmfRecord& rec, ByteReader& r) { BlitRecord(rec, r, true); }

void EmfPlayer::StretchDIBits(const EmfRecord& rec, ByteReader& r) {
  r.Skip(16);
  const double x = r.I32(), y = r.I32(), xSrc = r.I32(), ySrc = r.I32(), cxSrc = r.I32(), cySrc = r.I32();
  EmfBitmapFields f;
  f.offBmi = r.U32();
  f.cbBmi = r.U32();
  f.offBits = r.U32();
  f.cbBits = r.U32();
  f.usage = r.U32();
  const uint32_t rop = r.U32();
  const double cx = r.I32(), cy = r.I32();
  bool bottomUp = false;
  const QImage image = f.cbBmi ? EmfBitmap::Decode(rec.bytes, f, false, &bottomUp) : QImage();
  if (f.cbBmi && image.isNull()) return;
  // The source rectangle counts rows from the bitmap's bottom for a bottom-up bitmap; the
  // decoded image is top-down, so the rectangle turns over.
  QRectF src(xSrc, ySrc, cxSrc, cySrc);
  if (bottomUp) src.moveTop(image.height() - ySrc - cySrc);
  DrawBitmap(image, QRectF(x, y, cx, cy), src, rop & 0xFFFFFF);
}

void EmfPlayer::SetDIBitsToDevice(const EmfRecord& rec, ByteReader& r) {
  r.Skip(16);
  const double x = r.I32(), y = r.I32(), xSrc = r.I32(), ySrc = r.I32(), cx = r.I32(), cy = r.I32();
  EmfBitmapFields f;
  f.offBmi = r.U32();
  f.cbBmi = r.U32();
  f.offBits = r.U32();
  f.cbBits = r.U32();
  f.usage = r.U32();
  bool bottomUp = false;
  const QImage image = EmfBitmap::Decode(rec.bytes, f, false, &bottomUp);
  if (image.isNull()) return;
  QRectF src(xSrc, bottomUp ? image.height() - ySrc - cy : ySrc, cx, cy);
  DrawBitmap(image, QRectF(x, y, cx, cy), src, SRCCOPY);
}

void EmfPlayer::AlphaBlend(const EmfRecord& rec, ByteReader& r) {
  r.Skip(16);
  const double x = r.I32(), y = r.I32(), cx = r.I32(), cy = r.I32();
  const uint32_t blend = r.U32();
  const double xSrc = r.I32(), ySrc = r.I32();
  r.Skip(24 + 4);
  EmfBitmapFields f;
  f.usage = r.U32();
  f.offBmi = r.U32();
  f.cbBmi = r.U32();
  f.offBits = r.U32();
  f.cbBits = r.U32();
  const double cxSrc = r.I32(), cySrc = r.I32();
  // The blend function: operation, flags, constant alpha, format (1: per-pixel alpha).
  const int constantAlpha = (blend >> 16) & 0xFF;
  const bool perPixel = ((blend >> 24) & 0xFF) == 1;
  QImage image = EmfBitmap::Decode(rec.bytes, f, perPixel);
  if (image.isNull()) return;
  painter_.save();
  painter_.setTransform(ToOutput());
  painter_.setOpacity(constantAlpha / 255.0);
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (perPixel) {
    // Source pixels are premultiplied already in the record.
    image.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
  }
  painter_.drawImage(QRectF(x, y, cx, cy).normalized(), image, QRectF(xSrc, ySrc, cxSrc, cySrc));
  painter_.restore();
}

}  // namespace gdi::emf
