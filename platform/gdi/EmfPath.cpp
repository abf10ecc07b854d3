#include "platform/gdi/EmfPath.h"

namespace gdi::emf {

void EmfPath::Begin() {
  path_ = QPainterPath();
  open_ = true;
  closed_ = false;
  inFigure_ = false;
}

void EmfPath::Abort() {
  path_ = QPainterPath();
  open_ = false;
  closed_ = false;
  inFigure_ = false;
}

void EmfPath::MoveTo(QPointF p) {
  path_.moveTo(p);
  inFigure_ = true;
}

void EmfPath::EnsureFigure(QPointF current) {
  if (!inFigure_) MoveTo(current);
}

void EmfPath::LineTo(QPointF p, QPointF current) {
  EnsureFigure(current);
  path_.lineTo(p);
}

void EmfPath::CubicTo(QPointF c1, QPointF c2, QPointF end, QPointF current) {
  EnsureFigure(current);
  path_.cubicTo(c1, c2, end);
}

void EmfPath::CloseFigure() {
  if (inFigure_) path_.closeSubpath();
  inFigure_ = false;
}

void EmfPath::AddClosed(const QPainterPath& figure) {
  path_.addPath(figure);
  inFigure_ = false;
}

void EmfPath::AddOpen(const QPainterPath& figure) {
  path_.addPath(figure);
  inFigure_ = true;
}

QPainterPath EmfPath::Take() {
  QPainterPath p = path_;
  Abort();
  return p;
}

}  // namespace gdi::emf
