// The viewer's own main window with its settings component: what its first run writes and
// what the next start gives back to its controls.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <QApplication>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "platform/rtl/IniFile.h"
#include "platform/vcl/Application.h"
#include "settings/Placement.h"
#include "test1/Form1.h"

namespace fs = std::filesystem;

namespace {

class MainWindowSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    std::string pattern = "/tmp/mirelune-main-settings-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldXdg_ = old;
    ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    StartApplication();
  }
  void TearDown() override {
    Application->Shutdown();
    Application->MessageHook = nullptr;
    if (!oldXdg_.empty()) {
      ::setenv("XDG_CONFIG_HOME", oldXdg_.c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
  void StartApplication() {
    static int argc = 1;
    static char name[] = "mirelune";
    static char* argv[] = {name, nullptr};
    Application->Initialize(argc, argv);
    Application->SetTitle("Mirelune");
    Application->MessageHook = [this](TMessageKind, const std::string&, const std::string& text) {
      boxes_.push_back(text);
    };
  }
  TForm1* Start() {
    TForm1* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
    return form;
  }
  // Quits with "Quitter", then the program ends and a fresh application waits for the next start.
  void Quit(TForm1* form) {
    form->Button5->Click();
    Application->Shutdown();
    StartApplication();
  }
  std::string Value(const std::string& key) const {
    return TIniFile((root_ / "Mirelune.ini").string()).ReadString("TForm1", key, "<missing>");
  }
  void WriteIni(const std::string& text) const { std::ofstream(root_ / "Mirelune.ini") << text; }

  fs::path root_;
  std::string oldXdg_;
  std::vector<std::string> boxes_;
};

TEST_F(MainWindowSettings, TheFirstRunWritesTheSeventeenKeysWithTheDesignValues) {
  Quit(Start());
  EXPECT_EQ(TIniFile((root_ / "Mirelune.ini").string()).Load().Keys("TForm1"),
            (std::vector<std::string>{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch",
                                      "MinMaxPos" + ScreenSizeSuffix(), "MinMaxPos", "NormPos" + ScreenSizeSuffix(),
                                      "NormPos", "Visible", "Panel1_Width", "DirectoryListBox1_Height",
                                      "Scale_ItemIndex", "PixelFormat_ItemIndex", "ColorSpace_ItemIndex",
                                      "Performance_ItemIndex", "ProgressiveDisplay_Checked",
                                      "IncrementalDisplay_Checked"}));
  EXPECT_EQ(Value("FormVersion"), "0");
  EXPECT_EQ(Value("Visible"), "0");
  EXPECT_EQ(Value("Panel1_Width"), "145");
  EXPECT_EQ(Value("Scale_ItemIndex"), "0") << "FormCreate's first line";
  EXPECT_EQ(Value("ProgressiveDisplay_Checked"), "False");
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainWindowSettings, TheNextStartGivesTheControlsBackWhatTheLastRunLeft) {
  TForm1* form = Start();
  form->Panel1->SetWidth(230);
  form->DirectoryListBox1->SetHeight(260);
  form->Scale->SetItemIndex(3);
  form->PixelFormat->SetItemIndex(1);
  form->ColorSpace->SetItemIndex(1);
  form->Performance->SetItemIndex(1);
  form->ProgressiveDisplay->SetChecked(true);
  form->IncrementalDisplay->SetChecked(true);
  Quit(form);

  form = Start();
  EXPECT_EQ(form->Panel1->Width(), 230);
  EXPECT_EQ(form->DirectoryListBox1->Height(), 260);
  EXPECT_EQ(form->Scale->ItemIndex(), 3);
  EXPECT_EQ(form->PixelFormat->ItemIndex(), 1);
  EXPECT_EQ(form->ColorSpace->ItemIndex(), 1);
  EXPECT_EQ(form->Performance->ItemIndex(), 1);
  EXPECT_TRUE(form->ProgressiveDisplay->Checked());
  EXPECT_TRUE(form->IncrementalDisplay->Checked());
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(MainWindowSettings, UnreadableAndOutOfRangeValuesFollowTheRules) {
  WriteIni("[TForm1]\nPanel1_Width=large\nDirectoryListBox1_Height=0x10\nScale_ItemIndex=7\n"
           "ProgressiveDisplay_Checked=true\nIncrementalDisplay_Checked=1\n");
  TForm1* form = Start();
  EXPECT_EQ(form->Panel1->Width(), 20);
  EXPECT_EQ(form->DirectoryListBox1->Height(), 25) << "16 is below the list's minimum";
  EXPECT_EQ(form->Scale->ItemIndex(), -1);
  EXPECT_TRUE(form->ProgressiveDisplay->Checked());
  EXPECT_FALSE(form->IncrementalDisplay->Checked());
}

TEST_F(MainWindowSettings, AWindowThatWasNeverShownWritesNothing) {
  TForm1* form = nullptr;
  Application->CreateForm(form);
  Application->Shutdown();
  StartApplication();
  EXPECT_FALSE(fs::exists(root_ / "Mirelune.ini"));
}

}  // namespace
