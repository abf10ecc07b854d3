#include "platform/win/WindowPlacement.h"

#include <QEvent>
#include <QWindowStateChangeEvent>
#include <QGuiApplication>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QVariant>
#include <QWidget>

#include "platform/vcl/Form.h"

namespace {

// The window keeps what Qt has no notion of as properties of its widget.
constexpr const char* kMinPosition = "mirelune.minPosition";
constexpr const char* kMaxPosition = "mirelune.maxPosition";
constexpr const char* kMinPositionSet = "mirelune.minPositionSet";

// Work-area coordinates start at the top-left corner of the primary screen's available area.
QPoint WorkAreaOrigin() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry().topLeft() : QPoint(0, 0);
}

TPoint PointProperty(const QWidget* w, const char* name) {
  const QVariant v = w->property(name);
  if (!v.isValid()) return TPoint{-1, -1};
  const QPoint p = v.toPoint();
  return TPoint{p.x(), p.y()};
}

// The outer rectangle as the file keeps it: the inside of the window with the classic frame
// around it (4 pixels a side, a 30-pixel title bar), whatever frame the window manager draws.
// A window placed by it gets its inside exactly where it was, under any window manager.
constexpr TFrameExtents kNominalFrame{};

TRect OuterRect(const TForm& form) {
  const TFrameExtents f = form.Frame();
  const TFrameExtents& n = kNominalFrame;
  return Rect(form.Left() + f.Left - n.Left, form.Top() + f.Top - n.Top,
              form.Left() + form.Width() - f.Right + n.Right, form.Top() + form.Height() - f.Bottom + n.Bottom);
}

// The form's own bounds (with the frame it knows) for an outer rectangle as the file keeps it.
TRect FormBoundsFor(const TForm& form, const TRect& outer) {
  const TFrameExtents f = form.Frame();
  const TFrameExtents& n = kNominalFrame;
  return Rect(outer.Left + n.Left - f.Left, outer.Top + n.Top - f.Top, outer.Right - n.Right + f.Right,
              outer.Bottom - n.Bottom + f.Bottom);
}

bool IsNormalState(Qt::WindowStates states) { return !(states & (Qt::WindowMinimized | Qt::WindowMaximized)); }

// Keeps the window's last normal rectangle (outer, screen coordinates) while it is minimized
// or maximized: Qt's own record of it does not survive the control library's geometry
// updates during a state change.
class NormalRectKeeper : public QObject {
 public:
  NormalRectKeeper(TForm& form, QWidget* widget) : QObject(widget), form_(form), rect_(OuterRect(form)) {
    setObjectName(kKeeperName);
    widget->installEventFilter(this);
  }
  static NormalRectKeeper* Of(const TForm& form) {
    QWidget* w = form.Widget();
    if (!w) return nullptr;
    if (auto* k = w->findChild<NormalRectKeeper*>(kKeeperName, Qt::FindDirectChildrenOnly)) return k;
    return new NormalRectKeeper(const_cast<TForm&>(form), w);  // owned by the widget
  }
  TRect NormalRect() const { return rect_; }
  bool Aside() const { return aside_; }
  void SetRect(const TRect& r) { rect_ = r; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* w = static_cast<QWidget*>(watched);
    switch (event->type()) {
      case QEvent::WindowStateChange:
        // Sent before the window takes its new size: the bounds are still the normal ones.
        // Only the step out of the normal state counts; the window may pass through the
        // normal state for a moment while the toolkit settles a maximized geometry.
        if (IsNormalState(w->windowState())) {
          aside_ = false;
        } else if (!aside_) {
          aside_ = true;
          rect_ = OuterRect(form_);
        }
        break;
      case QEvent::Move:
      case QEvent::Resize:
        if (!aside_ && IsNormalState(w->windowState()) && w->isVisible()) rect_ = OuterRect(form_);
        break;
      default:
        break;
    }
    return false;
  }

 private:
  static constexpr const char* kKeeperName = "mirelune.normalRect";
  TForm& form_;
  TRect rect_;
  bool aside_ = false;  // minimized or maximized since the last normal state
};

