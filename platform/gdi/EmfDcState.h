#pragma once
// The device-context state a metafile's records change and SaveDC/RestoreDC keep: mapping
// mode, window and viewport, world transform, selected objects, colours, modes, current
// position and the metafile's own clip region.

#include <QPointF>
#include <QRegion>
#include <QSizeF>
#include <QTransform>
#include <memory>
#include <optional>

#include "platform/gdi/Color.h"
#include "platform/gdi/EmfObjects.h"

namespace gdi::emf {

// The recording device: pixels and millimetres of the reference device.
struct EmfReference {
  double pixelsPerMmX = 1;
  double pixelsPerMmY = 1;
};

class EmfDcState {
 public:
  EmfDcState();

  void SetMapMode(int mode, const EmfReference& ref);
  void SetWindowOrg(QPointF p) { windowOrg_ = p; }
  void SetViewportOrg(QPointF p) { viewportOrg_ = p; }
  // Extents are kept only in the two modes that use them, as the system does.
  void SetWindowExt(QSizeF s);
  void SetViewportExt(QSizeF s);
  void ScaleWindowExt(double xNum, double xDen, double yNum, double yDen);
  void ScaleViewportExt(double xNum, double xDen, double yNum, double yDen);
  int MapMode() const { return mapMode_; }

  // Logical units to the recording's device units.
  QTransform PageToDevice(const EmfReference& ref) const;

  QTransform world;
  std::shared_ptr<const EmfPen> pen;
  std::shared_ptr<const EmfBrush> brush;
  std::shared_ptr<const EmfFont> font;
  COLORREF textColor = kBlack;
  COLORREF bkColor = kWhite;
  int bkMode = 2;          // OPAQUE
  int polyFillMode = 1;    // ALTERNATE
  int rop2 = 13;           // R2_COPYPEN
  int stretchMode = 1;     // BLACKONWHITE
  uint32_t textAlign = 0;  // TA_LEFT | TA_TOP
  int arcDirection = 1;    // AD_COUNTERCLOCKWISE
  QPointF current;         // logical units
  // In output pixels; none while the metafile has not clipped.
  std::optional<QRegion> clip;
  // The meta region (SetMetaRgn): a clip that later clip changes no longer widen.
  std::optional<QRegion> metaClip;

 private:
  QSizeF EffectiveWindowExt(const EmfReference& ref) const;
  QSizeF EffectiveViewportExt(const EmfReference& ref) const;

  int mapMode_ = 1;
  QPointF windowOrg_, viewportOrg_;
  QSizeF windowExt_{1, 1}, viewportExt_{1, 1};
};

}  // namespace gdi::emf
