// The three lists in the main window: in their places, linked, with the window's settings,
// and filled for the working folder once the window shows.

#include <gtest/gtest.h>

#include "platform/vcl/Application.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/Volumes.h"
#include "platform/win/WorkingFolder.h"
#include "test1/Form1.h"
#include "tests/win/TempTree.h"

namespace {

using testing_support::TTempTree;
using testing_support::TWorkingFolderGuard;

class MainWindowLists : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = win::VolumeEnvironment();
    win::VolumeEnvironment().MountTable = tree_.MakeFile("mounts", "/dev/root / ext4 rw 0 0\n");
    win::VolumeEnvironment().LabelFolder = tree_.Path("none");
    folder_ = tree_.MakeDir("Photos");
    tree_.MakeDir("Photos/2004");
    for (const char* name : {"b.JPG", "a.bmp", "c.wmf", "d.emf", "e.ico", "f.png", "g.txt"})
      tree_.MakeFile(std::string("Photos/") + name);
    win::ChangeDir(folder_);
    Application->SetTitle("Mirelune");
    Application->SetCommandLine({"mirelune"});
    form_ = std::make_unique<TForm1>(nullptr);
  }
  void TearDown() override {
    form_->BeforeDestruction();
    form_.reset();
    Application->ClearTerminated();
    win::VolumeEnvironment() = saved_;
  }

  TWorkingFolderGuard workingFolder_;
  TTempTree tree_;
  std::string folder_;
  win::TVolumeEnvironment saved_;
  std::unique_ptr<TForm1> form_;
};

TEST_F(MainWindowLists, StandInTheirPlacesLinkedBothWays) {
  TForm1& f = *form_;
  EXPECT_EQ(dynamic_cast<TDriveComboBox*>(f.FindComponent("DriveComboBox1")), f.DriveComboBox1);
  EXPECT_EQ(dynamic_cast<TDirectoryListBox*>(f.FindComponent("DirectoryListBox1")), f.DirectoryListBox1);
  EXPECT_EQ(dynamic_cast<TFileListBox*>(f.FindComponent("FileListBox1")), f.FileListBox1);
  EXPECT_EQ(f.DriveComboBox1->DirList(), f.DirectoryListBox1);
  EXPECT_EQ(f.DirectoryListBox1->DriveCombo(), f.DriveComboBox1);
  EXPECT_EQ(f.DirectoryListBox1->FileList(), f.FileListBox1);
  EXPECT_EQ(f.FileListBox1->DirList(), f.DirectoryListBox1);
  EXPECT_EQ(f.FileListBox1->Mask(), "*.jpg;*.bmp;*.wmf;*.emf;*.ico");
  EXPECT_EQ(f.DriveComboBox1->TextCase(), tcLowerCase);
  EXPECT_FALSE(f.FileListBox1->ShowGlyphs());
  EXPECT_EQ(f.FileListBox1->FileType(), TFileType{ftNormal});
  EXPECT_EQ(f.DirectoryListBox1->Constraints().MinHeight, 25);
  EXPECT_EQ(f.FileListBox1->Constraints().MinHeight, 20);
  EXPECT_EQ(f.DirectoryListBox1->ItemHeight(), 16);
  EXPECT_EQ(f.DriveComboBox1->ItemHeight(), std::max(11, vcl::TextHeight(f.DriveComboBox1->Font())));
}

TEST_F(MainWindowLists, ShowTheWorkingFolderOnceTheWindowShows) {
  TForm1& f = *form_;
  EXPECT_EQ(f.FileListBox1->Items().Count(), 0);  // no window yet: nothing listed
  f.Show();
  EXPECT_EQ(f.DriveComboBox1->Drive(), "/");
  EXPECT_EQ(f.DriveComboBox1->Text(), "/ []");
  EXPECT_EQ(f.DirectoryListBox1->Directory(), folder_);
  EXPECT_EQ(f.DirectoryListBox1->Items()[f.DirectoryListBox1->ItemIndex()], "Photos");
  EXPECT_EQ(f.DirectoryListBox1->Items().Texts().back(), "2004");
  EXPECT_EQ(f.FileListBox1->Directory(), folder_);
  EXPECT_EQ(f.FileListBox1->Items().Texts(), (std::vector<std::string>{"a.bmp", "b.JPG", "c.wmf", "d.emf", "e.ico"}));
  EXPECT_EQ(f.FileListBox1->ItemIndex(), -1);
}

}  // namespace
