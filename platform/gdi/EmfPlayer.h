#pragma once
// Plays an enhanced metafile's records onto a QPainter: one small function per record
// type, chosen from a table; unknown records are skipped, damaged ones end playback.

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QTransform>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/EmfDcState.h"
#include "platform/gdi/EmfObjectTable.h"
#include "platform/gdi/EmfPath.h"
#include "platform/gdi/EmfRecordReader.h"
#include "platform/gdi/EmfText.h"
#include "platform/gdi/EnhMetaFile.h"

class ByteReader;

namespace gdi::emf {

class EmfPlayer {
 public:
  // deviceToOutput maps the recording's device units to the painter's pixels; baseClip is
  // the part of the output that may be drawn on.
  EmfPlayer(QPainter& painter, const EnhMetaHeader& header, const QTransform& deviceToOutput, const QRegion& baseClip);
  void Play(std::span<const uint8_t> bytes);

  // Maps the frame onto the rectangle (right and bottom inclusive), offset by origin.
  static QTransform FrameToRect(const EnhMetaHeader& header, const TRect& rect);

 private:
  using Handler = void (EmfPlayer::*)(const EmfRecord&, ByteReader&);
  static const std::array<Handler, 128>& Handlers();
  // The size of a record type's fixed fields (its type and size words included).
  static const std::array<uint16_t, 128>& MinimumSizes();

  // Geometry helpers
  QTransform ToOutput() const;
  QPointF Map(QPointF logical) const { return ToOutput().map(logical); }
  QRegion RectRegion(const QRectF& logical) const;
  QPainterPath BoxPath(const QRectF& logical, bool shrink) const;
  QPen MakePen() const;
  QBrush MakeBrush() const;
  void ApplyRop2();
  void ApplyClip();
  void CombineClip(const QRegion& region, int mode);
  // Fills and/or outlines a closed figure (output pixels), or adds it to an open path.
  void DrawClosed(const QPainterPath& figure, bool fill);
  void DrawOpen(const QPainterPath& figure);
  void FillPath(const QPainterPath& path);
  void StrokePath(const QPainterPath& path);
  QPainterPath ArcPath(const QRectF& box, QPointF start, QPointF end, int closeKind, bool connect) const;

