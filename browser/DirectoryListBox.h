#pragma once
// The folder list: the current folder's path from its volume's root, one line a level,
// then its subfolders.  A double click or Enter opens the selected line; a change of
// folder refills the linked file list.

#include <memory>
#include <string>

#include "browser/FolderLines.h"
#include "browser/Glyphs.h"
#include "platform/vcl/ListBox.h"

class TDriveComboBox;
class TFileListBox;

class TDirectoryListBox : public TCustomListBox {
 public:
  explicit TDirectoryListBox(TComponent* AOwner);
  ~TDirectoryListBox() override;
  std::string ClassName() const override { return "TDirectoryListBox"; }

  // The current folder, a full path.
  const std::string& Directory() const { return directory_; }
  // Moves to a folder: the working folder follows, the lines are rebuilt and the change
  // is applied.  Nothing happens for "" or the current folder.  A refusal raises
  // EInOutError and leaves the lists as they were.
  void SetDirectory(const std::string& path);
  // The drive part of the current folder: the mount point of its volume.
  const std::string& Drive() const { return drive_; }
  // The drive list chose a drive.
  void DriveChange(const std::string& drive);

  TFileListBox* FileList() const { return fileList_; }
  // Also sets the file list's link back to this list.
  void SetFileList(TFileListBox* value);
  TDriveComboBox* DriveCombo() const { return driveCombo_; }

  // The folder of a line ("" outside the lines).
  std::string GetItemPath(int index) const { return lines_.PathOf(index); }
  // Opens the selected line.
  void OpenCurrent();
  // Rebuilds the lines for the current folder.
  void BuildList();

  bool PreserveCase() const { return preserveCase_; }
  bool CaseSensitive() const { return caseSensitive_; }
  // Left edge of a line's glyph.
  int GlyphLeft(int index) const { return lines_.GlyphLeft(index); }
  const TFolderLines& FolderLines() const { return lines_; }

  TNotifyEvent OnChange;

  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  void DblClick() override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;

 protected:
  void CreateWnd() override;
  void FontChanged() override;
  // Applies a change of folder: the file list's folder, then OnChange.
  virtual void Change();

 private:
  friend class TDriveComboBox;
  friend class TFileListBox;
  void EnterFolder(const std::string& path);
  void UpdateItemHeight();

  std::string directory_;
  std::string drive_;
  bool preserveCase_ = true;
  bool caseSensitive_ = true;
  bool crossingDrives_ = false;
  TFolderLines lines_;
  TDriveComboBox* driveCombo_ = nullptr;
  TFileListBox* fileList_ = nullptr;
  std::unique_ptr<TGlyph> openFolder_, closedFolder_, currentFolder_;
};
