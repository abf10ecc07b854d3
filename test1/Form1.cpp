#include "test1/Form1.h"

#include "platform/vcl/Application.h"

TForm1* Form1 = nullptr;
std::string StartupFileName;

namespace {

// A control with its design values: bounds and alignment are set before it joins its
// parent, so that docking sees the designed size.
template <class T>
T* Make(TForm1* owner, TWinControl* parent, const char* name, int left, int top, int width, int height,
        TAlign align = TAlign::alNone) {
  auto* c = new T(owner);  // owned by the window
  c->SetName(name);
  c->SetAlign(align);
  c->SetBounds(left, top, width, height);
  c->SetParent(parent);
  return c;
}

void SetFont(TControl& c, const char* name, int height, TFontCharset charset) {
  c.Font().SetName(name);
  c.Font().SetHeight(height);
  c.Font().SetCharset(charset);
}

TComboBox* MakeOption(TForm1* owner, TWinControl* parent, const char* name, int left, int width, const char* hint,
                      std::initializer_list<const char*> items, int tabOrder) {
  auto* c = Make<TComboBox>(owner, parent, name, left, 6, width, 21);
  c->SetStyle(TComboBoxStyle::csDropDownList);
  c->SetHint(hint);
  c->Items().SetTexts(items);
  c->SetEnabled(false);
  c->SetTabOrder(tabOrder);
  return c;
}

TButton* MakeButton(TForm1* owner, TWinControl* parent, const char* name, int left, int width, const char* caption,
                    const char* hint, int tabOrder) {
  auto* b = Make<TButton>(owner, parent, name, left, 4, width, 22);
  b->SetCaption(caption);
  b->SetHint(hint);
  b->SetTabOrder(tabOrder);
  return b;
}

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  Form1 = this;
  SetName("Form1");
  SetCaption("Mirelune");
  SetBounds(Left(), Top(), 1150, 831);
  SetColor(gdi::kButtonFace);
  SetFont(*this, "MS Sans Serif", -10, TFontCharset::ANSI_CHARSET);
  SetKeyPreview(true);
  SetShowHint(true);
  SetPosition(TPosition::poScreenCenter);

  CreateTopBar();
  CreateLeftColumn();

  Splitter2 = Make<TSplitter>(this, this, "Splitter2", 145, 33, 3, 764, TAlign::alLeft);
  Splitter2->SetBeveled(true);
  Splitter2->SetCursor(TCursor::crHSplit);

  Image1 = Make<TImage>(this, this, "Image1", 148, 33, 994, 764, TAlign::alClient);
  Image1->SetProportional(true);

  BindEvents();

  // The design is loaded: the settings component takes over the show, close-query and
  // destroy events, before OnCreate runs.
  FormStorage1 = new TFormStorage(this);  // owned by the window
  FormStorage1->SetName("FormStorage1");
  FormStorage1->IniFileName = "Mirelune.ini";
  FormStorage1->Options = fpState | fpPosition;
  FormStorage1->StoredProps = {"Panel1.Width",          "DirectoryListBox1.Height",   "Scale.ItemIndex",
                               "PixelFormat.ItemIndex", "ColorSpace.ItemIndex",       "Performance.ItemIndex",
                               "ProgressiveDisplay.Checked", "IncrementalDisplay.Checked"};
  FormStorage1->Loaded();

  DoCreate();
}

