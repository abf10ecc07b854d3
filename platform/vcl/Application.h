#pragma once
// The application object: title, the main window, the message loop, termination and the
// default handling of exceptions that leave an event handler.

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Component.h"

class QApplication;
class QObject;
class TForm;

enum class TMessageKind : uint8_t { Plain, Critical };

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  std::string ClassName() const override { return "TApplication"; }

  // Creates the toolkit's application (unless one exists) and keeps the command line.
  void Initialize(int& argc, char** argv);
  bool Initialized() const { return initialized_; }
  // Frees the windows (each told first, OnDestroy) and then the toolkit's application.
  void Shutdown();

  // The icon of every window and of the task-bar button (a compiled-in resource path,
  // such as ":/MAINICON.png").
  void SetIcon(const std::string& resourcePath);

  const std::string& Title() const { return title_; }
  void SetTitle(std::string value);

  // Creates a window owned by the application; the first one becomes the main window.
  template <class T>
  void CreateForm(T*& reference) {
    reference = new T(this);  // owned by the application from here on
    if (!mainForm_) mainForm_ = reference;
  }
  TForm* MainForm() const { return mainForm_; }

  // Shows the main window and dispatches messages until Terminate.
  void Run();
  // Ends the loop once the messages already queued are handled.
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Test hook: lets a test run go on after a test ended the program.
  void ClearTerminated() { terminated_ = false; }
  // Handles the messages waiting now.
  void ProcessMessages();

  // The default handling of an exception that escaped an event handler: a silent one
  // (EAbort) is dropped; any other is shown by ShowException.
  void HandleException(std::exception_ptr e);
  // The modal box: the message (with the period rule), the title as caption, the error icon
  // and one OK button.
  void ShowException(const std::exception& e);

  // The first command-line argument is ParamStr(1); ParamStr(0) is the program.
  int ParamCount() const { return static_cast<int>(args_.size()) - 1; }
  std::string ParamStr(int i) const;
  void SetCommandLine(std::vector<std::string> args) { args_ = std::move(args); }

  // Test hook: when set, message boxes are handed to it instead of being shown.
  std::function<void(TMessageKind kind, const std::string& caption, const std::string& text)> MessageHook;
  // Shows a modal message box (or hands it to the hook).
  void MessageBox(TMessageKind kind, const std::string& text);

 private:
  std::unique_ptr<QApplication> qt_;
  std::unique_ptr<QObject> keyFilter_;
  std::string title_;
  TForm* mainForm_ = nullptr;
  bool initialized_ = false;
  bool terminated_ = false;
  std::vector<std::string> args_;
};

// The one application object.
extern TApplication* Application;

// The text of the exception box: a period is appended to a message that is not empty and
// whose last character's code is greater than that of ".".
std::string ExceptionBoxText(const std::string& message);

// The plain message dialog: no icon, one "OK" button, centred on the screen, captioned with
// the application title.
void ShowMessage(const std::string& text);

// Runs an event handler; an exception that leaves it goes to Application->HandleException.
// Every call from the toolkit into program code goes through here.
template <class F>
void SafeCall(F&& f) {
  try {
    f();
  } catch (...) {
    Application->HandleException(std::current_exception());
  }
}
