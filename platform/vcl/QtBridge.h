#pragma once
// Internal to the control library: conversions between the controls' values and Qt's, the
// link from a widget back to its control, and the widget template that forwards keys,
// mouse buttons and focus changes to the control.

#include <QColor>
#include <QEvent>
#include <QFocusEvent>
#include <QFont>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/gdi/Dib.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Control.h"
#include "platform/vcl/Font.h"
#include "platform/vcl/WinControl.h"

namespace vcl::bridge {

inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string S(const QString& s) { return s.toUtf8().toStdString(); }
inline QColor ToQColor(gdi::COLORREF c) { return QColor(gdi::GetRValue(c), gdi::GetGValue(c), gdi::GetBValue(c)); }
QFont ToQFont(const TFont& font);
Qt::CursorShape ToQtCursor(TCursor cursor);
// 0 when the key has no virtual code here.
uint16_t VirtualKey(const QKeyEvent& event);
TShiftState Shift(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);
// A view of a 32-bit top-down store as an image (no copy; the store must outlive it).
QImage SurfaceImage(gdi::Dib& surface);
// Makes sure the store is a 32-bit top-down one of that size (at least 1 x 1).
void EnsureSurface(std::unique_ptr<gdi::Dib>& surface, int width, int height);

void Link(QWidget* widget, TControl* control);
TControl* ControlOf(const QObject* object);

// A widget of the given Qt kind that reports keys, mouse buttons and focus to its control.
template <class Base>
class ControlWidget : public Base {
 public:
  template <class... Args>
  explicit ControlWidget(TControl* control, Args&&... args) : Base(std::forward<Args>(args)...), control_(control) {
    Link(this, control);
  }
  TControl* Control() const { return control_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (auto* wc = dynamic_cast<TWinControl*>(control_)) {
      uint16_t key = VirtualKey(*e);
      if (key != 0) {
        SafeCall([&] { wc->KeyDown(key, Shift(e->modifiers())); });
        if (key == 0) {
          e->accept();
          return;
        }
      }
      const QString text = e->text();
      if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F) {
        char ch = static_cast<char>(text[0].unicode());
        SafeCall([&] { wc->KeyPress(ch); });
        if (ch == 0) {
          e->accept();
          return;
        }
      }
    }
    Base::keyPressEvent(e);
  }
  void keyReleaseEvent(QKeyEvent* e) override {
    if (auto* wc = dynamic_cast<TWinControl*>(control_)) {
      uint16_t key = VirtualKey(*e);
      if (key != 0) {
        SafeCall([&] { wc->KeyUp(key, Shift(e->modifiers())); });
        if (key == 0) {
          e->accept();
          return;
        }
      }
    }
    Base::keyReleaseEvent(e);
  }
  void mousePressEvent(QMouseEvent* e) override {
    Base::mousePressEvent(e);
    Mouse(control_->OnMouseDown, e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    Base::mouseReleaseEvent(e);
    Mouse(control_->OnMouseUp, e);
  }
  void focusInEvent(QFocusEvent* e) override {
    Base::focusInEvent(e);
    if (auto* wc = dynamic_cast<TWinControl*>(control_); wc && wc->OnEnter) SafeCall([&] { wc->OnEnter(wc); });
  }
  void focusOutEvent(QFocusEvent* e) override {
    Base::focusOutEvent(e);
    if (auto* wc = dynamic_cast<TWinControl*>(control_); wc && wc->OnExit) SafeCall([&] { wc->OnExit(wc); });
  }

  TControl* control_;

 private:
  void Mouse(const TMouseEvent& handler, QMouseEvent* e) {
    if (!handler) return;
    TMouseButton b = e->button() == Qt::RightButton    ? TMouseButton::mbRight
                     : e->button() == Qt::MiddleButton ? TMouseButton::mbMiddle
                                                       : TMouseButton::mbLeft;
    const QPoint p = e->position().toPoint();
    SafeCall([&] { handler(control_, b, Shift(e->modifiers(), e->buttons()), p.x(), p.y()); });
  }
};

}  // namespace vcl::bridge
