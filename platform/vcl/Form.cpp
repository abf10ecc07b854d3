#include "platform/vcl/Form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "platform/vcl/Application.h"
#include "platform/vcl/Button.h"
#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

namespace {

class FormWidget : public ControlWidget<QWidget> {
 public:
  explicit FormWidget(TForm* form) : ControlWidget<QWidget>(form, nullptr, Qt::Window) {
    setAutoFillBackground(true);
  }
  TForm* Form() const { return static_cast<TForm*>(control_); }

 private:
  void ScheduleFrameCheck() {
    if (frameCheckPending_) return;
    frameCheckPending_ = true;
    QTimer::singleShot(0, this, [this] {
      frameCheckPending_ = false;
      Form()->CheckFrame();
    });
  }
  bool frameCheckPending_ = false;

 protected:

 protected:
  void closeEvent(QCloseEvent* e) override {
    e->ignore();  // the form decides, and hides itself
    SafeCall([this] { Form()->HandleCloseRequest(); });
  }
  void moveEvent(QMoveEvent* e) override {
    QWidget::moveEvent(e);
    Form()->HandleFrameMoved(geometry().x(), geometry().y());
  }
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    Form()->HandleClientResized(e->size().width(), e->size().height());
  }
  bool event(QEvent* e) override {
    // The window manager tells the frame it draws some time after the window is mapped,
    // without a move or resize of the client: look again after such events.
    switch (e->type()) {
      case QEvent::Paint:
      case QEvent::ActivationChange:
      case QEvent::WindowStateChange:
      case QEvent::Show: ScheduleFrameCheck(); break;
      default: break;
    }
    return ControlWidget<QWidget>::event(e);
  }
  void changeEvent(QEvent* e) override {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && Form()->OnActivate)
      SafeCall([this] { Form()->OnActivate(Form()); });
  }
};

void FindButtons(const TWinControl& parent, TButton*& cancel, TButton*& def) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* c = parent.Controls(i);
    if (auto* b = dynamic_cast<TButton*>(c); b && b->Visible() && b->Enabled()) {
      if (b->Cancel() && !cancel) cancel = b;
      if (b->Default() && !def) def = b;
    }
    if (auto* w = dynamic_cast<TWinControl*>(c)) FindButtons(*w, cancel, def);
  }
}

void RealisePalettes(TWinControl& parent) {
  for (int i = 0; i < parent.ControlCount(); ++i) {
    TControl* c = parent.Controls(i);
    c->PaletteChanged(true);
    if (auto* w = dynamic_cast<TWinControl*>(c)) RealisePalettes(*w);
  }
}

}  // namespace

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
  TControl::SetVisible(false);
  AttachWidget(new FormWidget(this));
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);
  SetParentFont(false);
  SetColor(gdi::kButtonFace);
  QPalette pal = Widget()->palette();
  pal.setColor(QPalette::Window, ToQColor(Color()));
  Widget()->setPalette(pal);
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
  *alive_ = false;
  MarkDestroying();
  DestroyComponents();
}

void TForm::BeforeDestruction() {
  if (destroyed_) return;
  destroyed_ = true;
  if (OnDestroy) SafeCall([this] { OnDestroy(this); });
}

void TForm::DoCreate() {
  if (created_) return;
  created_ = true;
  if (OnCreate) SafeCall([this] { OnCreate(this); });
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) { SetBoundsRaw(ALeft, ATop, AWidth, AHeight); }

int TForm::ClientWidth() const { return std::max(Width() - frame_.Left - frame_.Right, 0); }
int TForm::ClientHeight() const { return std::max(Height() - frame_.Top - frame_.Bottom, 0); }
void TForm::SetClientWidth(int value) { SetWidth(value + frame_.Left + frame_.Right); }
void TForm::SetClientHeight(int value) { SetHeight(value + frame_.Top + frame_.Bottom); }

bool TForm::FixedSize() const {
  return borderStyle_ == TFormBorderStyle::bsToolWindow || borderStyle_ == TFormBorderStyle::bsDialog ||
         borderStyle_ == TFormBorderStyle::bsSingle;
}