// The outer normal rectangle in screen coordinates.
TRect NormalOuterRect(const TForm& form) {
  const NormalRectKeeper* keeper = NormalRectKeeper::Of(form);
  return keeper && keeper->Aside() ? keeper->NormalRect() : OuterRect(form);
}

// The state, also of a window that was hidden while minimized or maximized.
TWindowState CurrentState(const TForm& form) {
  const NormalRectKeeper* keeper = NormalRectKeeper::Of(form);
  if (IsWindowVisible(form) || !keeper || !keeper->Aside()) return form.WindowState();
  const Qt::WindowStates states = form.Widget()->windowState();
  if (states & Qt::WindowMinimized) return TWindowState::wsMinimized;
  if (states & Qt::WindowMaximized) return TWindowState::wsMaximized;
  return form.WindowState();
}

TWindowState StateOf(uint32_t showCmd) {
  switch (showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
      return TWindowState::wsMinimized;
    case SW_SHOWMAXIMIZED:
      return TWindowState::wsMaximized;
    default:
      return TWindowState::wsNormal;
  }
}

void ApplyNormalRect(TForm& form, const TRect& screenRect) {
  const TRect current = NormalOuterRect(form);
  if (current == screenRect) return;
  const TWindowState state = CurrentState(form);
  const bool aside = IsWindowVisible(form) && state != TWindowState::wsNormal;
  // Qt keeps the size to return to only across its own state changes: step out of the
  // state, set the rectangle, step back in.
  if (aside) form.SetWindowState(TWindowState::wsNormal);
  const TRect b = FormBoundsFor(form, screenRect);
  form.SetBounds(b.Left, b.Top, b.Width(), b.Height());
  if (NormalRectKeeper* keeper = NormalRectKeeper::Of(form)) keeper->SetRect(screenRect);
  if (aside) form.SetWindowState(state);
}

}  // namespace

bool IsWindowVisible(const TForm& form) { return form.Widget() != nullptr && form.Widget()->isVisible(); }

TWindowPlacement GetWindowPlacement(const TForm& form) {
  TWindowPlacement wp;
  const QWidget* w = form.Widget();
  const TWindowState state = CurrentState(form);
  wp.showCmd = state == TWindowState::wsMinimized   ? SW_SHOWMINIMIZED
               : state == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED
                                                    : SW_SHOWNORMAL;
  if (w) {
    if (w->property(kMinPositionSet).toBool()) wp.flags |= WPF_SETMINPOSITION;
    if (state == TWindowState::wsMinimized && w->isVisible() && (w->windowState() & Qt::WindowMaximized))
      wp.flags |= WPF_RESTORETOMAXIMIZED;
    wp.ptMinPosition = PointProperty(w, kMinPosition);
    wp.ptMaxPosition = PointProperty(w, kMaxPosition);
  }
  const QPoint origin = WorkAreaOrigin();
  TRect r = NormalOuterRect(form);
  r = Rect(r.Left - origin.x(), r.Top - origin.y(), r.Right - origin.x(), r.Bottom - origin.y());
  wp.rcNormalPosition = r;
  return wp;
}

void SetWindowPlacement(TForm& form, const TWindowPlacement& wp) {
  QWidget* w = form.Widget();
  if (!w) return;
  if (wp.flags & WPF_SETMINPOSITION) {
    w->setProperty(kMinPositionSet, true);
    w->setProperty(kMinPosition, QPoint(wp.ptMinPosition.X, wp.ptMinPosition.Y));
  }
  w->setProperty(kMaxPosition, QPoint(wp.ptMaxPosition.X, wp.ptMaxPosition.Y));

  const QPoint origin = WorkAreaOrigin();
  const TRect& r = wp.rcNormalPosition;
  ApplyNormalRect(form, Rect(r.Left + origin.x(), r.Top + origin.y(), r.Right + origin.x(), r.Bottom + origin.y()));

  if (wp.showCmd == SW_HIDE) {
    if (IsWindowVisible(form)) form.Hide();
    return;
  }
  const TWindowState state = StateOf(wp.showCmd);
  if (CurrentState(form) != state) form.SetWindowState(state);
  if (!IsWindowVisible(form)) form.Show();
}
