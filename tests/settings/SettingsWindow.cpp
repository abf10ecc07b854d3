#include "SettingsWindow.h"

#include <stdlib.h>

#include <QApplication>
#include <fstream>
#include <sstream>

#include "platform/rtl/IniFile.h"

namespace fs = std::filesystem;

void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}
void PrintTo(const TPoint& p, std::ostream* os) { *os << "(" << p.X << "," << p.Y << ")"; }

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  SetName("Form1");
  SetPosition(TPosition::poScreenCenter);

  Panel1 = new TPanel(this);
  Panel1->SetName("Panel1");
  Panel1->SetParent(this);
  Panel1->SetBounds(0, 33, 145, 764);
  Panel1->SetAlign(TAlign::alLeft);
  Panel1->Constraints().MinWidth = 20;

  DirectoryListBox1 = new TPanel(this);
  DirectoryListBox1->SetName("DirectoryListBox1");
  DirectoryListBox1->SetParent(Panel1);
  DirectoryListBox1->SetBounds(1, 1, 139, 144);
  DirectoryListBox1->SetAlign(TAlign::alTop);
  DirectoryListBox1->Constraints().MinHeight = 25;

  auto combo = [this](TComboBox*& box, const char* name, std::initializer_list<const char*> items) {
    box = new TComboBox(this);
    box->SetName(name);
    box->SetParent(this);
    box->Items().SetTexts(items);
    box->OnClick = [this](TObject*) { ++jpegOptionRuns; };
  };
  combo(Scale, "Scale", {"1:1", "1:2", "1:4", "1:8"});
  combo(PixelFormat, "PixelFormat", {"24 bits", "8 bits"});
  combo(ColorSpace, "ColorSpace", {"Couleur", "Gris"});
  combo(Performance, "Performance", {"Qualité", "Rapidité"});

  ProgressiveDisplay = new TCheckBox(this);
  ProgressiveDisplay->SetName("ProgressiveDisplay");
  ProgressiveDisplay->SetParent(this);
  ProgressiveDisplay->OnClick = [this](TObject*) {
    ++jpegOptionRuns;
    order.push_back("SetJPEGOptions");
  };
  IncrementalDisplay = new TCheckBox(this);
  IncrementalDisplay->SetName("IncrementalDisplay");
  IncrementalDisplay->SetParent(this);

  OnShow = [this](TObject*) {
    ++formShowRuns;
    order.push_back("FormShow");
    boundsAtShow = Rect(Left(), Top(), Left() + Width(), Top() + Height());
    positionAtShow = Position();
    stateAtShow = WindowState();
    clientWidthAtShow = ClientWidth();
    clientHeightAtShow = ClientHeight();
    seenAtShow = Seen{Panel1->Width(),         DirectoryListBox1->Height(), Scale->ItemIndex(),
                      PixelFormat->ItemIndex(), ColorSpace->ItemIndex(),     Performance->ItemIndex(),
                      ProgressiveDisplay->Checked(), IncrementalDisplay->Checked()};
  };

  FormStorage1 = new TFormStorage(this);
  FormStorage1->SetName("FormStorage1");
  FormStorage1->IniFileName = "Mirelune.ini";
  FormStorage1->StoredProps = {"Panel1.Width",          "DirectoryListBox1.Height",   "Scale.ItemIndex",
                               "PixelFormat.ItemIndex", "ColorSpace.ItemIndex",       "Performance.ItemIndex",
                               "ProgressiveDisplay.Checked", "IncrementalDisplay.Checked"};
  FormStorage1->Loaded();

  // FormCreate
  SetCaption("Mirelune");
  SetWidth(1150);
  SetHeight(831);
  Scale->SetItemIndex(0);
  PixelFormat->SetItemIndex(0);
  ColorSpace->SetItemIndex(0);
  Performance->SetItemIndex(0);
}

void SettingsTest::SetUp() {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char pattern[] = "/tmp/mirelune-settings-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  root_ = pattern;
  if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldXdg_ = old;
  ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
  StartApplication();
}

void SettingsTest::StartApplication() {
  static int argc = 1;
  static char name[] = "settings_tests";
  static char* argv[] = {name, nullptr};
  Application->Initialize(argc, argv);
  Application->SetTitle("Mirelune");
  Application->MessageHook = [this](TMessageKind, const std::string& caption, const std::string& text) {
    boxes_.emplace_back(caption, text);
  };
}

void SettingsTest::TearDown() {
  Application->Shutdown();
  Application->MessageHook = nullptr;
  if (oldXdg_) {
    ::setenv("XDG_CONFIG_HOME", oldXdg_->c_str(), 1);
  } else {
    ::unsetenv("XDG_CONFIG_HOME");
  }
  std::error_code ec;
  fs::remove_all(root_, ec);
}

TForm1* SettingsTest::NewWindow() {
  TForm1* form = nullptr;
  Application->CreateForm(form);
  return form;
}

void SettingsTest::EndProgram() {
  Application->Shutdown();
  StartApplication();
}

void SettingsTest::Run(const std::function<void(TForm1&)>& whileShown) {
  TForm1* form = NewWindow();
  form->Show();
  ProcessEvents();
  if (whileShown) whileShown(*form);
  Quit(form);
  EndProgram();
}

std::string SettingsTest::IniText() const {
  std::ifstream in(IniPath(), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void SettingsTest::WriteIni(const std::string& text) const { std::ofstream(IniPath(), std::ios::binary) << text; }

std::vector<std::string> SettingsTest::KeysOf(const std::string& section) const {
  return TIniFile(IniPath().string()).Load().Keys(section);
}

std::string SettingsTest::Value(const std::string& key) const {
  return TIniFile(IniPath().string()).ReadString("TForm1", key, "<missing>");
}

void SettingsTest::ProcessEvents() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}
