#pragma once
// The path bracket (BeginPath .. EndPath): figures collected in output pixels while the
// bracket is open, and kept after it closes for filling, stroking or clipping.

#include <QPainterPath>
#include <QPointF>

namespace gdi::emf {

class EmfPath {
 public:
  void Begin();
  void End() {
    open_ = false;
    closed_ = true;
  }
  void Abort();
  bool Open() const { return open_; }
  bool HasPath() const { return closed_ || open_; }

  void MoveTo(QPointF p);
  // Continues the current figure (starting one at the current position when there is none).
  void LineTo(QPointF p, QPointF current);
  void CubicTo(QPointF c1, QPointF c2, QPointF end, QPointF current);
  void CloseFigure();
  // A closed figure of its own (rectangle, ellipse, polygon).
  void AddClosed(const QPainterPath& figure);
  // An open figure of its own (polyline, arc): starts a new figure.
  void AddOpen(const QPainterPath& figure);

  // The path for filling or stroking; taking it ends its life, as the system's does.
  QPainterPath Take();

 private:
  void EnsureFigure(QPointF current);
  QPainterPath path_;
  bool open_ = false;
  bool closed_ = false;
  bool inFigure_ = false;
};

}  // namespace gdi::emf
