// The browser's models without any window: folder lines, masks, file lines, the
// hourglass position, drive lines and glyphs.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "browser/DriveLines.h"
#include "browser/FileLines.h"
#include "browser/FileMask.h"
#include "browser/FolderLines.h"
#include "browser/Glyphs.h"
#include "browser/Hourglass.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

using K = TFolderLineKind;

struct LineView {
  std::string text;
  K kind;
  int glyphLeft;
  std::string path;
  friend bool operator==(const LineView&, const LineView&) = default;
  friend std::ostream& operator<<(std::ostream& os, const LineView& l) {
    return os << "{" << l.text << ", " << static_cast<int>(l.kind) << ", " << l.glyphLeft << ", " << l.path << "}";
  }
};

std::vector<LineView> View(const TFolderLines& lines) {
  std::vector<LineView> out;
  for (int i = 0; i < lines.Count(); ++i)
    out.push_back({lines.Lines()[static_cast<size_t>(i)].Text, lines.Lines()[static_cast<size_t>(i)].Kind,
                   lines.GlyphLeft(i), lines.PathOf(i)});
  return out;
}

TEST(FolderLines, AtTheRootOneCurrentLineThenTheSortedSubfolders) {
  TFolderLines lines;
  lines.Build("/", "/", {"usr", "Boot", "etc", "bin"});
  const std::vector<LineView> expected{{"/", K::Current, 2, "/"},
                                       {"bin", K::Subfolder, 10, "/bin"},
                                       {"Boot", K::Subfolder, 10, "/Boot"},
                                       {"etc", K::Subfolder, 10, "/etc"},
                                       {"usr", K::Subfolder, 10, "/usr"}};
  EXPECT_EQ(View(lines), expected);
  EXPECT_EQ(lines.CurrentIndex(), 0);
  EXPECT_EQ(lines.Depth(), 1);
}

TEST(FolderLines, DeepInATreeEachAncestorOneStepFurtherIn) {
  TFolderLines lines;
  lines.Build("/home/anne/Photos/2004", "/", {"noel", "Ete", "automne"});
  const std::vector<LineView> expected{{"/", K::Ancestor, 2, "/"},
                                       {"home", K::Ancestor, 6, "/home"},
                                       {"anne", K::Ancestor, 10, "/home/anne"},
                                       {"Photos", K::Ancestor, 14, "/home/anne/Photos"},
                                       {"2004", K::Current, 18, "/home/anne/Photos/2004"},
                                       {"automne", K::Subfolder, 22, "/home/anne/Photos/2004/automne"},
                                       {"Ete", K::Subfolder, 22, "/home/anne/Photos/2004/Ete"},
                                       {"noel", K::Subfolder, 22, "/home/anne/Photos/2004/noel"}};
  EXPECT_EQ(View(lines), expected);
  EXPECT_EQ(lines.CurrentIndex(), 4);
  EXPECT_EQ(lines.Depth(), 4);
}

TEST(FolderLines, OnAnotherVolumeTheMountPointIsTheRootLine) {
  TFolderLines lines;
  lines.Build("/media/cle/Photos/2004", "/media/cle", {"b"});
  const std::vector<LineView> expected{{"/media/cle", K::Ancestor, 2, "/media/cle"},
                                       {"Photos", K::Ancestor, 6, "/media/cle/Photos"},
                                       {"2004", K::Current, 10, "/media/cle/Photos/2004"},
                                       {"b", K::Subfolder, 14, "/media/cle/Photos/2004/b"}};
  EXPECT_EQ(View(lines), expected);

  lines.Build("/media/cle", "/media/cle", {"DCIM"});
  const std::vector<LineView> atRoot{{"/media/cle", K::Current, 2, "/media/cle"},
                                     {"DCIM", K::Subfolder, 10, "/media/cle/DCIM"}};
  EXPECT_EQ(View(lines), atRoot);
  EXPECT_EQ(lines.PathOf(-1), "");
  EXPECT_EQ(lines.PathOf(2), "");
}

TEST(Paths, JoinWithOneSeparatorAndCompareByTheVolumesRule) {
  EXPECT_EQ(JoinPath("/", "a.jpg"), "/a.jpg");
  EXPECT_EQ(JoinPath("/home", "a.jpg"), "/home/a.jpg");
  EXPECT_EQ(JoinPath("/home/", "a.jpg"), "/home/a.jpg");
  EXPECT_TRUE(SamePath("/a/B", "/a/B", true));
  EXPECT_FALSE(SamePath("/a/B", "/a/b", true));
  EXPECT_TRUE(SamePath("/a/B", "/a/b", false));
}

struct MaskCase {
  const char* pattern;
  const char* name;
  bool matches;
};

class MaskMatching : public testing::TestWithParam<MaskCase> {};

