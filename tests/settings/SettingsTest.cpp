// The settings file of the main window: what a run writes, what the next start restores and
// when, the rules of the stored properties, the failures, and the window placement.
#include <sys/stat.h>

#include <QSize>
#include <QWidget>
#include <filesystem>

#include "SettingsWindow.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/IniFile.h"
#include "platform/win/SystemMetrics.h"
#include "platform/win/WindowPlacement.h"
#include "settings/Placement.h"
#include "settings/PublishedProps.h"
#include "settings/TextValue.h"

namespace fs = std::filesystem;

namespace {

int Ppi() { return gdi::ScreenLogPixelsY(); }
std::string Suffix() { return ScreenSizeSuffix(); }

// A file that places the window at 50,60 with 1000 x 700 for this screen.
std::string Text(const TRect& r) { return rtl::Format("%d,%d,%d,%d", r.Left, r.Top, r.Right, r.Bottom); }

// The window as FormCreate leaves it, still to be centred by the platform when shown.
const TRect kCreated = Rect(0, 0, 1150, 831);

std::string PlacedFile(const std::string& extra = "") {
  return "[TForm1]\nFormVersion=0\nPixelsPerInch=" + std::to_string(Ppi()) +
         "\nNormPos=50,60,1050,760\n" + extra;
}

// ---- the first run and the next start ----------------------------------------------------

TEST_F(SettingsTest, TheFirstRunWritesTheSectionWithItsSeventeenKeysInOrder) {
  ASSERT_FALSE(fs::exists(IniPath()));
  TRect normal{};
  Run([&](TForm1& form) {
    EXPECT_EQ(form.positionAtShow, TPosition::poScreenCenter);
    normal = GetWindowPlacement(form).rcNormalPosition;
  });

  EXPECT_EQ(KeysOf("TForm1"),
            (std::vector<std::string>{"FormVersion", "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos" + Suffix(),
                                      "MinMaxPos", "NormPos" + Suffix(), "NormPos", "Visible", "Panel1_Width",
                                      "DirectoryListBox1_Height", "Scale_ItemIndex", "PixelFormat_ItemIndex",
                                      "ColorSpace_ItemIndex", "Performance_ItemIndex", "ProgressiveDisplay_Checked",
                                      "IncrementalDisplay_Checked"}));
  const std::string norm = Text(normal);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"FormVersion", "0"},
      {"Flags", "0"},
      {"ShowCmd", "1"},
      {"PixelsPerInch", std::to_string(Ppi())},
      {"MinMaxPos" + Suffix(), "-1,-1,-4,-4"},  // the maximized position just outside the screen
      {"MinMaxPos", "-1,-1,-4,-4"},
      {"NormPos" + Suffix(), norm},
      {"NormPos", norm},
      {"Visible", "0"},
      {"Panel1_Width", "145"},
      {"DirectoryListBox1_Height", "144"},
      {"Scale_ItemIndex", "0"},
      {"PixelFormat_ItemIndex", "0"},
      {"ColorSpace_ItemIndex", "0"},
      {"Performance_ItemIndex", "0"},
      {"ProgressiveDisplay_Checked", "False"},
      {"IncrementalDisplay_Checked", "False"},
  };
  for (const auto& [key, value] : expected) EXPECT_EQ(Value(key), value) << key;
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(SettingsTest, TheNextStartRestoresEveryOptionBeforeTheProgramsShowHandlerRuns) {
  Run([](TForm1& form) {
    form.Panel1->SetWidth(210);
    form.DirectoryListBox1->SetHeight(300);
    form.Scale->SetItemIndex(2);
    form.PixelFormat->SetItemIndex(1);
    form.ColorSpace->SetItemIndex(1);
    form.Performance->SetItemIndex(1);
    form.ProgressiveDisplay->SetChecked(true);
    form.IncrementalDisplay->SetChecked(true);
  });
  TForm1* form = NewWindow();
  form->Show();
  ASSERT_TRUE(form->seenAtShow);
  const TForm1::Seen& s = *form->seenAtShow;
  EXPECT_EQ(s.panelWidth, 210);
  EXPECT_EQ(s.listHeight, 300);
  EXPECT_EQ((std::vector<int>{s.scale, s.pixelFormat, s.colorSpace, s.performance}), (std::vector<int>{2, 1, 1, 1}));
  EXPECT_TRUE(s.progressive);
  EXPECT_TRUE(s.incremental);
  // The check box's click ran its handler in the middle of the restore, before FormShow.
  EXPECT_EQ(form->order, (std::vector<std::string>{"SetJPEGOptions", "FormShow"}));
  EXPECT_TRUE(form->FormStorage1->WasRestored());
  EXPECT_FALSE(form->FormStorage1->WasSaved());
}

