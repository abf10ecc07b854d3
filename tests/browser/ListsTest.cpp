// The three linked lists on temporary folder trees: what they show, how they open
// folders, the events they raise and what stays after a refusal.

#include <QCursor>
#include <QGuiApplication>
#include <algorithm>
#include <filesystem>

#include "browser/FolderLines.h"
#include "browser/Hourglass.h"
#include "platform/rtl/Format.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/FileSearch.h"
#include "platform/win/WorkingFolder.h"
#include "tests/browser/BrowserFixture.h"

namespace browser_test {
namespace {

using K = TFolderLineKind;

std::vector<K> Kinds(const TDirectoryListBox& dirs) {
  std::vector<K> kinds;
  for (const TFolderLine& l : dirs.FolderLines().Lines()) kinds.push_back(l.Kind);
  return kinds;
}

std::vector<int> GlyphLefts(const TDirectoryListBox& dirs) {
  std::vector<int> lefts;
  for (int i = 0; i < dirs.Items().Count(); ++i) lefts.push_back(dirs.GlyphLeft(i));
  return lefts;
}

std::vector<std::string> PathParts(const std::string& path) {
  std::vector<std::string> parts;
  for (const auto& p : std::filesystem::path(path))
    if (p != "/") parts.push_back(p.string());
  return parts;
}

TEST_F(BrowserTest, AtTheRootTheFolderListShowsTheRootThenItsSortedSubfolders) {
  Build("/");
  ASSERT_GE(dirs->Items().Count(), 1);
  EXPECT_EQ(dirs->Items()[0], "/");
  EXPECT_EQ(dirs->ItemIndex(), 0);
  EXPECT_EQ(dirs->FolderLines().Lines()[0].Kind, K::Current);
  EXPECT_EQ(dirs->GlyphLeft(0), 2);

  std::vector<std::string> expected;
  for (const auto& e : std::filesystem::directory_iterator("/")) {
    const std::string name = e.path().filename().string();
    if (e.is_directory() && name[0] != '.') expected.push_back(name);
  }
  std::stable_sort(expected.begin(), expected.end(),
                   [](const std::string& a, const std::string& b) { return rtl::CompareText(a, b) < 0; });
  std::vector<std::string> shown = Lines(dirs->Items());
  shown.erase(shown.begin());
  EXPECT_EQ(shown, expected);
  for (int i = 1; i < dirs->Items().Count(); ++i) EXPECT_EQ(dirs->GlyphLeft(i), 10);
  EXPECT_EQ(win::GetCurrentDir(), "/");
  EXPECT_EQ(files->Directory(), "/");
}

TEST_F(BrowserTest, DeepInATreeEachAncestorIsOneStepFurtherInAndHiddenFoldersAreLeftOut) {
  const std::string deep = tree.MakeDir("Photos/2004/Noel");
  for (const char* sub : {"zeta", "Alpha", "beta", ".cache"}) tree.MakeDir(std::string("Photos/2004/Noel/") + sub);
  tree.MakeFile("Photos/2004/Noel/notes.txt");
  tree.MakeSymlink(tree.Path("Photos"), "Photos/2004/Noel/Gamma");  // a link to a folder is a folder
  Build(deep);

  std::vector<std::string> expected{"/"};
  for (const std::string& part : PathParts(deep)) expected.push_back(part);
  const int current = static_cast<int>(expected.size()) - 1;
  for (const char* sub : {"Alpha", "beta", "Gamma", "zeta"}) expected.push_back(sub);
  EXPECT_EQ(Lines(dirs->Items()), expected);
  EXPECT_EQ(dirs->ItemIndex(), current);

  std::vector<K> kinds(static_cast<size_t>(current), K::Ancestor);
  kinds.push_back(K::Current);
  kinds.insert(kinds.end(), 4, K::Subfolder);
  EXPECT_EQ(Kinds(*dirs), kinds);

  std::vector<int> lefts;
  for (int i = 0; i <= current; ++i) lefts.push_back(4 * i + 2);
  lefts.insert(lefts.end(), 4, 4 * current + 6);  // one slash a level below "/"
  EXPECT_EQ(GlyphLefts(*dirs), lefts);
  EXPECT_EQ(files->Directory(), deep);
}

// Paints one line and compares the glyph's pixels where they must land: the glyph's own
// colours where it is opaque, the list's background where it is transparent; the text
// starts 4 pixels after the glyph.
void ExpectGlyphDrawnAt(TDirectoryListBox& dirs, int index, const TGlyph& glyph, int left) {
  const TRect r = dirs.ItemRect(index);
  gdi::TCanvas& canvas = dirs.Canvas();
  canvas.Origin = TPoint{0, 0};
  canvas.ClipRect = r;
  dirs.DrawItem(index, r, 0);
  const gdi::COLORREF transparent = vcl::BottomLeftColor(glyph.Bitmap());
  const int top = r.Top + (r.Height() - glyph.Height()) / 2;
  for (int y = 0; y < glyph.Height(); ++y)
    for (int x = 0; x < glyph.Width(); ++x) {
      const gdi::COLORREF g = glyph.Bitmap().PixelColor(x, y);
      const gdi::COLORREF want = g == transparent ? dirs.Color() : g;
      ASSERT_EQ(canvas.Surface().PixelColor(left + x, top + y), want) << "line " << index << " at " << x << "," << y;
    }
  // Nothing is drawn between the line's edge and the glyph.
  for (int x = 0; x < left; ++x) ASSERT_EQ(canvas.Surface().PixelColor(x, top + 7), dirs.Color()) << x;
}

TEST_F(BrowserTest, LinesAreDrawnWithTheirGlyphsAtTheirIndent) {
  const std::string deep = tree.MakeDir("a/b");
  tree.MakeDir("a/b/c");
  Build(deep);
  dirs->SetHeight(400);
  const int current = dirs->ItemIndex();
  const auto open = LoadGlyph("OPENFOLDER"), here = LoadGlyph("CURRENTFOLDER"), closed = LoadGlyph("CLOSEDFOLDER");
  ExpectGlyphDrawnAt(*dirs, 0, *open, 2);
  ExpectGlyphDrawnAt(*dirs, 1, *open, 6);
  ExpectGlyphDrawnAt(*dirs, current, *here, 4 * current + 2);
  ExpectGlyphDrawnAt(*dirs, current + 1, *closed, 4 * current + 6);
  EXPECT_EQ(dirs->ItemHeight(), std::max(16, vcl::TextHeight(dirs->Font())));
}

TEST_F(BrowserTest, ASingleClickOnlySelectsADoubleClickOpens) {
  const std::string top = tree.MakeDir("top");
  tree.MakeDir("top/inner");
  tree.MakeFile("top/inner/PHOTO.JPG");
  Build(top);
  const int inner = dirs->ItemIndex() + 1;
  ClickLine(dirs, inner);
  EXPECT_EQ(dirs->ItemIndex(), inner);
  EXPECT_EQ(dirs->Directory(), top);
  EXPECT_EQ(events, (std::vector<std::string>{"dirs click"}));

  events.clear();
  ClickLine(dirs, inner, true);
  const std::string opened = top + "/inner";
  EXPECT_EQ(dirs->Directory(), opened);
  EXPECT_EQ(win::GetCurrentDir(), opened);
  EXPECT_EQ(files->Directory(), opened);
  EXPECT_EQ(Lines(files->Items()), (std::vector<std::string>{"PHOTO.JPG"}));
  EXPECT_EQ(files->ItemIndex(), -1);
  EXPECT_EQ(events, (std::vector<std::string>{"dirs dblclick", "files change", "dirs change " + opened}));
  EXPECT_EQ(dirs->Items()[dirs->ItemIndex()], "inner");
}

TEST_F(BrowserTest, EnterOpensTheSelectedLineAndArrowsOnlyMove) {
  const std::string base = tree.MakeDir("base");
  tree.MakeDir("base/one");
  tree.MakeDir("base/two");
  Build(base);
  dirs->SetFocus();
  const int current = dirs->ItemIndex();
  SendKey(dirs->Widget(), Qt::Key_Down);
  SendKey(dirs->Widget(), Qt::Key_Down);
  EXPECT_EQ(dirs->ItemIndex(), current + 2);
  EXPECT_EQ(dirs->Directory(), base);
  SendKey(dirs->Widget(), Qt::Key_Return);
  EXPECT_EQ(dirs->Directory(), base + "/two");
  EXPECT_EQ(events, (std::vector<std::string>{"dirs click", "dirs click", "files change", "dirs change " + base + "/two"}));
}

TEST_F(BrowserTest, OpeningAnAncestorGoesUpAndOpeningTheCurrentLineDoesNothing) {
  const std::string deep = tree.MakeDir("x/y/z");
  Build(deep);
  const int current = dirs->ItemIndex();
  dirs->SetItemIndex(current);
  dirs->OpenCurrent();
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(dirs->Directory(), deep);

  dirs->SetItemIndex(current - 2);  // the line of "x"
  dirs->OpenCurrent();
  EXPECT_EQ(dirs->Directory(), tree.Path("x"));
  EXPECT_EQ(dirs->Items()[dirs->ItemIndex()], "x");
  EXPECT_EQ(Lines(dirs->Items()).back(), "y");
  EXPECT_EQ(win::GetCurrentDir(), tree.Path("x"));

  dirs->SetItemIndex(0);
  dirs->OpenCurrent();
  EXPECT_EQ(dirs->Directory(), "/");
  EXPECT_EQ(files->Directory(), "/");
}

TEST_F(BrowserTest, TheFileListShowsPlainMatchingFilesSortedIgnoringCase) {
  const std::string folder = tree.MakeDir("pics");
  for (const char* name : {"PHOTO.JPG", "b.jpg", "Alpha.BMP", "c.ico", "d.wmf", "e.EMF", "notes.txt", ".hidden.jpg",
                           "photo.jpeg"})
    tree.MakeFile(std::string("pics/") + name);
  tree.MakeDir("pics/album.jpg");
  tree.MakeSymlink(tree.Path("pics/b.jpg"), "pics/link.jpg");
  tree.MakeSymlink(tree.Path("pics/missing.jpg"), "pics/dangling.jpg");
  Build(folder);
  EXPECT_EQ(Lines(files->Items()),
            (std::vector<std::string>{"Alpha.BMP", "b.jpg", "c.ico", "d.wmf", "e.EMF", "link.jpg", "PHOTO.JPG"}));
  EXPECT_EQ(files->FileName(), "");

  files->SetMask("*.jpg;PHOTO*");  // PHOTO.JPG matches both patterns
  EXPECT_EQ(Lines(files->Items()),
            (std::vector<std::string>{"b.jpg", "link.jpg", "photo.jpeg", "PHOTO.JPG", "PHOTO.JPG"}));
}

TEST_F(BrowserTest, TheSelectedFilesPathJoinsTheFolderWithOneSeparator) {
  const std::string folder = tree.MakeDir("sel");
  tree.MakeFile("sel/a.jpg");
  tree.MakeFile("sel/b.jpg");
  Build(folder);
  files->SetFocus();
  SendKey(files->Widget(), Qt::Key_Down);
  EXPECT_EQ(files->ItemIndex(), 0);
  EXPECT_EQ(files->FileName(), folder + "/a.jpg");
  ClickLine(files, 1);
  EXPECT_EQ(files->FileName(), folder + "/b.jpg");
  EXPECT_EQ(events, (std::vector<std::string>{"files click " + folder + "/a.jpg", "files change",
                                              "files click " + folder + "/b.jpg", "files change"}));
}

TEST_F(BrowserTest, ARefillRaisesOnChangeOnceAndNoClick) {
  const std::string folder = tree.MakeDir("refill");
  tree.MakeFile("refill/a.jpg");
  tree.MakeFile("refill/b.bmp");
  Build(folder);
  files->SetItemIndex(1);
  files->SetMask("*.bmp");
  EXPECT_EQ(Lines(files->Items()), (std::vector<std::string>{"b.bmp"}));
  EXPECT_EQ(files->ItemIndex(), -1);
  EXPECT_EQ(events, (std::vector<std::string>{"files change"}));

  events.clear();
  files->SetMask("*.bmp");  // the same mask: nothing
  files->SetDirectory(folder);
  EXPECT_TRUE(events.empty());
  files->SetFocus();
  SendKey(files->Widget(), Qt::Key_Down);
  SendKey(files->Widget(), Qt::Key_Down);  // already on the last line: no move
  EXPECT_EQ(events, (std::vector<std::string>{"files click " + folder + "/b.bmp", "files change"}));
}

TEST_F(BrowserTest, AFolderRemovedAfterListingIsRefusedAndBothListsStay) {
  const std::string base = tree.MakeDir("keep");
  tree.MakeDir("keep/gone");
  tree.MakeFile("keep/a.jpg");
  Build(base);
  const auto dirLines = Lines(dirs->Items());
  const auto fileLines = Lines(files->Items());
  std::filesystem::remove(tree.Path("keep/gone"));
  ClickLine(dirs, dirs->ItemIndex() + 1, true);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Nom de fichier incorrect."}));
  EXPECT_EQ(dirs->Directory(), base);
  EXPECT_EQ(Lines(dirs->Items()), dirLines);
  EXPECT_EQ(Lines(files->Items()), fileLines);
  EXPECT_EQ(files->Directory(), base);
  EXPECT_EQ(win::GetCurrentDir(), base);
}

TEST_F(BrowserTest, AFolderWithoutPermissionIsRefusedAndBothListsStay) {
  const std::string base = tree.MakeDir("perm");
  tree.MakeDir("perm/closed");
  tree.MakeFile("perm/a.jpg");
  tree.Lock("perm/closed");
  Build(base);
  const auto dirLines = Lines(dirs->Items());
  const auto fileLines = Lines(files->Items());
  TUnprivileged unprivileged;
  if (!unprivileged.Active()) GTEST_SKIP() << "running as root and cannot act as an unprivileged user";
  ClickLine(dirs, dirs->ItemIndex() + 1, true);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Accès au fichier refusé."}));
  EXPECT_EQ(dirs->Directory(), base);
  EXPECT_EQ(Lines(dirs->Items()), dirLines);
  EXPECT_EQ(Lines(files->Items()), fileLines);
}

TEST_F(BrowserTest, ARefillThatCannotEnterItsFolderKeepsItsLines) {
  const std::string folder = tree.MakeDir("vanish");
  tree.MakeFile("vanish/a.jpg");
  Build(folder);
  win::ChangeDir(tree.Root());
  std::filesystem::remove_all(folder);
  try {
    files->SetMask("*.*");
    ADD_FAILURE() << "refilled a folder that is gone";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "Nom de fichier incorrect");
  }
  EXPECT_EQ(Lines(files->Items()), (std::vector<std::string>{"a.jpg"}));
}

TEST_F(BrowserTest, OpeningAFolderOnAnotherVolumeSwitchesTheDriveListAndRebuildsOnce) {
  const std::string usb = tree.MakeDir("usb");
  tree.MakeDir("usb/DCIM");
  tree.MakeFile("usb/x.jpg");
  SetMountTable("/dev/fake1 " + usb + " vfat rw 0 0\n");
  Build(tree.Root());
  EXPECT_EQ(Lines(drives->Items()), (std::vector<std::string>{"/ []", usb + " []"}));
  EXPECT_EQ(drives->Drive(), "/");
  EXPECT_EQ(drives->ItemIndex(), 0);

  int usbLine = -1;
  for (int i = 0; i < dirs->Items().Count(); ++i)
    if (dirs->Items()[i] == "usb") usbLine = i;
  ASSERT_GT(usbLine, dirs->ItemIndex());
  dirs->SetItemIndex(usbLine);
  dirs->OpenCurrent();
  EXPECT_EQ(events, (std::vector<std::string>{"drives change " + usb, "files change", "dirs change " + usb}));
  EXPECT_EQ(drives->Drive(), usb);
  EXPECT_EQ(drives->ItemIndex(), 1);
  EXPECT_EQ(Lines(dirs->Items()), (std::vector<std::string>{usb, "DCIM"}));
  EXPECT_EQ(dirs->FolderLines().Lines()[0].Kind, K::Current);
  EXPECT_EQ(Lines(files->Items()), (std::vector<std::string>{"x.jpg"}));
  EXPECT_FALSE(dirs->CaseSensitive());  // a vfat volume

  events.clear();
  dirs->SetDirectory(tree.Path("USB"));  // the same folder on a volume that ignores case
  EXPECT_TRUE(events.empty());

  SafeCall([&] { drives->SelectByUser(0); });  // back to "/", as a pick in the drop-down
  EXPECT_EQ(dirs->Directory(), "/");
  EXPECT_EQ(events, (std::vector<std::string>{"drives click", "files change", "dirs change /", "drives change /"}));
  EXPECT_TRUE(dirs->CaseSensitive());
}

TEST_F(BrowserTest, EachArrowKeyOnTheDriveListIsAChoiceAndARefusedDriveStaysChosen) {
  const std::string gone = tree.Path("cdrom");  // listed by the mount table, not there
  SetMountTable("/dev/sr9 " + gone + " iso9660 ro 0 0\n");
  const std::string base = tree.MakeDir("here");
  Build(base);
  ASSERT_EQ(Lines(drives->Items()), (std::vector<std::string>{"/ []", gone + " []"}));
  drives->SetFocus();
  SendKey(drives->Widget(), Qt::Key_Down);
  EXPECT_EQ(boxes, (std::vector<std::string>{"Nom de fichier incorrect."}));
  EXPECT_EQ(drives->Drive(), gone);
  EXPECT_EQ(drives->ItemIndex(), 1);
  EXPECT_EQ(dirs->Directory(), base);
  EXPECT_EQ(files->Directory(), base);
  EXPECT_EQ(win::GetCurrentDir(), base);
  EXPECT_EQ(events, (std::vector<std::string>{"drives click"}));

  boxes.clear();
  events.clear();
  SafeCall([&] { drives->SelectByUser(1); });  // the same drive again: nothing more
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(events, (std::vector<std::string>{"drives click"}));

  // Back to the drive the folder list never left: it stays where it is.
  events.clear();
  SendKey(drives->Widget(), Qt::Key_Up);
  EXPECT_EQ(drives->Drive(), "/");
  EXPECT_EQ(dirs->Directory(), base);
  EXPECT_EQ(events, (std::vector<std::string>{"drives click", "drives change /"}));
}

TEST_F(BrowserTest, TypingOnTheDriveListPicksTheNextLineStartingWithTheCharacter) {
  const std::string usb = tree.MakeDir("usb");
  SetMountTable("/dev/fake1 " + usb + " vfat rw 0 0\n");
  Build(tree.Root());
  drives->SetFocus();
  TypeChar(drives->Widget(), 'x');  // no line starts with it: nothing
  EXPECT_TRUE(events.empty());
  TypeChar(drives->Widget(), 'z');
  TypeChar(drives->Widget(), '/');
  EXPECT_EQ(drives->Drive(), usb);
  EXPECT_EQ(dirs->Directory(), usb);
  EXPECT_EQ(events, (std::vector<std::string>{"drives click", "files change", "dirs change " + usb, "drives change " + usb}));
  TypeChar(drives->Widget(), '/');  // and round again
  EXPECT_EQ(drives->Drive(), "/");
}

TEST_F(BrowserTest, LinksAreClearedWhenALinkedListIsDestroyed) {
  const std::string base = tree.MakeDir("links");
  tree.MakeDir("links/sub");
  Build(base);
  delete files;  // the form no longer owns it
  files = nullptr;
  EXPECT_EQ(dirs->FileList(), nullptr);
  dirs->SetDirectory(base + "/sub");
  EXPECT_EQ(dirs->Directory(), base + "/sub");
  delete dirs;
  dirs = nullptr;
  EXPECT_EQ(drives->DirList(), nullptr);
  SafeCall([&] { drives->SelectByUser(0); });
  EXPECT_TRUE(boxes.empty());
}

// Notes the cursor each time a refill puts its lines in place.
class WatchedFileList : public TFileListBox {
 public:
  using TFileListBox::TFileListBox;
  std::vector<Qt::CursorShape> cursors;

