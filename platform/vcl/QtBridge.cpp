#include "platform/vcl/QtBridge.h"

#include <QVariant>

#include "platform/gdi/DeviceCaps.h"

namespace vcl::bridge {

namespace {
constexpr const char* kControlProperty = "mireluneControl";
}

QFont ToQFont(const TFont& font) {
  QFont f(Q(font.Name()));
  // A negative height is the character height (the em size); a positive one the cell height,
  // of which the em takes about 80 percent for the usual faces.
  const int h = font.Height();
  const int px = h < 0 ? -h : (h * 4 + 2) / 5;
  f.setPixelSize(px > 0 ? px : 1);
  f.setBold(font.Bold());
  f.setItalic(font.Italic());
  f.setStyleStrategy(QFont::PreferDefault);
  return f;
}

Qt::CursorShape ToQtCursor(TCursor cursor) {
  switch (cursor) {
    case TCursor::crHourGlass: return Qt::WaitCursor;
    case TCursor::crHSplit: return Qt::SplitHCursor;
    case TCursor::crVSplit: return Qt::SplitVCursor;
    case TCursor::crSizeWE: return Qt::SizeHorCursor;
    case TCursor::crSizeNS: return Qt::SizeVerCursor;
    case TCursor::crHandPoint: return Qt::PointingHandCursor;
    case TCursor::crDefault:
    case TCursor::crArrow: break;
  }
  return Qt::ArrowCursor;
}

uint16_t VirtualKey(const QKeyEvent& event) {
  const int k = event.key();
  if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return static_cast<uint16_t>(k);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F12) return static_cast<uint16_t>(VK_F1 + (k - Qt::Key_F1));
  switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    default: return 0;
  }
}

TShiftState Shift(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

QImage SurfaceImage(gdi::Dib& surface) {
  return QImage(surface.Bits(), surface.Width(), surface.Height(), static_cast<qsizetype>(surface.Stride()),
                QImage::Format_RGB32);
}

void EnsureSurface(std::unique_ptr<gdi::Dib>& surface, int width, int height) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (surface && surface->Width() == width && surface->Height() == height) return;
  gdi::DibHeader h;
  h.width = width;
  h.height = -height;
  h.bitCount = 32;
  surface = gdi::Dib::Create(h);
  if (!surface) throw EOutOfResources();
}

void Link(QWidget* widget, TControl* control) {
  widget->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(control)));
}

TControl* ControlOf(const QObject* object) {
  if (!object) return nullptr;
  const QVariant v = object->property(kControlProperty);
  return v.isValid() ? static_cast<TControl*>(v.value<void*>()) : nullptr;
}

}  // namespace vcl::bridge
