#include "platform/vcl/Application.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <cstdio>

#include "platform/gdi/DeviceCaps.h"
#include "platform/vcl/Form.h"
#include "platform/vcl/QtBridge.h"

using namespace vcl::bridge;

namespace {

TApplication theApplication;

// Gives the window a key first when the window previews keys, and lets Escape and Enter
// reach the cancel and default buttons.
class KeyPreviewFilter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget) return false;
    QWidget* focus = QApplication::focusWidget();
    // Only the first delivery of the key (not its propagation to the parents).
    if (!(widget == focus || (!focus && widget->isWindow()))) return false;
    auto* form = dynamic_cast<TForm*>(ControlOf(widget->window()));
    if (!form) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    uint16_t vk = VirtualKey(*key);
    if (vk == 0) return false;
    bool consumed = false;
    SafeCall([&] { consumed = form->PreviewKeyDown(vk, Shift(key->modifiers())); });
    return consumed;
  }
};

}  // namespace

TApplication* Application = &theApplication;

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() { Shutdown(); }

void TApplication::Initialize(int& argc, char** argv) {
  args_.clear();
  for (int i = 0; i < argc; ++i) args_.emplace_back(argv[i]);
  if (!QApplication::instance()) qt_ = std::make_unique<QApplication>(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  keyFilter_ = std::make_unique<KeyPreviewFilter>();
  QApplication::instance()->installEventFilter(keyFilter_.get());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    gdi::SetPrimaryScreenSize(screen->geometry().width(), screen->geometry().height());
    gdi::SetScreenLogPixelsY(static_cast<int>(screen->logicalDotsPerInchY() + 0.5));
  }
  initialized_ = true;
  terminated_ = false;
}

void TApplication::Shutdown() {
  DestroyComponents();
  mainForm_ = nullptr;
  keyFilter_.reset();
  qt_.reset();
  initialized_ = false;
}

void TApplication::SetIcon(const std::string& resourcePath) {
  if (QCoreApplication::instance()) QApplication::setWindowIcon(QIcon(Q(resourcePath)));
}

void TApplication::SetTitle(std::string value) {
  title_ = std::move(value);
  if (QCoreApplication::instance()) QCoreApplication::setApplicationName(Q(title_));
}

void TApplication::Run() {
  if (mainForm_) SafeCall([this] { mainForm_->Show(); });
  if (!terminated_ && QCoreApplication::instance()) QApplication::exec();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (QCoreApplication::instance()) QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() {
  if (QCoreApplication::instance()) QCoreApplication::processEvents();
}

std::string TApplication::ParamStr(int i) const {
  if (i < 0 || i >= static_cast<int>(args_.size())) return {};
  return args_[static_cast<size_t>(i)];
}

void TApplication::HandleException(std::exception_ptr e) {
  try {
    std::rethrow_exception(e);
  } catch (const EAbort&) {
    // silent
  } catch (const std::exception& x) {
    ShowException(x);
  } catch (...) {
    MessageBox(TMessageKind::Critical, std::string());
  }
}

void TApplication::ShowException(const std::exception& e) {
  const auto* x = dynamic_cast<const Exception*>(&e);
  MessageBox(TMessageKind::Critical, ExceptionBoxText(x ? x->Message() : std::string(e.what())));
}

void TApplication::MessageBox(TMessageKind kind, const std::string& text) {
  if (MessageHook) {
    MessageHook(kind, title_, text);
    return;
  }
  if (!QCoreApplication::instance()) {
    std::fprintf(stderr, "%s: %s\n", title_.c_str(), text.c_str());
    return;
  }
  QMessageBox box(kind == TMessageKind::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, Q(title_), Q(text),
                  QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setText(QStringLiteral("OK"));
  box.exec();
}

std::string ExceptionBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
    return message + ".";
  return message;
}

void ShowMessage(const std::string& text) { Application->MessageBox(TMessageKind::Plain, text); }
