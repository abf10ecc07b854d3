#include <sys/stat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "platform/rtl/Exceptions.h"
#include "platform/win/FileSearch.h"
#include "platform/win/WorkingFolder.h"
#include "tests/win/TempTree.h"

namespace {

using testing_support::TTempTree;
using testing_support::TUnprivileged;
using testing_support::TWorkingFolderGuard;
using win::TEntryKind;

std::map<std::string, TEntryKind> KindsOf(const std::vector<win::TFolderEntry>& entries) {
  std::map<std::string, TEntryKind> kinds;
  for (const auto& e : entries) kinds[e.Name] = e.Kind;
  return kinds;
}

TEST(ReadFolder, TellsFilesFoldersAndWhatLinksLeadTo) {
  TTempTree tree;
  tree.MakeFile("photo.jpg");
  tree.MakeDir("sub");
  tree.MakeFile(".hidden.jpg");
  tree.MakeSymlink(tree.Path("photo.jpg"), "link.jpg");
  tree.MakeSymlink(tree.Path("sub"), "linkdir");
  tree.MakeSymlink(tree.Path("nowhere"), "dangling.jpg");
  ASSERT_EQ(mkfifo(tree.Path("pipe.jpg").c_str(), 0644), 0);

  std::vector<win::TFolderEntry> entries;
  ASSERT_EQ(win::ReadFolder(tree.Root(), entries), 0);
  const std::map<std::string, TEntryKind> expected{
      {"photo.jpg", TEntryKind::File},     {"sub", TEntryKind::Directory},      {".hidden.jpg", TEntryKind::File},
      {"link.jpg", TEntryKind::File},      {"linkdir", TEntryKind::Directory},  {"dangling.jpg", TEntryKind::Other},
      {"pipe.jpg", TEntryKind::Other}};
  EXPECT_EQ(KindsOf(entries), expected);  // "." and ".." are not there
}

TEST(ReadFolder, ReportsTheRefusalAndLeavesTheOutputAlone) {
  TTempTree tree;
  std::vector<win::TFolderEntry> entries{{"kept", TEntryKind::File}};
  EXPECT_EQ(win::ReadFolder(tree.Path("missing"), entries), ENOENT);
  EXPECT_EQ(win::ReadFolder(tree.MakeFile("file"), entries), ENOTDIR);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].Name, "kept");
}

TEST(AttributeFilter, ListsPlainFilesOnlyUnlessTheFilterNamesMore) {
  const win::TFolderEntry plain{"a.jpg", TEntryKind::File}, hidden{".a.jpg", TEntryKind::File},
      folder{"dir", TEntryKind::Directory}, hiddenFolder{".dir", TEntryKind::Directory}, other{"p", TEntryKind::Other};
  EXPECT_TRUE(win::PassesAttributeFilter(plain, 0));
  EXPECT_FALSE(win::PassesAttributeFilter(hidden, 0));
  EXPECT_FALSE(win::PassesAttributeFilter(folder, 0));
  EXPECT_FALSE(win::PassesAttributeFilter(other, 0));
  EXPECT_TRUE(win::PassesAttributeFilter(folder, win::faDirectory));
  EXPECT_FALSE(win::PassesAttributeFilter(hiddenFolder, win::faDirectory));
  EXPECT_TRUE(win::PassesAttributeFilter(hiddenFolder, win::faDirectory | win::faHidden));
  EXPECT_TRUE(win::PassesAttributeFilter(plain, win::faReadOnly | win::faArchive));
}

TEST(WorkingFolder, FollowsChangesAndReportsTheResolvedPath) {
  TWorkingFolderGuard guard;
  TTempTree tree;
  tree.MakeDir("a/b");
  tree.MakeSymlink(tree.Path("a/b"), "shortcut");
  win::ChangeDir(tree.Path("shortcut"));
  EXPECT_EQ(win::GetCurrentDir(), tree.Path("a/b"));
  win::ChangeDir("..");
  EXPECT_EQ(win::GetCurrentDir(), tree.Path("a"));
  EXPECT_TRUE(win::DirectoryExists(tree.Path("a/b")));
  EXPECT_FALSE(win::DirectoryExists(tree.MakeFile("a/f")));
  EXPECT_FALSE(win::DirectoryExists(""));
}

void ExpectRefused(const std::string& path, int code, const char* message) {
  try {
    win::ChangeDir(path);
    ADD_FAILURE() << "entered " << path;
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode(), code) << path;
    EXPECT_EQ(e.Message(), message) << path;
  }
}

TEST(WorkingFolder, RefusalsRaiseInputOutputErrorsAndKeepTheFolder) {
  TWorkingFolderGuard guard;
  TTempTree tree;
  win::ChangeDir(tree.Root());
  ExpectRefused(tree.Path("missing"), 3, "Nom de fichier incorrect");
  ExpectRefused(tree.MakeFile("plain"), 3, "Nom de fichier incorrect");
  ExpectRefused("", 3, "Nom de fichier incorrect");
  EXPECT_EQ(win::GetCurrentDir(), tree.Root());
}

TEST(WorkingFolder, AFolderWithoutPermissionIsRefusedAsAccessDenied) {
  TWorkingFolderGuard guard;
  TTempTree tree;
  tree.MakeDir("closed");
  tree.Lock("closed");
  TUnprivileged unprivileged;
  if (!unprivileged.Active()) GTEST_SKIP() << "running as root and cannot act as an unprivileged user";
  ExpectRefused(tree.Path("closed"), 5, "Accès au fichier refusé");
}

}  // namespace