TEST_F(SettingsTest, WithoutAFileTheWindowOpensCentredAtItsCreatedSizeWithTheDesignValues) {
  TForm1* form = NewWindow();
  form->Show();
  ProcessEvents();
  EXPECT_EQ(form->boundsAtShow, kCreated);
  EXPECT_EQ(form->positionAtShow, TPosition::poScreenCenter);
  EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(form->Panel1->Width(), 145);
  EXPECT_EQ(form->Scale->ItemIndex(), 0);
  EXPECT_FALSE(form->ProgressiveDisplay->Checked());
  EXPECT_EQ(form->jpegOptionRuns, 0);
  EXPECT_FALSE(fs::exists(IniPath())) << "reading creates nothing";
}

// ---- the stored properties -----------------------------------------------------------------

struct PropCase {
  const char* key;
  const char* stored;  // the value as the file holds it
  const char* property;
  int expected;
  int handlerRuns;  // runs of the check box's click handler during the restore
};

class StoredPropertyRule : public SettingsTest, public ::testing::WithParamInterface<PropCase> {};

TEST_P(StoredPropertyRule, RestoresAsTheRulesSay) {
  const PropCase& c = GetParam();
  WriteIni(std::string("[TForm1]\n") + c.key + "=" + c.stored + "\n");
  TForm1* form = NewWindow();
  form->Show();
  const std::string component = std::string(c.property).substr(0, std::string(c.property).find('.'));
  TComponent* target = form->FindComponent(component);
  ASSERT_NE(target, nullptr);
  const TPropInfo* info = GetPropInfo(*target, std::string(c.property).substr(component.size() + 1));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Get(*target), c.expected) << c.key << "=" << c.stored;
  EXPECT_EQ(form->jpegOptionRuns, c.handlerRuns) << c.key << "=" << c.stored;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoredPropertyRule,
    ::testing::Values(
        // an integer that is not one becomes 0, which the column's minimum turns into 20
        PropCase{"Panel1_Width", "abc", "Panel1.Width", 20, 0}, PropCase{"Panel1_Width", "", "Panel1.Width", 20, 0},
        PropCase{"Panel1_Width", "12px", "Panel1.Width", 20, 0},
        PropCase{"Panel1_Width", "  90  ", "Panel1.Width", 90, 0},
        PropCase{"Panel1_Width", "0x5A", "Panel1.Width", 90, 0},
        PropCase{"Panel1_Width", "$5a", "Panel1.Width", 90, 0},
        PropCase{"Panel1_Width", "'90'", "Panel1.Width", 90, 0},
        PropCase{"panel1_width", "300", "Panel1.Width", 300, 0},
        PropCase{"DirectoryListBox1_Height", "3", "DirectoryListBox1.Height", 25, 0},
        PropCase{"DirectoryListBox1_Height", "400", "DirectoryListBox1.Height", 400, 0},
        // a line outside the list leaves none selected; setting a line raises no event
        PropCase{"Scale_ItemIndex", "7", "Scale.ItemIndex", -1, 0},
        PropCase{"Scale_ItemIndex", "-1", "Scale.ItemIndex", -1, 0},
        PropCase{"Scale_ItemIndex", "-5", "Scale.ItemIndex", -1, 0},
        PropCase{"Scale_ItemIndex", "3", "Scale.ItemIndex", 3, 0},
        PropCase{"Scale_ItemIndex", "x", "Scale.ItemIndex", 0, 0},
        PropCase{"Performance_ItemIndex", "1", "Performance.ItemIndex", 1, 0},
        // a Boolean by name in any case; anything else leaves the box as it is
        PropCase{"ProgressiveDisplay_Checked", "true", "ProgressiveDisplay.Checked", 1, 1},
        PropCase{"ProgressiveDisplay_Checked", "TRUE", "ProgressiveDisplay.Checked", 1, 1},
        PropCase{"ProgressiveDisplay_Checked", "\"True\"", "ProgressiveDisplay.Checked", 1, 1},
        PropCase{"ProgressiveDisplay_Checked", "1", "ProgressiveDisplay.Checked", 0, 0},
        PropCase{"ProgressiveDisplay_Checked", "yes", "ProgressiveDisplay.Checked", 0, 0},
        PropCase{"ProgressiveDisplay_Checked", "false", "ProgressiveDisplay.Checked", 0, 0},
        PropCase{"IncrementalDisplay_Checked", "tRuE", "IncrementalDisplay.Checked", 1, 0}));

