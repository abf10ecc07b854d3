#pragma once
// A top-level window.  Left, Top, Width and Height are the outer frame's geometry (title bar
// and borders included); ClientWidth and ClientHeight the inside.  Until the window manager
// has framed the window the frame is taken as 4 pixels a side and a 30-pixel title bar (an
// outer 1150 x 831 holds a client area of 1142 x 797); then the real frame counts and the
// outer geometry stays as set.

#include <memory>

#include "platform/vcl/WinControl.h"

class QEventLoop;

enum class TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TPosition : uint8_t { poDesigned, poDefault, poScreenCenter, poMainFormCenter };
enum class TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };

// Frame extents around the client area.
struct TFrameExtents {
  int Left = 4, Top = 30, Right = 4, Bottom = 4;
};

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* AOwner);
  ~TForm() override;

  std::string ClassName() const override { return "TForm"; }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  int ClientWidth() const override;
  int ClientHeight() const override;
  void SetClientWidth(int value);
  void SetClientHeight(int value);
  TFrameExtents Frame() const { return frame_; }

  // Shows the window: creates the windows of the controls, raises OnShow (an exception is
  // shown and the window shown all the same), places it by Position the first time (after
  // OnShow: a handler that restores a stored placement sets Position to poDesigned), and
  // shows it in WindowState.
  void SetVisible(bool value) override;
  // Runs the window modally until ModalResult is set or it closes; answers ModalResult.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  // Setting a result other than mrNone ends a modal run.
  void SetModalResult(TModalResult value);
  bool Modal() const { return modal_; }
  // Asks the window to close: OnCloseQuery, then OnClose, then the close action (hide).
  // Closing the application's main window terminates the application.
  void Close();

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TWindowState WindowState() const;
  void SetWindowState(TWindowState value);

  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }

  // The control that gets the focus when the form shows, or that has it.
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* control);
  // Whether this is the window the user works in.
  bool Active() const;

  // Asks the controls in turn to realise their palettes in the foreground (the answer to
  // the system's query for a new palette).
  void QueryNewPalette();
  // Sends that query now, or posts it to run after the current message.
  void SendQueryNewPalette() { QueryNewPalette(); }
  void PostQueryNewPalette();

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnResize;
  TNotifyEvent OnActivate;

  // Runs OnCreate (the derived class's constructor calls it once its controls exist); an
  // exception goes to the application's box and construction goes on.
  void DoCreate();
  void BeforeDestruction() override;

  // Key handling of the whole window: KeyPreview gives OnKeyDown the key first; then
  // Escape presses the cancel button and Enter the default button.
  bool PreviewKeyDown(uint16_t& Key, TShiftState Shift);

  // Toolkit side: the window was asked to close by the user, moved or resized.
  bool HandleCloseRequest();
  void HandleFrameMoved(int clientX, int clientY);
  void HandleClientResized(int clientWidth, int clientHeight);
  // The window manager's real frame is known: the outer geometry stays, the client area
  // takes what the frame leaves.
  void FrameChanged(const TFrameExtents& frame);
  // Compares the frame the window manager draws with the one assumed.
  void CheckFrame();

 protected:
  void ApplyGeometry() override;
  void CaptionChanged() override;

 private:
  bool FixedSize() const;
  void PlaceForFirstShow();
  bool MeasureFrame();
  void ShowWidget();

  TFrameExtents frame_;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  TPosition position_ = TPosition::poDesigned;
  TWindowState windowState_ = TWindowState::wsNormal;
  bool keyPreview_ = false;
  bool modal_ = false;
  bool shownOnce_ = false;
  bool created_ = false;
  bool destroyed_ = false;
  bool closing_ = false;
  TModalResult modalResult_ = mrNone;
  TWinControl* activeControl_ = nullptr;
  QEventLoop* modalLoop_ = nullptr;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);  // guards posted work
};