  // Records
  void Header(const EmfRecord&, ByteReader&);
  void Eof(const EmfRecord&, ByteReader&);
  void PolyBezier(const EmfRecord&, ByteReader&);
  void PolyBezierTo(const EmfRecord&, ByteReader&);
  void Polygon(const EmfRecord&, ByteReader&);
  void Polyline(const EmfRecord&, ByteReader&);
  void PolylineTo(const EmfRecord&, ByteReader&);
  void PolyPolyline(const EmfRecord&, ByteReader&);
  void PolyPolygon(const EmfRecord&, ByteReader&);
  void PolyDraw(const EmfRecord&, ByteReader&);
  void SetWindowExtEx(const EmfRecord&, ByteReader&);
  void SetWindowOrgEx(const EmfRecord&, ByteReader&);
  void SetViewportExtEx(const EmfRecord&, ByteReader&);
  void SetViewportOrgEx(const EmfRecord&, ByteReader&);
  void ScaleViewportExtEx(const EmfRecord&, ByteReader&);
  void ScaleWindowExtEx(const EmfRecord&, ByteReader&);
  void SetMapMode(const EmfRecord&, ByteReader&);
  void SetBkMode(const EmfRecord&, ByteReader&);
  void SetPolyFillMode(const EmfRecord&, ByteReader&);
  void SetRop2(const EmfRecord&, ByteReader&);
  void SetStretchBltMode(const EmfRecord&, ByteReader&);
  void SetTextAlign(const EmfRecord&, ByteReader&);
  void SetTextColor(const EmfRecord&, ByteReader&);
  void SetBkColor(const EmfRecord&, ByteReader&);
  void SetArcDirection(const EmfRecord&, ByteReader&);
  void SetPixelV(const EmfRecord&, ByteReader&);
  void MoveToEx(const EmfRecord&, ByteReader&);
  void LineTo(const EmfRecord&, ByteReader&);
  void SaveDC(const EmfRecord&, ByteReader&);
  void RestoreDC(const EmfRecord&, ByteReader&);
  void SetWorldTransform(const EmfRecord&, ByteReader&);
  void ModifyWorldTransform(const EmfRecord&, ByteReader&);
  void SelectObject(const EmfRecord&, ByteReader&);
  void DeleteObject(const EmfRecord&, ByteReader&);
  void CreatePen(const EmfRecord&, ByteReader&);
  void ExtCreatePen(const EmfRecord&, ByteReader&);
  void CreateBrushIndirect(const EmfRecord&, ByteReader&);
  void CreateDibPatternBrush(const EmfRecord&, ByteReader&);
  void CreatePalette(const EmfRecord&, ByteReader&);
  void ExtCreateFontIndirectW(const EmfRecord&, ByteReader&);
  void Rectangle(const EmfRecord&, ByteReader&);
  void RoundRect(const EmfRecord&, ByteReader&);
  void Ellipse(const EmfRecord&, ByteReader&);
  void Arc(const EmfRecord&, ByteReader&);
  void ArcTo(const EmfRecord&, ByteReader&);
  void Chord(const EmfRecord&, ByteReader&);
  void Pie(const EmfRecord&, ByteReader&);
  void AngleArc(const EmfRecord&, ByteReader&);
  void BeginPath(const EmfRecord&, ByteReader&);
  void EndPath(const EmfRecord&, ByteReader&);
  void CloseFigure(const EmfRecord&, ByteReader&);
  void AbortPath(const EmfRecord&, ByteReader&);
  void FillPathRecord(const EmfRecord&, ByteReader&);
  void StrokePathRecord(const EmfRecord&, ByteReader&);
  void StrokeAndFillPath(const EmfRecord&, ByteReader&);
  void SelectClipPath(const EmfRecord&, ByteReader&);
  void IntersectClipRect(const EmfRecord&, ByteReader&);
  void ExcludeClipRect(const EmfRecord&, ByteReader&);
  void OffsetClipRgn(const EmfRecord&, ByteReader&);
  void ExtSelectClipRgn(const EmfRecord&, ByteReader&);
  void FillRgn(const EmfRecord&, ByteReader&);
  void PaintRgn(const EmfRecord&, ByteReader&);
  void ExtTextOutW(const EmfRecord&, ByteReader&);
  void ExtTextOutA(const EmfRecord&, ByteReader&);
  void BitBlt(const EmfRecord&, ByteReader&);
  void StretchBlt(const EmfRecord&, ByteReader&);
  void StretchDIBits(const EmfRecord&, ByteReader&);
  void SetDIBitsToDevice(const EmfRecord&, ByteReader&);
  void AlphaBlend(const EmfRecord&, ByteReader&);
  void TransparentBlt(const EmfRecord&, ByteReader&);
  void GradientFill(const EmfRecord&, ByteReader&);
  void SmallTextOut(const EmfRecord&, ByteReader&);
  void SetMiterLimit(const EmfRecord&, ByteReader&);
  void SetMetaRgn(const EmfRecord&, ByteReader&);
  void InvertRgn(const EmfRecord&, ByteReader&);
  void FrameRgn(const EmfRecord&, ByteReader&);

  void ExtTextOut(const EmfRecord&, ByteReader&, bool wide);
  void BlitRecord(const EmfRecord&, ByteReader&, bool stretch, bool transparent = false);
  void DrawRun(EmfTextRun& run);
  void DrawBitmap(const QImage& image, const QRectF& destLogical, const QRectF& src, uint32_t rop);
  QRegion ReadRegion(ByteReader& r, uint32_t size) const;
  void Polys(ByteReader&, bool small, bool closed);

  QPainter& painter_;
  EnhMetaHeader header_;
  EmfReference reference_;
  QTransform deviceToOutput_;
  QRegion baseClip_;
  EmfDcState state_;
  std::vector<EmfDcState> saved_;
  EmfObjectTable objects_;
  EmfPath path_;
  EmfText text_;
  double miterLimit_ = 10;
  bool ended_ = false;
};

}  // namespace gdi::emf