void TForm::ApplyGeometry() {
  if (!Widget()) return;
  // While minimized or maximized the window system owns the geometry: pushing the bounds
  // back would drop the state and the size the window returns to.
  constexpr Qt::WindowStates kAside = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
  if (Widget()->isVisible() && (Widget()->windowState() & kAside)) return;
  const QRect wanted(Left() + frame_.Left, Top() + frame_.Top, ClientWidth(), ClientHeight());
  // A window that the user may not resize keeps the size the program gives it.
  if (FixedSize() && Widget()->minimumSize() != wanted.size()) Widget()->setFixedSize(wanted.size());
  if (Widget()->geometry() != wanted) Widget()->setGeometry(wanted);
}

bool TForm::MeasureFrame() {
  QWidget* w = Widget();
  if (!w || !w->isVisible()) return false;
  const QRect outer = w->frameGeometry(), inner = w->geometry();
  if (outer == inner) return false;  // not framed (yet): keep the assumed frame
  TFrameExtents f;
  f.Left = inner.left() - outer.left();
  f.Top = inner.top() - outer.top();
  f.Right = outer.right() - inner.right();
  f.Bottom = outer.bottom() - inner.bottom();
  if (f.Left == frame_.Left && f.Top == frame_.Top && f.Right == frame_.Right && f.Bottom == frame_.Bottom)
    return false;
  FrameChanged(f);
  return true;
}

void TForm::CheckFrame() { MeasureFrame(); }

void TForm::FrameChanged(const TFrameExtents& frame) {
  // The outer geometry is what the program set (and what a stored placement restores): the
  // client area gives way to the frame the window manager really draws, so that the window
  // keeps its size from one run to the next.
  frame_ = frame;
  ApplyGeometry();
  Realign();
}

void TForm::HandleFrameMoved(int clientX, int clientY) {
  if (MeasureFrame()) return;
  const int l = clientX - frame_.Left, t = clientY - frame_.Top;
  if (l != Left() || t != Top()) SetBoundsRaw(l, t, Width(), Height());
}

void TForm::HandleClientResized(int clientWidth, int clientHeight) {
  if (!MeasureFrame()) {
    const int w = clientWidth + frame_.Left + frame_.Right, h = clientHeight + frame_.Top + frame_.Bottom;
    if (w != Width() || h != Height()) SetBoundsRaw(Left(), Top(), w, h);
    Realign();
  }
  if (OnResize) SafeCall([this] { OnResize(this); });
}

void TForm::CaptionChanged() {
  if (Widget()) Widget()->setWindowTitle(Q(Caption()));
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
  borderStyle_ = value;
  QWidget* w = Widget();
  const bool shown = w->isVisible();
  Qt::WindowFlags flags = Qt::Window;
  switch (value) {
    case TFormBorderStyle::bsNone: flags |= Qt::FramelessWindowHint; break;
    case TFormBorderStyle::bsToolWindow:
    case TFormBorderStyle::bsSizeToolWin:
      flags = Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
      break;
    case TFormBorderStyle::bsDialog:
      flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint;
      break;
    default: break;
  }
  w->setWindowFlags(flags);
  if (!FixedSize()) {
    w->setMinimumSize(0, 0);
    w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  }
  ApplyGeometry();
  if (shown) w->show();
}

TWindowState TForm::WindowState() const {
  const QWidget* w = Widget();
  if (!w || !w->isVisible()) return windowState_;
  if (w->windowState() & Qt::WindowMinimized) return TWindowState::wsMinimized;
  if (w->windowState() & Qt::WindowMaximized) return TWindowState::wsMaximized;
  return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState value) {
  windowState_ = value;
  QWidget* w = Widget();
  if (!w || !w->isVisible()) return;
  switch (value) {
    case TWindowState::wsMinimized: w->showMinimized(); break;
    case TWindowState::wsMaximized: w->showMaximized(); break;
    case TWindowState::wsNormal: w->showNormal(); break;
  }
}