TEST_P(MaskMatching, IgnoresCaseAndFollowsTheWildcards) {
  const TFileMask mask(GetParam().pattern);
  ASSERT_EQ(mask.Count(), 1);
  EXPECT_EQ(mask.Matches(0, GetParam().name), GetParam().matches) << GetParam().pattern << " " << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, MaskMatching,
    testing::Values(MaskCase{"*.jpg", "photo.jpg", true}, MaskCase{"*.jpg", "PHOTO.JPG", true},
                    MaskCase{"*.jpg", "photo.JpG", true}, MaskCase{"*.jpg", "photo.jpeg", false},
                    MaskCase{"*.jpg", "photo.jpg.txt", false}, MaskCase{"*.jpg", "jpg", false},
                    MaskCase{"*.*", "README", true}, MaskCase{"*", "a.b", true}, MaskCase{"", "a", false},
                    MaskCase{"IMG_????.jpg", "img_0042.JPG", true}, MaskCase{"IMG_????.jpg", "img_42.jpg", false},
                    MaskCase{"*.[jb]*", "a.BMP", true}, MaskCase{"*.[jb]*", "a.png", false},
                    MaskCase{"photo*", "Photo-1.png", true}, MaskCase{"*été.jpg", "un été.jpg", true},
                    MaskCase{"*.jp?", "a.JPE", true}));

TEST(Mask, SplitsAtSemicolonsKeepingTheOrder) {
  const TFileMask mask("*.jpg;*.bmp;;*.ico");
  ASSERT_EQ(mask.Count(), 4);
  EXPECT_EQ(mask.Pattern(0), "*.jpg");
  EXPECT_EQ(mask.Pattern(1), "*.bmp");
  EXPECT_EQ(mask.Pattern(2), "");
  EXPECT_EQ(mask.Pattern(3), "*.ico");
  EXPECT_TRUE(mask.Matches(1, "x.BMP"));
  EXPECT_FALSE(mask.Matches(2, "x.bmp"));
}

std::vector<std::string> Texts(const std::vector<TFileLine>& lines) {
  std::vector<std::string> t;
  for (const auto& l : lines) t.push_back(l.Text);
  return t;
}

TEST(FileLines, PlainMatchingFilesPatternByPatternAndTwiceWhenTwoMatch) {
  using win::TEntryKind;
  const std::vector<win::TFolderEntry> entries{
      {"b.jpg", TEntryKind::File},    {"NOTES.TXT", TEntryKind::File}, {"A.JPG", TEntryKind::File},
      {".cache.jpg", TEntryKind::File}, {"dir.jpg", TEntryKind::Directory}, {"fifo.jpg", TEntryKind::Other},
      {"c.bmp", TEntryKind::File},    {"d.jpg.bmp", TEntryKind::File}};
  const auto lines = CollectFileLines(entries, TFileMask("*.bmp;*.jpg;*.JPG.*"), 0);
  EXPECT_EQ(Texts(lines), (std::vector<std::string>{"c.bmp", "d.jpg.bmp", "b.jpg", "A.JPG", "d.jpg.bmp"}));
  for (const auto& l : lines) EXPECT_EQ(l.Glyph, TFileGlyphKind::Unknown);

  const auto withFolders = CollectFileLines(entries, TFileMask("*.jpg"), win::faDirectory);
  EXPECT_EQ(Texts(withFolders), (std::vector<std::string>{"b.jpg", "A.JPG", "[dir.jpg]"}));
  EXPECT_EQ(withFolders[2].Glyph, TFileGlyphKind::Folder);
}

TEST(FileLines, ProgramsGetTheExecutableGlyph) {
  for (const char* name : {"setup.exe", "RUN.BAT", "a.Com", "x.pif"}) EXPECT_TRUE(IsExecutableName(name)) << name;
  for (const char* name : {"exe", "a.exe.jpg", "a.bat~", "a.cmd"}) EXPECT_FALSE(IsExecutableName(name)) << name;
  const auto lines = CollectFileLines({{"Setup.EXE", win::TEntryKind::File}}, TFileMask("*.*"), 0);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Glyph, TFileGlyphKind::Executable);
}

// The definition itself: insert each line into a sorted list after its equals, and note
// the first insertion that lands at the position.
int FirstLandingBySimulation(const std::vector<std::string>& texts, int position) {
  std::vector<std::string> sorted;
  for (size_t i = 0; i < texts.size(); ++i) {
    const auto at = std::upper_bound(sorted.begin(), sorted.end(), texts[i],
                                     [](const std::string& a, const std::string& b) { return rtl::CompareText(a, b) < 0; });
    if (at - sorted.begin() == position) return static_cast<int>(i);
    sorted.insert(at, texts[i]);
  }
  return -1;
}

std::vector<std::string_view> Views(const std::vector<std::string>& texts) {
  return std::vector<std::string_view>(texts.begin(), texts.end());
}

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> texts;
  for (int i = 0; i < count; ++i) texts.push_back(rtl::Format("img%04d.jpg", i));
  return texts;
}