 protected:
  void FillLines(std::vector<std::pair<std::string, TObject*>> lines) override {
    const QCursor* c = QGuiApplication::overrideCursor();
    cursors.push_back(c ? c->shape() : Qt::ArrowCursor);
    TFileListBox::FillLines(std::move(lines));
  }
};

// Whether a refill of the folder with this mask shows the hourglass, by inserting the
// lines one at a time in the order the system lists them.
bool LandsAtOneHundred(const std::string& folder) {
  std::vector<win::TFolderEntry> entries;
  if (win::ReadFolder(folder, entries) != 0) return false;
  std::vector<std::string_view> sorted;
  for (const auto& e : entries) {
    const std::string_view name = e.Name;
    const auto at = std::upper_bound(sorted.begin(), sorted.end(), name, [](std::string_view a, std::string_view b) {
      return rtl::CompareText(a, b) < 0;
    });
    if (at - sorted.begin() == kHourglassPosition) return true;
    sorted.insert(at, name);
  }
  return false;
}

TEST_F(BrowserTest, ALongRefillShowsTheHourglassAndBringsBackThePreviousCursor) {
  // The system lists names in an order of its own: add files until one of them lands at
  // position 100, and keep a folder of 100 where none can.
  const std::string many = tree.MakeDir("many"), few = tree.MakeDir("few");
  for (int i = 0; i < 100; ++i) tree.MakeFile(rtl::Format("few/img%03d.jpg", i));
  int count = 0;
  do {
    for (const int end = count == 0 ? 101 : count + 150; count < end;) tree.MakeFile(rtl::Format("many/img%04d.jpg", count++));
  } while (count < 5000 && !LandsAtOneHundred(many));
  ASSERT_TRUE(LandsAtOneHundred(many));

  win::ChangeDir(few);
  auto* list = new WatchedFileList(&form);  // owned by the form
  list->SetParent(&form);
  list->SetMask("*.jpg");
  QGuiApplication::setOverrideCursor(QCursor(Qt::CrossCursor));
  form.Show();
  list->SetDirectory(many);
  EXPECT_EQ(list->Items().Count(), count);
  EXPECT_EQ(list->cursors, (std::vector<Qt::CursorShape>{Qt::CrossCursor, Qt::WaitCursor}));
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
  QGuiApplication::restoreOverrideCursor();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(HourglassCursor, ComesBackAfterAnError) {
  QGuiApplication::setOverrideCursor(QCursor(Qt::IBeamCursor));
  try {
    THourglass hourglass;
    hourglass.Show();
    hourglass.Show();  // once only
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    throw EInOutError("Disque plein", 101);
  } catch (const EInOutError&) {
  }
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::IBeamCursor);
  QGuiApplication::restoreOverrideCursor();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace browser_test
