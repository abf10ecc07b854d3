#pragma once
// The drive list: a drop-down of the mounted volumes, each line drawn with the glyph of
// its type.  Choosing a line makes its volume the current drive and moves the linked
// folder list there.

#include <memory>
#include <string>
#include <vector>

#include "browser/BrowserTypes.h"
#include "browser/Glyphs.h"
#include "platform/vcl/ComboBox.h"

class TDirectoryListBox;

class TDriveComboBox : public TCustomComboBox {
 public:
  explicit TDriveComboBox(TComponent* AOwner);
  ~TDriveComboBox() override;
  std::string ClassName() const override { return "TDriveComboBox"; }

  // The current drive: the mount point of a volume, or "" for none.
  const std::string& Drive() const { return drive_; }
  // Chooses a drive: selects its line, moves the linked folder list to it and raises
  // OnChange; nothing when a line is selected and the drive is already current.
  void SetDrive(const std::string& drive);

  TDirectoryListBox* DirList() const { return dirList_; }
  // Also sets the folder list's link back to this list.
  void SetDirList(TDirectoryListBox* value);

  TTextCase TextCase() const { return textCase_; }
  void SetTextCase(TTextCase value);

  // Reads the volumes again and rebuilds the lines.
  void BuildList();
  // The drive of line i.
  const std::string& LineDrive(int i) const { return drives_.at(static_cast<size_t>(i)); }

  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;
  // The user picked a line: its volume becomes the current drive.
  void Change() override;
  // No type-ahead search: a typed character picks the next line that starts with it.
  void KeyPress(char& Key) override;

 protected:
  void CreateWnd() override;
  void FontChanged() override;

 private:
  friend class TDirectoryListBox;
  void ApplyDrive(const std::string& drive);
  // Shows a drive as current again without telling anyone (after a refused move).
  void RestoreDrive(const std::string& drive);
  int LineOfDrive(const std::string& drive) const;
  void UpdateItemHeight();
  const TGlyph* GlyphFor(int kind) const;

  std::string drive_;
  std::vector<std::string> drives_;  // one per line
  TDirectoryListBox* dirList_ = nullptr;
  TTextCase textCase_ = tcLowerCase;
  std::unique_ptr<TGlyph> floppy_, hard_, network_, cdrom_, ram_;
};

// The mount point of the volume that holds a path, among the volumes the drive list shows.
std::string DriveOfPath(const std::string& path);
