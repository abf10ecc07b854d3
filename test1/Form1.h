#pragma once
// The main window: the top bar (drive list, the JPEG option controls, five buttons), the
// left column (folder list above file list) and the picture view filling the rest.

#include <string>

#include "browser/DirectoryListBox.h"
#include "browser/DriveComboBox.h"
#include "browser/FileListBox.h"
#include "picture/Image.h"
#include "platform/vcl/Button.h"
#include "platform/vcl/CheckBox.h"
#include "platform/vcl/ComboBox.h"
#include "platform/vcl/Form.h"
#include "platform/vcl/ListBox.h"
#include "platform/vcl/Panel.h"
#include "platform/vcl/Splitter.h"
#include "settings/FormStorage.h"

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* AOwner);

  std::string ClassName() const override { return "TForm1"; }

  // The controls, owned by the window (freed with it).
  TImage* Image1 = nullptr;
  TPanel* Panel1 = nullptr;
  TDirectoryListBox* DirectoryListBox1 = nullptr;
  TFileListBox* FileListBox1 = nullptr;
  TPanel* Panel3 = nullptr;
  TDriveComboBox* DriveComboBox1 = nullptr;
  TComboBox* Scale = nullptr;
  TComboBox* PixelFormat = nullptr;
  TComboBox* ColorSpace = nullptr;
  TComboBox* Performance = nullptr;
  TCheckBox* ProgressiveDisplay = nullptr;
  TCheckBox* IncrementalDisplay = nullptr;
  TSplitter* Splitter1 = nullptr;
  TSplitter* Splitter2 = nullptr;
  TButton* Button1 = nullptr;
  TButton* Button2 = nullptr;
  TButton* Button3 = nullptr;
  TButton* Button4 = nullptr;
  TButton* Button5 = nullptr;
  TFormStorage* FormStorage1 = nullptr;  // keeps the placement and the options between runs

  // Handlers bound to the controls' events.
  void FileListBox1DblClick(TObject* Sender);
  void SetJPEGOptions(TObject* Sender);
  void FormCreate(TObject* Sender);
  void ProgressUpdate(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
                      const std::string& Msg);
  void Button5Click(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void Button3Click(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void FormShow(TObject* Sender);

  // The mask the file list applies.
  static constexpr const char* kFileMask = "*.jpg;*.bmp;*.wmf;*.emf;*.ico";

 private:
  void LoadStartupPicture();
  void ShowHelpFile();

  void CreateTopBar();
  void CreateLeftColumn();
  void BindEvents();
};

// The main window, set when it is created.
extern TForm1* Form1;
// The picture path given on the command line; emptied once the start-up load has run.
extern std::string StartupFileName;