void TForm::PlaceForFirstShow() {
  if (position_ != TPosition::poScreenCenter) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect s = screen->geometry();
  SetBoundsRaw(s.x() + (s.width() - Width()) / 2, s.y() + (s.height() - Height()) / 2, Width(), Height());
}

void TForm::ShowWidget() {
  QWidget* w = Widget();
  switch (windowState_) {
    case TWindowState::wsMinimized: w->showMinimized(); break;
    case TWindowState::wsMaximized: w->showMaximized(); break;
    case TWindowState::wsNormal: w->show(); break;
  }
  w->raise();
  w->activateWindow();
}

void TForm::SetVisible(bool value) {
  QWidget* w = Widget();
  if (value == w->isVisible()) {
    TControl::SetVisible(value);
    return;
  }
  TControl::SetVisible(value);
  if (!value) {
    w->hide();
    if (OnHide) SafeCall([this] { OnHide(this); });
    return;
  }
  HandleNeeded();
  ApplyTabOrder();
  if (OnShow) SafeCall([this] { OnShow(this); });
  if (!shownOnce_) {
    shownOnce_ = true;
    PlaceForFirstShow();
  }
  ApplyGeometry();
  ShowWidget();
  if (activeControl_ && activeControl_->CanFocus()) activeControl_->SetFocus();
}

void TForm::SetModalResult(TModalResult value) {
  modalResult_ = value;
  if (modalLoop_ && value != mrNone) modalLoop_->quit();
}

TModalResult TForm::ShowModal() {
  modal_ = true;
  modalResult_ = mrNone;
  Widget()->setWindowModality(Qt::ApplicationModal);
  Show();
  QEventLoop loop;
  modalLoop_ = &loop;
  for (;;) {
    if (modalResult_ == mrNone && !Application->Terminated()) loop.exec();
    if (Application->Terminated()) break;
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    TCloseAction action = TCloseAction::caHide;
    if (canClose && OnClose) OnClose(this, action);
    if (canClose && action != TCloseAction::caNone) break;
    modalResult_ = mrNone;
  }
  modalLoop_ = nullptr;
  Hide();
  Widget()->setWindowModality(Qt::NonModal);
  modal_ = false;
  return modalResult_;
}

void TForm::Close() {
  if (modal_) {
    SetModalResult(mrCancel);
    return;
  }
  if (closing_) return;
  closing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{closing_};
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (!canClose) return;
  TCloseAction action = TCloseAction::caHide;
  if (OnClose) OnClose(this, action);
  if (action == TCloseAction::caNone) return;
  if (action == TCloseAction::caMinimize) {
    Widget()->showMinimized();
    return;
  }
  Hide();
  if (Application->MainForm() == this) Application->Terminate();
}

bool TForm::HandleCloseRequest() {
  Close();
  return false;
}

TWinControl* TForm::ActiveControl() const {
  if (QWidget* f = Widget()->focusWidget())
    if (auto* c = dynamic_cast<TWinControl*>(ControlOf(f))) return c;
  return activeControl_;
}

void TForm::SetActiveControl(TWinControl* control) {
  activeControl_ = control;
  if (control && control->CanFocus()) control->SetFocus();
}

bool TForm::Active() const { return Widget()->isVisible() && Widget()->isActiveWindow(); }

void TForm::QueryNewPalette() { RealisePalettes(*this); }

void TForm::PostQueryNewPalette() {
  std::weak_ptr<bool> alive = alive_;
  QTimer::singleShot(0, [this, alive] {
    if (auto a = alive.lock(); a && *a) SafeCall([this] { QueryNewPalette(); });
  });
}

bool TForm::PreviewKeyDown(uint16_t& Key, TShiftState Shift) {
  if (keyPreview_ && OnKeyDown) {
    OnKeyDown(this, Key, Shift);
    if (Key == 0) return true;
  }
  if ((Key == VK_ESCAPE || Key == VK_RETURN) && Shift == 0) {
    TButton* cancel = nullptr;
    TButton* def = nullptr;
    FindButtons(*this, cancel, def);
    TButton* b = Key == VK_ESCAPE ? cancel : def;
    if (b) {
      b->Click();
      Key = 0;
      return true;
    }
  }
  return false;
}
