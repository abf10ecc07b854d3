// The profile file: the integer rule, the value rules, edits that keep the rest of the file,
// the resolution in the configuration folder and writes that never leave a broken file.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/IniText.h"

namespace fs = std::filesystem;

namespace {

// ---- the integer rule -------------------------------------------------------------------

struct IntCase {
  const char* text;
  std::optional<int32_t> value;
};

class IniIntegerRule : public ::testing::TestWithParam<IntCase> {};

TEST_P(IniIntegerRule, ReadsOnlyWhatTheRuleAllows) {
  EXPECT_EQ(rtl::IniStrToInt(GetParam().text), GetParam().value) << "text: [" << GetParam().text << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniIntegerRule,
    ::testing::Values(
        // decimal, with sign and the 32-bit limits
        IntCase{"0", 0}, IntCase{"42", 42}, IntCase{"007", 7}, IntCase{"+7", 7}, IntCase{"-7", -7},
        IntCase{"-0", 0}, IntCase{"2147483647", INT32_MAX}, IntCase{"-2147483648", INT32_MIN},
        IntCase{"2147483648", std::nullopt}, IntCase{"-2147483649", std::nullopt},
        IntCase{"99999999999999999999", std::nullopt},
        // leading blanks allowed, nothing after the digits
        IntCase{"  12", 12}, IntCase{"\t-3", -3}, IntCase{"12 ", std::nullopt}, IntCase{"12a", std::nullopt},
        IntCase{"1.5", std::nullopt}, IntCase{"1e3", std::nullopt}, IntCase{"- 1", std::nullopt},
        IntCase{"", std::nullopt}, IntCase{"   ", std::nullopt}, IntCase{"+", std::nullopt},
        IntCase{"-", std::nullopt}, IntCase{"++1", std::nullopt}, IntCase{"True", std::nullopt},
        // hexadecimal after each prefix, all 32 bits, no sign
        IntCase{"$10", 16}, IntCase{"x1F", 31}, IntCase{"X1f", 31}, IntCase{"0x10", 16}, IntCase{"0XfF", 255},
        IntCase{" 0x10", 16}, IntCase{"$FFFFFFFF", -1}, IntCase{"0x80000000", INT32_MIN},
        IntCase{"$0000000010", 16}, IntCase{"$100000000", std::nullopt}, IntCase{"$", std::nullopt},
        IntCase{"0x", std::nullopt}, IntCase{"x", std::nullopt}, IntCase{"-$10", std::nullopt},
        IntCase{"+0x10", std::nullopt}, IntCase{"0x1g", std::nullopt}, IntCase{"00x10", std::nullopt},
        IntCase{"$ 1", std::nullopt}, IntCase{"0x10 ", std::nullopt}));

// ---- the value rules --------------------------------------------------------------------

struct ValueCase {
  const char* raw;  // what follows "Key=" in the file
  const char* read;
};

class IniValueRule : public ::testing::TestWithParam<ValueCase> {};

TEST_P(IniValueRule, TrimsThenRemovesOneEnclosingPairOfQuotes) {
  const rtl::TIniText text(std::string("[S]\nKey=") + GetParam().raw + "\n");
  EXPECT_EQ(text.Find("S", "Key").value_or("<missing>"), GetParam().read) << "raw: [" << GetParam().raw << "]";
}

INSTANTIATE_TEST_SUITE_P(
    Table, IniValueRule,
    ::testing::Values(ValueCase{"abc", "abc"}, ValueCase{"  abc \t ", "abc"}, ValueCase{"", ""},
                      ValueCase{"   ", ""}, ValueCase{"\"abc\"", "abc"}, ValueCase{"'abc'", "abc"},
                      ValueCase{"  \"a b\"  ", "a b"}, ValueCase{"\" padded \"", " padded "},
                      ValueCase{"\"\"", ""}, ValueCase{"''", ""}, ValueCase{"\"", "\""}, ValueCase{"'", "'"},
                      ValueCase{"\"abc'", "\"abc'"}, ValueCase{"'abc\"", "'abc\""},
                      ValueCase{"\"\"x\"\"", "\"x\""}, ValueCase{"\"a\" b\"", "a\" b"},
                      ValueCase{"\"abc", "\"abc"}, ValueCase{"a=b=c", "a=b=c"}, ValueCase{"1, 2,,3", "1, 2,,3"}));

TEST(IniValueLength, ReadsAtMost2047CharactersWithoutSplittingOne) {
  const std::string ascii(3000, 'a');
  std::string accents;
  for (int i = 0; i < 3000; ++i) accents += "\xC3\xA9";  // é, two bytes each
  const rtl::TIniText text("[S]\nA=" + ascii + "\nE=" + accents + "\nQ=\"" + ascii + "\"\nX=" +
                           std::string(2047, 'b') + "\n");
  EXPECT_EQ(text.Find("S", "A")->size(), 2047u);
  const std::string e = *text.Find("S", "E");
  EXPECT_EQ(e.size(), 2 * 2047u);
  EXPECT_EQ(e.substr(e.size() - 2), "\xC3\xA9");
  EXPECT_EQ(*text.Find("S", "Q"), std::string(2047, 'a')) << "the quotes go before the cut";
  EXPECT_EQ(*text.Find("S", "X"), std::string(2047, 'b'));
}

TEST(IniNames, SectionsAndKeysMatchWithoutRegardToCaseAndTheFirstWins) {
  const rtl::TIniText text(
      "Stray=before any section\n"
      "[tform1]\n"
      "PANEL1_WIDTH=5\n"
      "  Scale_ItemIndex =  2\n"
      "panel1_width=6\n"
      "; Comment=1\n"
      "=orphan\n"
      "no equals sign\n"
      "[TFORM1]\n"
      "Other=1\n");
  EXPECT_EQ(text.Find("TForm1", "Panel1_Width"), "5");
  EXPECT_EQ(text.Find(" TForm1 ", "scale_itemindex"), "2");
  EXPECT_EQ(text.Find("TForm1", "Other"), std::nullopt) << "a later section of the same name is never reached";
  EXPECT_EQ(text.Find("TForm1", "; Comment"), std::nullopt);
  EXPECT_EQ(text.Find("TForm1", "Stray"), std::nullopt);
  EXPECT_EQ(text.Find("TForm1", "no equals sign"), std::nullopt);
  EXPECT_EQ(text.Find("TForm2", "Panel1_Width"), std::nullopt);
}

// ---- edits that keep the rest of the file -----------------------------------------------

constexpr const char* kOtherSections =
    "; written by hand\r\n"
    "[Autre]\r\n"
    "NormPos=1,2,3,4\r\n"
    "\r\n"
    "[tform1]\r\n"
    "; keep me\r\n"
    "formversion = 0\r\n"
    "Panel1_Width=145\r\n"
    "\r\n"
    "[Dernier]\r\n"
    "Cle=\"valeur\"";  // no line break at the end

TEST(IniEdits, ReplacingAValueChangesOnlyItsLine) {
  rtl::TIniText text(kOtherSections);
  text.Set("TForm1", "Panel1_Width", "200");
  text.Set("TFORM1", "FormVersion", "0");
  std::string expected = kOtherSections;
  expected.replace(expected.find("Panel1_Width=145"), 16, "Panel1_Width=200");
  expected.replace(expected.find("formversion = 0"), 15, "formversion=0");
  EXPECT_EQ(text.Text(), expected);
}

TEST(IniEdits, NewKeysGoAtTheEndOfTheirSectionAndNewSectionsAtTheEndOfTheFile) {
  rtl::TIniText text(kOtherSections);
  text.Set("TForm1", "Visible", "0");
  text.Set("Nouveau", "A", "1");
  text.Set("Dernier", "Deux", "2");
  EXPECT_EQ(text.Text(),
            "; written by hand\r\n"
            "[Autre]\r\n"
            "NormPos=1,2,3,4\r\n"
            "\r\n"
            "[tform1]\r\n"
            "; keep me\r\n"
            "formversion = 0\r\n"
            "Panel1_Width=145\r\n"
            "Visible=0\r\n"
            "\r\n"
            "[Dernier]\r\n"
            "Cle=\"valeur\"\r\n"
            "Deux=2\r\n"
            "\r\n"
            "[Nouveau]\r\n"
            "A=1\r\n");
  EXPECT_EQ(text.Sections(), (std::vector<std::string>{"Autre", "tform1", "Dernier", "Nouveau"}));
  EXPECT_EQ(text.Keys("TForm1"), (std::vector<std::string>{"formversion", "Panel1_Width", "Visible"}));
}

TEST(IniEdits, AByteOrderMarkStaysAndDoesNotHideTheFirstSection) {
  rtl::TIniText text("\xEF\xBB\xBF[TForm1]\nA=1\n");
  EXPECT_EQ(text.Find("TForm1", "A"), "1");
  text.Set("TForm1", "A", "2");
  EXPECT_EQ(text.Text(), "\xEF\xBB\xBF[TForm1]\nA=2\n");
}

// ---- the file ---------------------------------------------------------------------------

class IniFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/mirelune-ini-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    root_ = pattern;
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old != nullptr) oldXdg_ = old;
    ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
  }
  void TearDown() override {
    if (oldXdg_) {
      ::setenv("XDG_CONFIG_HOME", oldXdg_->c_str(), 1);
    } else {
      ::unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ec;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
  }

  static std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  static void Spit(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
  }
  // Names in the folder, so that a left-over temporary file shows.
  static std::vector<std::string> Listing(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path Ini() const { return root_ / "config" / "Mirelune.ini"; }

  fs::path root_;
  std::optional<std::string> oldXdg_;
};

TEST_F(IniFileTest, ABareNameLivesInTheConfigurationFolderWhichTheFirstWriteCreates) {
  fs::remove_all(root_ / "config");
  ::setenv("XDG_CONFIG_HOME", (root_ / "config" / "deeper").c_str(), 1);
  {
    TIniFile ini("Mirelune.ini");
    EXPECT_EQ(ini.Path(), (root_ / "config" / "deeper" / "Mirelune.ini").string());
    EXPECT_EQ(ini.ReadString("TForm1", "FormVersion", "absent"), "absent");
    EXPECT_EQ(ini.ReadInteger("TForm1", "FormVersion", -5), -5);
    EXPECT_FALSE(fs::exists(root_ / "config")) << "reading creates nothing";
    ini.WriteInteger("TForm1", "FormVersion", 0);
    ini.WriteString("TForm1", "NormPos", "10,20,1160,851");
    ini.WriteBool("TForm1", "Visible", false);
    ini.WriteInteger("TForm1", "Scale_ItemIndex", -1);
  }
  const fs::path file = root_ / "config" / "deeper" / "Mirelune.ini";
  EXPECT_EQ(Slurp(file), "[TForm1]\nFormVersion=0\nNormPos=10,20,1160,851\nVisible=0\nScale_ItemIndex=-1\n");
  EXPECT_EQ(Listing(file.parent_path()), std::vector<std::string>{"Mirelune.ini"});
  EXPECT_EQ(fs::status(root_ / "config").permissions() & fs::perms::all, fs::perms::owner_all);
}

TEST_F(IniFileTest, WithoutXdgConfigHomeTheFolderIsDotConfigInHome) {
  ::unsetenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  const std::string oldHome = home ? home : "";
  ::setenv("HOME", root_.c_str(), 1);
  EXPECT_EQ(TIniFile::WindowsDirectory(), (root_ / ".config").string());
  ::setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_EQ(TIniFile::WindowsDirectory(), (root_ / ".config").string());
  ::setenv("HOME", oldHome.c_str(), 1);
  EXPECT_EQ(TIniFile((root_ / "x.ini").string()).Path(), (root_ / "x.ini").string()) << "a path is taken as it is";
}

TEST_F(IniFileTest, ReadsAndWritesThroughTheFileAndKeepsEverythingElse) {
  Spit(Ini(), kOtherSections);
  TIniFile ini("Mirelune.ini");
  EXPECT_EQ(ini.ReadInteger("TFORM1", "PANEL1_WIDTH", 0), 145);
  EXPECT_EQ(ini.ReadString("Dernier", "Cle", ""), "valeur");
  ini.WriteInteger("TForm1", "Panel1_Width", 90);
  ini.WriteString("TForm1", "Visible", "0");
  std::string expected = kOtherSections;
  expected.replace(expected.find("Panel1_Width=145"), 16, "Panel1_Width=90\r\nVisible=0");
  EXPECT_EQ(Slurp(Ini()), expected);
  EXPECT_EQ(ini.ReadInteger("TForm1", "Panel1_Width", 0), 90) << "reads see the writes";
}

TEST_F(IniFileTest, IntegersAndBooleansGoThroughTheirRules) {
  Spit(Ini(), "[S]\nHex=0x1F\nPadded=   42   \nBad=12px\nEmpty=\nT=1\nF=0\nOther=7\n");
  TIniFile ini("Mirelune.ini");
  EXPECT_EQ(ini.ReadInteger("S", "Hex", -1), 31);
  EXPECT_EQ(ini.ReadInteger("S", "Padded", -1), 42);
  EXPECT_EQ(ini.ReadInteger("S", "Bad", -1), -1);
  EXPECT_EQ(ini.ReadInteger("S", "Empty", -1), -1);
  EXPECT_EQ(ini.ReadString("S", "Empty", "default"), "") << "an empty value is a value";
  EXPECT_TRUE(ini.ReadBool("S", "T", false));
  EXPECT_FALSE(ini.ReadBool("S", "F", true));
  EXPECT_TRUE(ini.ReadBool("S", "Other", false));
  EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
  ini.WriteBool("S", "T", false);
  EXPECT_EQ(ini.ReadString("S", "T", ""), "0");
}

TEST_F(IniFileTest, ARefusedWriteRaisesTheFrenchErrorAndLeavesTheFileAsItWas) {
  Spit(Ini(), "[TForm1]\nFormVersion=0\n");
  fs::permissions(Ini(), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  TIniFile ini("Mirelune.ini");
  try {
    ini.WriteInteger("TForm1", "FormVersion", 1);
    FAIL() << "a read-only file took a write";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), "Impossible d'écrire dans Mirelune.ini");
  }
  EXPECT_EQ(Slurp(Ini()), "[TForm1]\nFormVersion=0\n");
  EXPECT_EQ(Listing(Ini().parent_path()), std::vector<std::string>{"Mirelune.ini"});

  // A folder that cannot be made (its parent is a file) refuses as well.
  Spit(root_ / "plain", "x");
  ::setenv("XDG_CONFIG_HOME", (root_ / "plain" / "sub").c_str(), 1);
  EXPECT_THROW(TIniFile("Mirelune.ini").WriteString("S", "K", "v"), EIniFileException);
}