TEST_F(SettingsTest, ABooleanSetBackToFalseClicksTheBoxAgain) {
  WriteIni("[TForm1]\nProgressiveDisplay_Checked=True\n");
  Run();
  WriteIni("[TForm1]\nProgressiveDisplay_Checked=FALSE\n");
  TForm1* form = NewWindow();
  form->ProgressiveDisplay->SetChecked(true);  // as if the design had it checked
  form->jpegOptionRuns = 0;
  form->Show();
  EXPECT_FALSE(form->ProgressiveDisplay->Checked());
  EXPECT_EQ(form->jpegOptionRuns, 1);
}

TEST_F(SettingsTest, TheListResolvesNamesWithoutRegardToCaseAndDropsWhatItCannotUse) {
  TForm1* form = NewWindow();
  auto* storage = new TFormStorage(form);
  storage->IniFileName = "Mirelune.ini";
  storage->IniSection = "Liste";
  storage->Active = false;
  storage->StoredProps = {" panel1 . WIDTH ", "NoSuch.Width", "Panel1", ".Width", "Panel1.", "scale.NoSuchProperty",
                          "SCALE.itemindex"};
  storage->Loaded();
  ASSERT_EQ(storage->Props().size(), 3u);
  storage->RestoreSettings();
  storage->SaveSettings();
  const auto keys = KeysOf("Liste");
  ASSERT_GE(keys.size(), 2u);
  // The keys spell the component's name and the property's declared name.
  EXPECT_EQ(std::vector<std::string>(keys.end() - 2, keys.end()),
            (std::vector<std::string>{"Panel1_Width", "Scale_ItemIndex"}));

  // A component that is destroyed takes its lines with it.
  delete form->Scale;
  form->Scale = nullptr;
  EXPECT_EQ(storage->Props().size(), 1u);
  storage->SaveSettings();
}

TEST_F(SettingsTest, TextValuesThatLookQuotedGetOneMorePairAndReadBackUnchanged) {
  for (const std::string value : {"plain", "\"quoted\"", "'single'", "\"mixed'", "\"", "''", "a\"b\""}) {
    const std::string written = QuoteTextValue(value);
    WriteIni("[S]\nK=" + written + "\n");
    EXPECT_EQ(TIniFile(IniPath().string()).ReadString("S", "K", "<missing>"), value) << written;
  }
  EXPECT_EQ(QuoteTextValue("\"x\""), "\"\"x\"\"");
  EXPECT_EQ(QuoteTextValue("x\""), "x\"");
}

// ---- versions, unshown windows and failures ---------------------------------------------------