TEST(Hourglass, InAlphabeticalOrderTheHundredAndFirstLineLandsAtOneHundred) {
  EXPECT_EQ(FirstInsertionAt(Views(Numbered(100))), -1);
  EXPECT_EQ(FirstInsertionAt(Views(Numbered(101))), 100);
  EXPECT_EQ(FirstInsertionAt(Views(Numbered(5000))), 100);
  auto reversed = Numbered(500);
  std::reverse(reversed.begin(), reversed.end());
  EXPECT_EQ(FirstInsertionAt(Views(reversed)), -1);  // every line lands at the top
}

TEST(Hourglass, AgreesWithInsertingOneLineAtATime) {
  std::mt19937 random(12345);
  int landed = 0;  // rounds where position 100 is reached, so both outcomes are exercised
  for (int round = 0; round < 40; ++round) {
    const int count = 90 + static_cast<int>(random() % 300);
    std::vector<std::string> texts;
    for (int i = 0; i < count; ++i) {
      // Few distinct names in mixed case, so that equal lines meet often.
      std::string t = rtl::Format("n%03u.JPG", static_cast<unsigned>(random() % 150));
      if (random() % 2) t = rtl::LowerCase(t);
      texts.push_back(t);
    }
    for (int position : {0, 1, 7, 100})
      ASSERT_EQ(FirstInsertionAt(Views(texts), position), FirstLandingBySimulation(texts, position))
          << "round " << round << " position " << position;
    landed += FirstLandingBySimulation(texts, 100) >= 0;
  }
  EXPECT_GT(landed, 0);
  EXPECT_LT(landed, 40);
}

struct DriveCase {
  win::TDriveType type;
  const char* source;
  const char* label;
  const char* text;
  TDriveGlyphKind glyph;
};

class DriveLineTexts : public testing::TestWithParam<DriveCase> {};

TEST_P(DriveLineTexts, FollowTheVolumeType) {
  const DriveCase& c = GetParam();
  const auto lines = BuildDriveLines({win::TVolume{"/media/x", c.source, "fs", c.type, c.label}});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].Text, c.text);
  EXPECT_EQ(lines[0].Drive, "/media/x");
  EXPECT_EQ(lines[0].Glyph, c.glyph);
}

INSTANTIATE_TEST_SUITE_P(
    Types, DriveLineTexts,
    testing::Values(DriveCase{win::TDriveType::Fixed, "/dev/sda1", "Photos", "/media/x [Photos]", TDriveGlyphKind::Hard},
                    DriveCase{win::TDriveType::Fixed, "/dev/sda1", "", "/media/x []", TDriveGlyphKind::Hard},
                    DriveCase{win::TDriveType::Removable, "/dev/sdb1", "", "/media/x", TDriveGlyphKind::Floppy},
                    DriveCase{win::TDriveType::Remote, "//serveur/photos", "", "/media/x //serveur/photos",
                              TDriveGlyphKind::Network},
                    DriveCase{win::TDriveType::Remote, "", "Partage", "/media/x [Partage]", TDriveGlyphKind::Network},
                    DriveCase{win::TDriveType::CDROM, "/dev/sr0", "VACANCES", "/media/x [VACANCES]",
                              TDriveGlyphKind::CDROM},
                    DriveCase{win::TDriveType::RAMDisk, "tmpfs", "", "/media/x []", TDriveGlyphKind::RAM}));

TEST(DriveLines, VolumesOfUnknownTypeHaveNoLine) {
  EXPECT_TRUE(BuildDriveLines({win::TVolume{"/x", "", "", win::TDriveType::Unknown, ""}}).empty());
}

TEST(Glyphs, EachHasItsSizeSixteenColoursAndATransparentCorner) {
  const gdi::COLORREF teal = gdi::RGB(0, 128, 128);
  for (const char* name : {"FLOPPY", "HARD", "NETWORK", "CDROM", "RAM"}) {
    const auto g = LoadGlyph(name);
    EXPECT_EQ(g->Width(), 16) << name;
    EXPECT_EQ(g->Height(), 11) << name;
    EXPECT_EQ(g->Bitmap().BitCount(), 4) << name;
    EXPECT_EQ(g->Bitmap().PixelColor(0, g->Height() - 1), teal) << name;
  }
  for (const char* name : {"OPENFOLDER", "CLOSEDFOLDER", "CURRENTFOLDER", "EXECUTABLE", "UNKNOWNFILE"}) {
    const auto g = LoadGlyph(name);
    EXPECT_EQ(g->Width(), 16) << name;
    EXPECT_EQ(g->Height(), 15) << name;
    EXPECT_EQ(g->Bitmap().PixelColor(0, g->Height() - 1), teal) << name;
    // Every glyph draws something opaque in its middle rows.
    int opaque = 0;
    for (int x = 0; x < 16; ++x) opaque += g->Bitmap().PixelColor(x, 7) != teal;
    EXPECT_GT(opaque, 4) << name;
  }
  EXPECT_THROW(LoadGlyph("MAINICON"), Exception);
}

}  // namespace
