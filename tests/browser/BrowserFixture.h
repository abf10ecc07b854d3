#pragma once
// A form holding the three linked lists over a temporary folder tree, a mount table of
// the test's own (so that a folder of the tree can stand for another volume), the
// working folder brought back at the end, and the events recorded in order.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browser/DirectoryListBox.h"
#include "browser/DriveComboBox.h"
#include "browser/FileListBox.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Form.h"
#include "platform/win/Volumes.h"
#include "tests/win/TempTree.h"

namespace browser_test {

using testing_support::TTempTree;
using testing_support::TUnprivileged;
using testing_support::TWorkingFolderGuard;

inline void SendKey(QWidget* target, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

inline void TypeChar(QWidget* target, char c) {
  const QString text(QChar::fromLatin1(c));
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

// Clicks (or double-clicks) the middle of a line of a list, as the mouse does.
inline void ClickLine(TCustomListBox* list, int index, bool doubleClick = false) {
  QWidget* viewport = static_cast<QAbstractScrollArea*>(list->Widget())->viewport();
  const TRect r = list->ItemRect(index);
  const QPointF at(r.Left + 20, (r.Top + r.Bottom) / 2);
  const QPointF global = viewport->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &release);
  if (doubleClick) {
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &dbl);
    QApplication::sendEvent(viewport, &release);
  }
}

inline std::vector<std::string> Lines(const TStrings& items) { return items.Texts(); }

class BrowserTest : public testing::Test {
 protected:
  BrowserTest() : form(nullptr) {
    savedEnvironment_ = win::VolumeEnvironment();
    win::VolumeEnvironment().LabelFolder = tree.MakeDir("sys/by-label");
    win::VolumeEnvironment().BlockClassFolder = tree.MakeDir("sys/block");
    SetMountTable("");
    savedHook_ = Application->MessageHook;
    Application->MessageHook = [this](TMessageKind, const std::string&, const std::string& text) {
      boxes.push_back(text);
    };
    form.SetBounds(0, 0, 400, 500);
  }
  ~BrowserTest() override {
    Application->MessageHook = savedHook_;
    win::VolumeEnvironment() = savedEnvironment_;
  }

  // The system's volumes: "/" on ext4, and whatever a test adds.
  void SetMountTable(const std::string& extraLines) {
    win::VolumeEnvironment().MountTable = tree.MakeFile("sys/mounts", "/dev/root / ext4 rw 0 0\n" + extraLines);
  }

  // Creates the three lists at a folder (the working folder at their creation), linked as
  // the main window links them, and shows the form so that their windows exist.
  void Build(const std::string& folder, const std::string& mask = "*.jpg;*.bmp;*.wmf;*.emf;*.ico") {
    win::ChangeDir(folder);
    drives = new TDriveComboBox(&form);  // owned by the form
    drives->SetParent(&form);
    drives->SetBounds(5, 5, 300, 19);
    dirs = new TDirectoryListBox(&form);
    dirs->SetParent(&form);
    dirs->SetBounds(5, 30, 300, 200);
    files = new TFileListBox(&form);
    files->SetParent(&form);
    files->SetBounds(5, 240, 300, 200);
    drives->SetDirList(dirs);
    dirs->SetFileList(files);
    files->SetMask(mask);
    Record();
    form.Show();
    events.clear();
  }

  void Record() {
    drives->OnClick = [this](TObject*) { events.push_back("drives click"); };
    drives->OnChange = [this](TObject*) { events.push_back("drives change " + drives->Drive()); };
    dirs->OnClick = [this](TObject*) { events.push_back("dirs click"); };
    dirs->OnDblClick = [this](TObject*) { events.push_back("dirs dblclick"); };
    dirs->OnChange = [this](TObject*) { events.push_back("dirs change " + dirs->Directory()); };
    files->OnClick = [this](TObject*) { events.push_back("files click " + files->FileName()); };
    files->OnChange = [this](TObject*) { events.push_back("files change"); };
  }

  TWorkingFolderGuard workingFolder;
  TTempTree tree;
  TForm form;
  TDriveComboBox* drives = nullptr;
  TDirectoryListBox* dirs = nullptr;
  TFileListBox* files = nullptr;
  std::vector<std::string> events;
  std::vector<std::string> boxes;

 private:
  win::TVolumeEnvironment savedEnvironment_;
  std::function<void(TMessageKind, const std::string&, const std::string&)> savedHook_;
};

}  // namespace browser_test