TEST_F(SettingsTest, AStoredVersionBelowTheComponentsRestoresNothingAndTheNextSaveStartsAfresh) {
  WriteIni("[TForm1]\nFormVersion=-1\nShowCmd=3\nPixelsPerInch=" + std::to_string(Ppi()) +
           "\nNormPos=50,60,1050,760\nPanel1_Width=200\nProgressiveDisplay_Checked=True\n");
  TForm1* form = NewWindow();
  form->Show();
  ProcessEvents();
  EXPECT_EQ(form->WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(form->boundsAtShow, kCreated);
  EXPECT_EQ(form->positionAtShow, TPosition::poScreenCenter);
  EXPECT_EQ(form->Panel1->Width(), 145);
  EXPECT_FALSE(form->ProgressiveDisplay->Checked());
  EXPECT_TRUE(form->FormStorage1->WasRestored());
  Quit(form);
  EXPECT_EQ(Value("FormVersion"), "0");
  EXPECT_EQ(Value("Panel1_Width"), "145");
  EXPECT_EQ(Value("ShowCmd"), "1");
  EXPECT_EQ(Value("ProgressiveDisplay_Checked"), "False");
}

TEST_F(SettingsTest, AWindowNeverShownWritesNothing) {
  NewWindow();
  EndProgram();
  EXPECT_FALSE(fs::exists(IniPath()));
}

TEST_F(SettingsTest, ARefusedWriteIsShownAtCloseAndAgainAtDestructionAndTheWindowStillCloses) {
  WriteIni("[TForm1]\nFormVersion=0\n");
  ::chmod(IniPath().c_str(), 0444);
  TForm1* form = NewWindow();
  form->Show();
  Quit(form);
  EXPECT_FALSE(IsWindowVisible(*form)) << "closing goes on";
  EXPECT_FALSE(form->FormStorage1->WasSaved());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], (std::pair<std::string, std::string>{"Mirelune", "Impossible d'écrire dans Mirelune.ini."}));
  EndProgram();
  ASSERT_EQ(boxes_.size(), 2u) << "the destroy event tries once more";
  EXPECT_EQ(boxes_[1], boxes_[0]);
  EXPECT_EQ(IniText(), "[TForm1]\nFormVersion=0\n");
}

TEST_F(SettingsTest, ASaveThatDidNotCompleteAtCloseIsMadeAtDestructionWithVisibleOne) {
  TForm1* form = NewWindow();
  form->Show();
  // The component is off while the window closes, so the save at close does not happen.
  form->FormStorage1->Active = false;
  Quit(form);
  form->FormStorage1->Active = true;
  EXPECT_FALSE(fs::exists(IniPath()));
  EndProgram();
  EXPECT_EQ(Value("Visible"), "1");
  EXPECT_EQ(KeysOf("TForm1").size(), 17u);
}

TEST_F(SettingsTest, AFailingRestoreIsShownAndTheWindowIsShownAllTheSame) {
  TForm1* form = NewWindow();
  form->FormStorage1->OnRestorePlacement = [](TObject*) { throw Exception("Lecture impossible"); };
  form->Show();
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0].second, "Lecture impossible.");
  EXPECT_EQ(form->formShowRuns, 1);
  EXPECT_TRUE(IsWindowVisible(*form));
  EXPECT_TRUE(form->FormStorage1->WasRestored());
}

// ---- the window's events ---------------------------------------------------------------------

class AttachmentTest : public SettingsTest {
 protected:
  // A plain window whose events had handlers before the component took them over.
  TForm* NewPlainWindow() {
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->OnShow = [this](TObject*) { order_.push_back("show"); };
    form->OnCloseQuery = [this](TObject*, bool& CanClose) {
      order_.push_back("closequery");
      CanClose = allowClose_;
    };
    form->OnDestroy = [this](TObject*) { order_.push_back("destroy"); };
    storage_ = new TFormStorage(form);
    storage_->IniFileName = "Mirelune.ini";
    storage_->OnRestorePlacement = [this](TObject*) { order_.push_back("restore"); };
    storage_->OnSavePlacement = [this](TObject*) {
      order_.push_back(storage_->InDestroy() ? "save-in-destroy" : "save");
    };
    storage_->Loaded();
    return form;
  }

