#include "platform/gdi/EmfDcState.h"

#include <cmath>

#include "platform/gdi/EmfConstants.h"
#include "platform/gdi/EmfObjectTable.h"

namespace gdi::emf {

namespace {

// Logical units per millimetre of the fixed mapping modes.
double UnitsPerMm(int mode) {
  switch (mode) {
    case MM_LOMETRIC: return 10.0;
    case MM_HIMETRIC: return 100.0;
    case MM_LOENGLISH: return 100.0 / 25.4;
    case MM_HIENGLISH: return 1000.0 / 25.4;
    case MM_TWIPS: return 1440.0 / 25.4;
    default: return 0;
  }
}

bool Usable(QSizeF s) { return s.width() != 0 && s.height() != 0 && std::isfinite(s.width()) && std::isfinite(s.height()); }

}  // namespace

EmfDcState::EmfDcState() {
  pen = EmfObjectTable::Stock(BLACK_PEN).pen;
  brush = EmfObjectTable::Stock(WHITE_BRUSH).brush;
  font = EmfObjectTable::Stock(DEVICE_DEFAULT_FONT).font;
}

QSizeF EmfDcState::EffectiveWindowExt(const EmfReference& ref) const {
  const double u = UnitsPerMm(mapMode_);
  if (u > 0) return QSizeF(u, u);  // one millimetre, over the viewport's pixels for it
  if (mapMode_ == MM_TEXT) return QSizeF(1, 1);
  (void)ref;
  return windowExt_;
}

QSizeF EmfDcState::EffectiveViewportExt(const EmfReference& ref) const {
  if (UnitsPerMm(mapMode_) > 0) return QSizeF(ref.pixelsPerMmX, -ref.pixelsPerMmY);
  if (mapMode_ == MM_TEXT) return QSizeF(1, 1);
  if (mapMode_ == MM_ISOTROPIC && Usable(windowExt_)) {
    // Same unit size both ways: the smaller scale wins, each axis keeps its sign.
    const double sx = viewportExt_.width() / windowExt_.width();
    const double sy = viewportExt_.height() / windowExt_.height();
    const double s = std::min(std::fabs(sx), std::fabs(sy));
    return QSizeF(std::copysign(s, sx) * windowExt_.width(), std::copysign(s, sy) * windowExt_.height());
  }
  return viewportExt_;
}

void EmfDcState::SetMapMode(int mode, const EmfReference& ref) {
  if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return;
  if (mode == MM_ISOTROPIC) {
    // The system starts an isotropic mapping from the extents of MM_LOMETRIC.
    windowExt_ = QSizeF(10, 10);
    viewportExt_ = QSizeF(ref.pixelsPerMmX, -ref.pixelsPerMmY);
  } else if (mode == MM_ANISOTROPIC && mapMode_ != MM_ISOTROPIC) {
    windowExt_ = EffectiveWindowExt(ref);
    viewportExt_ = EffectiveViewportExt(ref);
  }
  mapMode_ = mode;
}

void EmfDcState::SetWindowExt(QSizeF s) {
  if ((mapMode_ == MM_ISOTROPIC || mapMode_ == MM_ANISOTROPIC) && Usable(s)) windowExt_ = s;
}

void EmfDcState::SetViewportExt(QSizeF s) {
  if ((mapMode_ == MM_ISOTROPIC || mapMode_ == MM_ANISOTROPIC) && Usable(s)) viewportExt_ = s;
}

void EmfDcState::ScaleWindowExt(double xNum, double xDen, double yNum, double yDen) {
  if (xDen == 0 || yDen == 0) return;
  SetWindowExt(QSizeF(windowExt_.width() * xNum / xDen, windowExt_.height() * yNum / yDen));
}

void EmfDcState::ScaleViewportExt(double xNum, double xDen, double yNum, double yDen) {
  if (xDen == 0 || yDen == 0) return;
  SetViewportExt(QSizeF(viewportExt_.width() * xNum / xDen, viewportExt_.height() * yNum / yDen));
}

QTransform EmfDcState::PageToDevice(const EmfReference& ref) const {
  const QSizeF we = EffectiveWindowExt(ref);
  const QSizeF ve = EffectiveViewportExt(ref);
  const double sx = Usable(we) ? ve.width() / we.width() : 1;
  const double sy = Usable(we) ? ve.height() / we.height() : 1;
  // device = (logical - windowOrg) * scale + viewportOrg
  return QTransform(sx, 0, 0, sy, viewportOrg_.x() - windowOrg_.x() * sx, viewportOrg_.y() - windowOrg_.y() * sy);
}

}  // namespace gdi::emf
