#pragma once
// The file list: the plain files of a folder that match a mask, kept sorted ignoring
// case.  A refill raises OnChange but no OnClick; a user's pick raises OnClick, then
// OnChange when the selected line changed.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "browser/BrowserTypes.h"
#include "browser/Glyphs.h"
#include "platform/vcl/ListBox.h"

class TDirectoryListBox;

class TFileListBox : public TCustomListBox {
 public:
  explicit TFileListBox(TComponent* AOwner);
  ~TFileListBox() override;
  std::string ClassName() const override { return "TFileListBox"; }

  // The folder shown, a full path.
  const std::string& Directory() const { return directory_; }
  // Moves to a folder (the working folder follows) and refills; nothing when it is the
  // current one.  A refusal raises EInOutError.
  void SetDirectory(const std::string& path);

  const std::string& Mask() const { return mask_; }
  // Stores a different mask and refills.
  void SetMask(const std::string& value);
  TFileType FileType() const { return fileType_; }
  void SetFileType(TFileType value);
  bool ShowGlyphs() const { return showGlyphs_; }
  void SetShowGlyphs(bool value);

  // The full path of the selected file, "" when no line is selected.
  std::string FileName() const;
  TDirectoryListBox* DirList() const { return dirList_; }

  // Lists the folder again (only once the window exists).  A folder that cannot be
  // entered raises EInOutError and keeps the lines.
  void ReadFileNames();

  TNotifyEvent OnChange;

  void Click() override;
  void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) override;

 protected:
  void CreateWnd() override;
  void FontChanged() override;
  // Records the selection and raises OnChange.
  virtual void Change();
  // Puts the lines of a refill in place, sorted by the list (the hourglass, when due, is
  // already showing).
  virtual void FillLines(std::vector<std::pair<std::string, TObject*>> lines);

 private:
  friend class TDirectoryListBox;
  void UpdateItemHeight();
  TGlyph* GlyphFor(int kind) const;

  std::string directory_;
  std::string mask_ = "*.*";
  TFileType fileType_{ftNormal};
  bool showGlyphs_ = false;
  int lastSelection_ = -1;
  TDirectoryListBox* dirList_ = nullptr;
  std::unique_ptr<TGlyph> executable_, closedFolder_, unknownFile_;
};
