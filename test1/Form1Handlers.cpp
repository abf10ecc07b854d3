// The handlers of loading, options, progress and the toolbar.  Interim bodies: the
// viewer's own handlers take their place.

#include "platform/vcl/Application.h"
#include "test1/Form1.h"

void TForm1::FileListBox1DblClick(TObject*) {}

void TForm1::SetJPEGOptions(TObject*) {}

void TForm1::ProgressUpdate(TObject*, TProgressStage, uint8_t, bool, const TRect&, const std::string&) {}

void TForm1::Button5Click(TObject*) { Close(); }

void TForm1::Button3Click(TObject*) { ShowHelpFile(); }

void TForm1::Button1Click(TObject*) {}

void TForm1::Button2Click(TObject*) {}

void TForm1::Button4Click(TObject*) {}

void TForm1::FormKeyDown(TObject*, uint16_t&, TShiftState) {}

void TForm1::FormShow(TObject*) {
  DirectoryListBox1->SetFocus();
  LoadStartupPicture();
}

void TForm1::LoadStartupPicture() { StartupFileName.clear(); }

void TForm1::ShowHelpFile() {}