  std::vector<std::string> order_;
  bool allowClose_ = true;
  TFormStorage* storage_ = nullptr;
};

TEST_F(AttachmentTest, ShowRestoresFirstCloseQueryAsksFirstDestroySavesFirst) {
  TForm* form = NewPlainWindow();
  form->Show();
  EXPECT_EQ(order_, (std::vector<std::string>{"restore", "show"}));
  order_.clear();
  allowClose_ = false;
  form->Close();
  EXPECT_EQ(order_, (std::vector<std::string>{"closequery"})) << "a refused close saves nothing";
  EXPECT_TRUE(IsWindowVisible(*form));
  order_.clear();
  allowClose_ = true;
  form->Close();
  EXPECT_EQ(order_, (std::vector<std::string>{"closequery", "save"}));
  order_.clear();
  EndProgram();
  EXPECT_EQ(order_, (std::vector<std::string>{"destroy"})) << "saved at close: nothing more";
  EXPECT_EQ(TIniFile(IniPath().string()).ReadString("TForm", "Visible", ""), "0")
      << "the section is named after the window's class";
}

TEST_F(AttachmentTest, WithoutASaveAtCloseTheDestroyEventSavesThenRunsItsHandler) {
  TForm* form = NewPlainWindow();
  form->Show();
  order_.clear();
  EndProgram();
  EXPECT_EQ(order_, (std::vector<std::string>{"save-in-destroy", "destroy"}));
  EXPECT_EQ(TIniFile(IniPath().string()).ReadString("TForm", "Visible", ""), "1");
}

TEST_F(AttachmentTest, AnInactiveComponentNeitherRestoresNorSaves) {
  TForm* form = NewPlainWindow();
  storage_->Active = false;
  form->Show();
  form->Close();
  EndProgram();
  EXPECT_EQ(order_, (std::vector<std::string>{"show", "closequery", "destroy"}));
  EXPECT_FALSE(fs::exists(IniPath()));
}

TEST_F(AttachmentTest, AComponentFreedAloneGivesTheEventsBack) {
  TForm* form = NewPlainWindow();
  delete storage_;
  form->Show();
  form->Close();
  EXPECT_EQ(order_, (std::vector<std::string>{"show", "closequery"}));
  EXPECT_FALSE(fs::exists(IniPath()));
}

// ---- the window placement ----------------------------------------------------------------------

TEST_F(SettingsTest, AStoredRectangleIsAppliedAndTheWindowIsNotCentred) {
  WriteIni(PlacedFile());
  TForm1* form = NewWindow();
  form->Show();
  EXPECT_EQ(form->boundsAtShow, Rect(50, 60, 1050, 760));
  EXPECT_EQ(form->positionAtShow, TPosition::poDesigned);
  EXPECT_EQ(form->stateAtShow, TWindowState::wsNormal);
}

