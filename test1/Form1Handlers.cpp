// The main window's handlers: loading a picture on its two roads, applying the option
// controls to a JPEG picture, the progress in the title, and the toolbar commands.

#include <optional>

#include "Uapropos/Form2.h"
#include "jpeg/JPEGImage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Messages.h"
#include "platform/vcl/Application.h"
#include "platform/win/ModuleFileName.h"
#include "platform/win/SendKeys.h"
#include "platform/win/ShellOpen.h"
#include "test1/Form1.h"
#include "test1/HelpFile.h"

namespace {

// The setting a combo box's line stands for: the line index itself, when the box has a line
// selected that the setting knows.  A box without a selection (a value from the settings
// file outside the list) stands for no setting, and the picture keeps its own.
std::optional<int> LineOf(const TComboBox& box, int settingValues) {
  const int line = box.ItemIndex();
  if (line < 0 || line >= settingValues) return std::nullopt;
  return line;
}

// Loads a file into the view.  A file that is no picture this viewer reads empties the view
// silently; every other failure goes on to the caller, the previous picture kept.
void LoadIntoView(TImage& view, const std::string& FileName) {
  try {
    view.Picture().LoadFile(FileName);
  } catch (const EInvalidGraphic&) {
    view.Picture().SetGraphic(nullptr);
  }
}

}  // namespace

void TForm1::FormShow(TObject*) {
  DirectoryListBox1->SetFocus();
  if (!Application->ParamStr(1).empty()) LoadStartupPicture();
}

void TForm1::FileListBox1DblClick(TObject*) {
  LoadIntoView(*Image1, FileListBox1->FileName());
  SetJPEGOptions(this);
}

void TForm1::LoadStartupPicture() {
  if (rtl::Trim(StartupFileName).empty()) return;
  // The name goes to the container as given: a blank after the extension stays.
  LoadIntoView(*Image1, StartupFileName);
  SetJPEGOptions(this);
  StartupFileName.clear();
}

void TForm1::SetJPEGOptions(TObject*) {
  auto* jpeg = dynamic_cast<TJPEGImage*>(Image1->Picture().Graphic());
  if (jpeg) {
    if (auto line = LineOf(*PixelFormat, 2)) jpeg->SetPixelFormat(static_cast<TJPEGPixelFormat>(*line));
    if (auto line = LineOf(*Scale, 4)) jpeg->SetScale(static_cast<TJPEGScale>(*line));
    if (auto line = LineOf(*ColorSpace, 2)) jpeg->SetGreyOutput(*line == 1);
    if (auto line = LineOf(*Performance, 2)) jpeg->SetPerformance(static_cast<TJPEGPerformance>(*line));
    jpeg->SetProgressiveDisplay(ProgressiveDisplay->Checked());
  }
  const bool isJpeg = jpeg != nullptr;
  Scale->SetEnabled(isJpeg);
  PixelFormat->SetEnabled(isJpeg);
  ColorSpace->SetEnabled(isJpeg);
  Performance->SetEnabled(isJpeg);
  ProgressiveDisplay->SetEnabled(isJpeg && jpeg->MultiScan());
  Image1->SetIncrementalDisplay(IncrementalDisplay->Checked());
}

void TForm1::ProgressUpdate(TObject*, TProgressStage Stage, uint8_t PercentDone, bool, const TRect&,
                            const std::string&) {
  if (Stage == TProgressStage::Running)
    SetCaption(rtl::Format("%d%%", static_cast<int>(PercentDone)));
  else
    SetCaption("Mirelune");
}

void TForm1::Button1Click(TObject*) {
  try {
    FileListBox1->SetFocus();
    win::SendKeys("{UP}", true);
  } catch (...) {
    // Stepping through the list never reports anything.
  }
}

void TForm1::Button2Click(TObject*) {
  try {
    FileListBox1->SetFocus();
    win::SendKeys("{DOWN}", true);
  } catch (...) {
    // Stepping through the list never reports anything.
  }
}

void TForm1::Button3Click(TObject*) { ShowHelpFile(); }

void TForm1::Button4Click(TObject*) { Form2->ShowModal(); }

void TForm1::Button5Click(TObject*) { Close(); }

void TForm1::FormKeyDown(TObject*, uint16_t& Key, TShiftState) {
  // F1 with any modifier; the key goes on to the focused control.
  if (Key == VK_F1) ShowHelpFile();
}

void TForm1::ShowHelpFile() {
  const std::string path = HelpFileFor(win::ModuleFileName());
  if (!HelpFileExists(path)) {
    ShowMessage(path + msg::SHelpNotFoundSuffix);
    return;
  }
  bool opened = false;
  try {
    opened = win::ShellOpenDocument(path);
  } catch (...) {
    opened = false;
  }
  if (!opened) ShowMessage(msg::SHelpCannotShowPrefix + path);
}