TEST_F(IniFileTest, NamesAndValuesThatWouldBreakTheFileAreRefused) {
  TIniFile ini("Mirelune.ini");
  ini.WriteString("S", "K", "v");
  EXPECT_THROW(ini.WriteString("S", "K", "two\nlines"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S", "K", "cr\rhere"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S", "A=B", "v"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S", "  ", "v"), EIniFileException);
  EXPECT_THROW(ini.WriteString("S]x", "K", "v"), EIniFileException);
  EXPECT_EQ(Slurp(Ini()), "[S]\nK=v\n");
}

TEST_F(IniFileTest, WritingThroughASymbolicLinkChangesItsTargetAndKeepsTheLink) {
  Spit(root_ / "real" / "settings.ini", "[S]\nK=1\n");
  fs::create_directories(Ini().parent_path());
  fs::create_symlink(root_ / "real" / "settings.ini", Ini());
  TIniFile("Mirelune.ini").WriteString("S", "K", "2");
  EXPECT_TRUE(fs::is_symlink(Ini()));
  EXPECT_EQ(Slurp(root_ / "real" / "settings.ini"), "[S]\nK=2\n");
}

TEST_F(IniFileTest, AWriteThatRunsOutOfSpaceLeavesTheOldFileWhole) {
  const std::string old = "[TForm1]\nFormVersion=0\n";
  Spit(Ini(), old);
  // A file-size limit below the new content makes the write fail as a full disk would.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* oldHandler = ::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  bool refused = false;
  try {
    TIniFile("Mirelune.ini").WriteString("TForm1", "NormPos", std::string(200, '9'));
  } catch (const EIniFileException&) {
    refused = true;
  }
  ::setrlimit(RLIMIT_FSIZE, &saved);
  ::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(refused);
  EXPECT_EQ(Slurp(Ini()), old);
  EXPECT_EQ(Listing(Ini().parent_path()), std::vector<std::string>{"Mirelune.ini"});
}

TEST_F(IniFileTest, TwoCopiesWritingAtOnceLoseNothingAndNeverLeaveABrokenFile) {
  constexpr int kKeys = 150;
  TIniFile("Mirelune.ini").WriteString("Commun", "Debut", "1");
  std::vector<pid_t> children;
  for (const char* section : {"Copie1", "Copie2"}) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      int status = 0;
      try {
        TIniFile ini("Mirelune.ini");
        for (int i = 0; i < kKeys; ++i) ini.WriteInteger(section, "K" + std::to_string(i), i);
      } catch (...) {
        status = 1;
      }
      ::_exit(status);
    }
    children.push_back(pid);
  }
  // Meanwhile every read finds a whole file: it starts with the first section and ends
  // with a line break.
  int brokenReads = 0;
  for (int i = 0; i < 300; ++i) {
    const std::string bytes = Slurp(Ini());
    if (bytes.rfind("[Commun]\nDebut=1\n", 0) != 0 || bytes.back() != '\n') ++brokenReads;
  }
  for (pid_t pid : children) {
    int status = -1;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(brokenReads, 0);
  TIniFile ini("Mirelune.ini");
  for (const char* section : {"Copie1", "Copie2"}) {
    EXPECT_EQ(ini.Load().Keys(section).size(), static_cast<size_t>(kKeys)) << section;
    EXPECT_EQ(ini.ReadInteger(section, "K" + std::to_string(kKeys - 1), -1), kKeys - 1);
  }
  EXPECT_EQ(Listing(Ini().parent_path()), std::vector<std::string>{"Mirelune.ini"});
}

}  // namespace