TEST_F(SettingsTest, AMaximizedWindowComesBackMaximizedAndReturnsToItsStoredRectangle) {
  WriteIni(PlacedFile());
  TRect normal{};
  Run([&](TForm1& form) {
    normal = GetWindowPlacement(form).rcNormalPosition;
    form.SetWindowState(TWindowState::wsMaximized);
    ProcessEvents();
    ASSERT_EQ(form.WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(GetWindowPlacement(form).rcNormalPosition, normal) << "the normal rectangle, not the maximized one";
  });
  EXPECT_EQ(Value("ShowCmd"), "3");
  EXPECT_EQ(Value("NormPos"), Text(normal));
  EXPECT_EQ(Value("NormPos" + Suffix()), Text(normal));

  TForm1* form = NewWindow();
  form->Show();
  ProcessEvents();
  EXPECT_EQ(form->boundsAtShow, normal);
  EXPECT_EQ(form->stateAtShow, TWindowState::wsMaximized);
  EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
  // Restoring returns to the stored rectangle's inside.
  EXPECT_EQ(form->Widget()->normalGeometry().size(), QSize(form->clientWidthAtShow, form->clientHeightAtShow));
}

TEST_F(SettingsTest, AtOtherPixelsPerInchThePositionIsLeftAloneButTheStateIsRestored) {
  WriteIni("[TForm1]\nShowCmd=3\nPixelsPerInch=" + std::to_string(Ppi() + 24) +
           "\nNormPos=50,60,1050,760\nPanel1_Width=99\n");
  TForm1* form = NewWindow();
  form->Show();
  // Centred at the created size, which is also the size it returns to.
  EXPECT_EQ(form->positionAtShow, TPosition::poScreenCenter);
  EXPECT_EQ(form->boundsAtShow, kCreated);
  EXPECT_EQ(form->stateAtShow, TWindowState::wsMaximized);
  EXPECT_EQ(form->WindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(form->Panel1->Width(), 99) << "the properties are restored all the same";
}

TEST_F(SettingsTest, KeysOfAnotherScreenSizeStayUntouchedAndThePlainKeysServeThisOne) {
  const std::string other = "(640x480)";
  ASSERT_NE(Suffix(), other);
  WriteIni(PlacedFile("MinMaxPos" + other + "=1,2,3,4\nNormPos" + other + "=5,6,400,300\n"));
  TRect moved{};
  Run([&](TForm1& form) {
    EXPECT_EQ(form.boundsAtShow, Rect(50, 60, 1050, 760));
    form.SetBounds(70, 80, 900, 600);
    ProcessEvents();
    moved = GetWindowPlacement(form).rcNormalPosition;
  });
  EXPECT_EQ(Value("NormPos" + other), "5,6,400,300");
  EXPECT_EQ(Value("MinMaxPos" + other), "1,2,3,4");
  EXPECT_EQ(Value("NormPos" + Suffix()), Text(moved));
  EXPECT_EQ(Value("NormPos"), Text(moved));
  EXPECT_EQ(Value("MinMaxPos" + Suffix()), "-1,-1,-4,-4");
}

TEST_F(SettingsTest, TheKeyOfThisScreenSizeWinsOverThePlainOne) {
  WriteIni(PlacedFile("NormPos" + Suffix() + "=30,40,830,640\n"));
  TForm1* form = NewWindow();
  form->Show();
  EXPECT_EQ(form->boundsAtShow, Rect(30, 40, 830, 640));
}

struct NormPosCase {
  const char* normPos;  // nullptr: the key is absent
  const char* minMaxPos;
  bool centred;
  TRect expected;  // when not centred
};

class NormPosRule : public SettingsTest, public ::testing::WithParamInterface<NormPosCase> {};

TEST_P(NormPosRule, PlacesTheWindowAsTheWordsSay) {
  const NormPosCase& c = GetParam();
  std::string file = "[TForm1]\nPixelsPerInch=" + std::to_string(Ppi()) + "\n";
  if (c.normPos) file += std::string("NormPos=") + c.normPos + "\n";
  if (c.minMaxPos) file += std::string("MinMaxPos=") + c.minMaxPos + "\n";
  WriteIni(file);
  TForm1* form = NewWindow();
  form->Show();
  if (c.centred) {
    EXPECT_EQ(form->positionAtShow, TPosition::poScreenCenter);
    EXPECT_EQ(form->boundsAtShow, kCreated);
  } else {
    EXPECT_EQ(form->positionAtShow, TPosition::poDesigned) << "no centring after a stored rectangle";
    EXPECT_EQ(form->boundsAtShow, c.expected);
  }
  EXPECT_EQ(form->stateAtShow, TWindowState::wsNormal);
}

// The window stands at 0, 0 before it is first shown.
INSTANTIATE_TEST_SUITE_P(
    Table, NormPosRule,
    ::testing::Values(NormPosCase{nullptr, nullptr, true, {}},
                      NormPosCase{"", "", true, {}},
                      // unreadable: the current rectangle, applied, and no centring
                      NormPosCase{"abc", nullptr, false, Rect(0, 0, 1150, 831)},
                      NormPosCase{nullptr, "-1,-1,-4,-4", false, Rect(0, 0, 1150, 831)},
                      NormPosCase{"500,10,400,700", nullptr, true, {}},
                      NormPosCase{"500,10,500,700", nullptr, true, {}},
                      NormPosCase{"  50 ,, 60,  1050 ,760", nullptr, false, Rect(50, 60, 1050, 760)},
                      NormPosCase{"50,60", nullptr, false, Rect(50, 60, 1150, 831)},
                      NormPosCase{"50,x,1050,760", nullptr, false, Rect(50, 0, 1050, 760)},
                      NormPosCase{"0x32,$3C,1050,760", nullptr, false, Rect(50, 60, 1050, 760)},
                      NormPosCase{"-3000,-2000,-2000,-1000", nullptr, false, Rect(-3000, -2000, -2000, -1000)}));

struct ShowCmdCase {
  const char* showCmd;
  TWindowState state;
};

class ShowCmdRule : public SettingsTest, public ::testing::WithParamInterface<ShowCmdCase> {};

TEST_P(ShowCmdRule, GivesTheStartingState) {
  WriteIni(PlacedFile() + "ShowCmd=" + GetParam().showCmd + "\n");
  TForm1* form = NewWindow();
  form->Show();
  EXPECT_EQ(form->stateAtShow, GetParam().state) << "ShowCmd=" << GetParam().showCmd;
  EXPECT_EQ(form->WindowState(), GetParam().state) << "ShowCmd=" << GetParam().showCmd;
}

INSTANTIATE_TEST_SUITE_P(Table, ShowCmdRule,
                         ::testing::Values(ShowCmdCase{"1", TWindowState::wsNormal},
                                           ShowCmdCase{"5", TWindowState::wsNormal},
                                           ShowCmdCase{"9", TWindowState::wsNormal},
                                           ShowCmdCase{"3", TWindowState::wsMaximized},
                                           ShowCmdCase{"0", TWindowState::wsNormal},
                                           ShowCmdCase{"4", TWindowState::wsNormal},
                                           ShowCmdCase{"8", TWindowState::wsNormal},
                                           ShowCmdCase{"10", TWindowState::wsNormal},
                                           ShowCmdCase{"-1", TWindowState::wsNormal},
                                           ShowCmdCase{"maximized", TWindowState::wsNormal},
                                           // minimized: shown normal, the application minimizes afterwards
                                           ShowCmdCase{"2", TWindowState::wsNormal},
                                           ShowCmdCase{"6", TWindowState::wsNormal},
                                           ShowCmdCase{"7", TWindowState::wsNormal}));

TEST_F(SettingsTest, AMinimizedApplicationIsSavedAsSuchAndMinimizesAgainOnceTheLoopRuns) {
  WriteIni(PlacedFile());
  TRect normal{};
  Run([&](TForm1& form) {
    normal = GetWindowPlacement(form).rcNormalPosition;
    form.SetWindowState(TWindowState::wsMinimized);
    ProcessEvents();
    EXPECT_TRUE(IsApplicationMinimized());
  });
  EXPECT_EQ(Value("ShowCmd"), "2");
  EXPECT_EQ(Value("NormPos"), Text(normal));

  TForm1* form = NewWindow();
  form->Show();
  EXPECT_EQ(form->stateAtShow, TWindowState::wsNormal);
  EXPECT_EQ(form->boundsAtShow, normal);
  EXPECT_FALSE(form->Widget()->isMinimized()) << "not before the message loop runs";
  ProcessEvents();
  EXPECT_TRUE(form->Widget()->isMinimized());
  EXPECT_TRUE(IsApplicationMinimized());
}

TEST_F(SettingsTest, StoredFlagsAndMinimizedPositionGoBackToTheFileAsTheyCame) {
  WriteIni(PlacedFile() + "Flags=1\nMinMaxPos=5,6,100,100\n");
  Run();
  EXPECT_EQ(Value("Flags"), "1");
  EXPECT_EQ(Value("MinMaxPos"), "5,6,-4,-4") << "the maximized position is reset after the restore";
}

}  // namespace
