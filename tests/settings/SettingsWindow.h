#pragma once
// A window with the controls and the settings component of the viewer's main window, for
// tests that look at the settings file without the rest of the viewer, and the fixture that
// gives each test its own configuration folder and application.

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/vcl/Application.h"
#include "platform/vcl/CheckBox.h"
#include "platform/vcl/ComboBox.h"
#include "platform/vcl/Form.h"
#include "platform/vcl/Panel.h"
#include "settings/FormStorage.h"

// Failures show rectangles and points as numbers.
void PrintTo(const TRect& r, std::ostream* os);
void PrintTo(const TPoint& p, std::ostream* os);

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* AOwner);
  std::string ClassName() const override { return "TForm1"; }

  TPanel* Panel1;
  TPanel* DirectoryListBox1;
  TComboBox* Scale;
  TComboBox* PixelFormat;
  TComboBox* ColorSpace;
  TComboBox* Performance;
  TCheckBox* ProgressiveDisplay;
  TCheckBox* IncrementalDisplay;
  TFormStorage* FormStorage1;

  // What the program's own handlers saw.
  int jpegOptionRuns = 0;
  int formShowRuns = 0;
  std::vector<std::string> order;  // handler names, in the order they ran
  // The options as FormShow found them: restored ones, or the loaded picture would not use them.
  struct Seen {
    int panelWidth, listHeight, scale, pixelFormat, colorSpace, performance;
    bool progressive, incremental;
  };
  std::optional<Seen> seenAtShow;
  // The window as FormShow found it, after the restore and before the platform places and
  // shows it (centring it if its position mode is still centred on the screen).
  TRect boundsAtShow{};
  TPosition positionAtShow = TPosition::poDesigned;
  TWindowState stateAtShow = TWindowState::wsNormal;
  int clientWidthAtShow = 0, clientHeightAtShow = 0;
};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void StartApplication();

  // A new main window, as the program creates it (design, settings component, FormCreate).
  TForm1* NewWindow();
  // The window is asked to close, as the "Quitter" button does.
  static void Quit(TForm1* form) { form->Close(); }
  // The program ends: the application frees its windows (each destroy event first) and a
  // fresh application stands ready for the next start.
  void EndProgram();
  // Start, then close and free: one run of the program.
  void Run(const std::function<void(TForm1&)>& whileShown = {});

  std::filesystem::path IniPath() const { return root_ / "Mirelune.ini"; }
  std::string IniText() const;
  void WriteIni(const std::string& text) const;
  // Key names of the section, in file order.
  std::vector<std::string> KeysOf(const std::string& section) const;
  std::string Value(const std::string& key) const;
  static void ProcessEvents();

  std::filesystem::path root_;
  std::optional<std::string> oldXdg_;
  std::vector<std::pair<std::string, std::string>> boxes_;  // (caption, text) of message boxes
};
