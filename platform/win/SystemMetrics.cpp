#include "platform/win/SystemMetrics.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "platform/gdi/DeviceCaps.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Form.h"

namespace {

// The classic frame of a window: a one-pixel border, a three-pixel dialog frame and a
// four-pixel sizing frame.
constexpr int kBorder = 1;
constexpr int kDialogFrame = 3;
constexpr int kSizingFrame = 4;

QWidget* MainWidget() {
  if (Application == nullptr || Application->MainForm() == nullptr) return nullptr;
  return Application->MainForm()->Widget();
}

}  // namespace

int GetSystemMetrics(int index) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  switch (index) {
    case SM_CXSCREEN:
      return screen ? screen->geometry().width() : 0;
    case SM_CYSCREEN:
      return screen ? screen->geometry().height() : 0;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return kBorder;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return kDialogFrame;
    case SM_CXFRAME:
    case SM_CYFRAME:
      return kSizingFrame;
    default:
      return 0;
  }
}

int ScreenPixelsPerInch() { return gdi::ScreenLogPixelsY(); }

bool IsApplicationMinimized() {
  const QWidget* w = MainWidget();
  return w != nullptr && w->isVisible() && w->isMinimized();
}

void PostApplicationMinimize() {
  QPointer<QWidget> target = MainWidget();
  QTimer::singleShot(0, qApp, [target] {
    if (target && target->isVisible()) target->showMinimized();
  });
}