void TForm1::CreateTopBar() {
  Panel3 = Make<TPanel>(this, this, "Panel3", 0, 0, 1142, 33, TAlign::alTop);
  Panel3->SetBevelOuter(TPanelBevel::bvRaised);
  Panel3->SetTabOrder(1);

  DriveComboBox1 = Make<TDriveComboBox>(this, Panel3, "DriveComboBox1", 5, 7, 188, 19);
  DriveComboBox1->SetHint("Choisir un disque");
  DriveComboBox1->SetTabOrder(0);

  Scale = MakeOption(this, Panel3, "Scale", 198, 58, "Taille", {"1:1", "1:2", "1:4", "1:8"}, 1);
  PixelFormat = MakeOption(this, Panel3, "PixelFormat", 261, 67, "Format Pixel", {"24 bits", "8 bits"}, 2);
  ColorSpace = MakeOption(this, Panel3, "ColorSpace", 332, 72, "Couleur ou gris", {"Couleur", "Gris"}, 3);
  Performance = MakeOption(this, Panel3, "Performance", 409, 75, "Performance", {"Qualité", "Rapidité"}, 4);

  ProgressiveDisplay = Make<TCheckBox>(this, Panel3, "ProgressiveDisplay", 491, 2, 124, 14);
  ProgressiveDisplay->SetCaption("JPEG Progressif");
  ProgressiveDisplay->SetEnabled(false);
  SetFont(*ProgressiveDisplay, "arial", -9, TFontCharset::ANSI_CHARSET);
  ProgressiveDisplay->SetTabOrder(5);

  IncrementalDisplay = Make<TCheckBox>(this, Panel3, "IncrementalDisplay", 491, 17, 137, 14);
  IncrementalDisplay->SetCaption("Visualisation incrémentale");
  SetFont(*IncrementalDisplay, "Arial", -9, TFontCharset::ANSI_CHARSET);
  IncrementalDisplay->SetTabOrder(6);

  Button1 = MakeButton(this, Panel3, "Button1", 635, 25, "<<", "Précédente", 7);
  Button2 = MakeButton(this, Panel3, "Button2", 662, 25, ">>", "Suivante", 8);
  Button3 = MakeButton(this, Panel3, "Button3", 689, 25, "?", "Aide (F1)", 9);
  Button4 = MakeButton(this, Panel3, "Button4", 716, 25, "©", "CopyRight", 10);
  Button5 = MakeButton(this, Panel3, "Button5", 743, 44, "Quitter", "Quitter", 11);
}

void TForm1::CreateLeftColumn() {
  Panel1 = Make<TPanel>(this, this, "Panel1", 0, 33, 145, 764, TAlign::alLeft);
  Panel1->SetBevelOuter(TPanelBevel::bvRaised);
  Panel1->SetBorderStyle(TBorderStyle::bsSingle);
  Panel1->Constraints().MinWidth = 20;
  Panel1->SetTabOrder(0);

  DirectoryListBox1 = Make<TDirectoryListBox>(this, Panel1, "DirectoryListBox1", 1, 1, 139, 144, TAlign::alTop);
  DirectoryListBox1->SetHint("Double-cliquer\r\nsur un dossier");
  DirectoryListBox1->SetItemHeight(16);
  DirectoryListBox1->Constraints().MinHeight = 25;
  DirectoryListBox1->SetBorder3D(true);
  DirectoryListBox1->SetTabOrder(0);

  Splitter1 = Make<TSplitter>(this, Panel1, "Splitter1", 1, 145, 139, 3, TAlign::alTop);
  Splitter1->SetBeveled(true);
  Splitter1->SetCursor(TCursor::crVSplit);

  FileListBox1 = Make<TFileListBox>(this, Panel1, "FileListBox1", 1, 148, 139, 611, TAlign::alClient);
  FileListBox1->SetItemHeight(13);
  FileListBox1->Constraints().MinHeight = 20;
  FileListBox1->SetTabOrder(1);

  // The drive list was made with the top bar; the links go both ways.
  DriveComboBox1->SetDirList(DirectoryListBox1);
  DirectoryListBox1->SetFileList(FileListBox1);
}

void TForm1::BindEvents() {
  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnKeyDown = [this](TObject* s, uint16_t& k, TShiftState sh) { FormKeyDown(s, k, sh); };
  const TNotifyEvent options = [this](TObject* s) { SetJPEGOptions(s); };
  Scale->OnClick = options;
  PixelFormat->OnClick = options;
  ColorSpace->OnClick = options;
  Performance->OnClick = options;
  ProgressiveDisplay->OnClick = options;
  FileListBox1->OnClick = [this](TObject* s) { FileListBox1DblClick(s); };
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  Button4->OnClick = [this](TObject* s) { Button4Click(s); };
  Button5->OnClick = [this](TObject* s) { Button5Click(s); };
}

void TForm1::FormCreate(TObject*) {
  SetCaption("Mirelune");
  SetBounds(Left(), Top(), 1150, 831);
  Scale->SetItemIndex(0);
  PixelFormat->SetItemIndex(0);
  ColorSpace->SetItemIndex(0);
  Performance->SetItemIndex(0);
  FileListBox1->SetMask(kFileMask);
  StartupFileName = Application->ParamStr(1);
  Image1->OnProgress = [this](TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                              const TRect& R, const std::string& Msg) {
    ProgressUpdate(Sender, Stage, PercentDone, RedrawNow, R, Msg);
  };
}

void TForm1::FormClose(TObject*, TCloseAction&) { Application->Terminate(); }
