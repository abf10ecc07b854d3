#include "browser/FileListBox.h"

#include <algorithm>

#include "browser/DirectoryListBox.h"
#include "browser/FileLines.h"
#include "browser/FileMask.h"
#include "browser/FolderLines.h"
#include "browser/Hourglass.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/FileSearch.h"
#include "platform/win/Volumes.h"
#include "platform/win/WorkingFolder.h"

TFileListBox::TFileListBox(TComponent* AOwner)
    : TCustomListBox(AOwner),
      executable_(LoadGlyph("EXECUTABLE")),
      closedFolder_(LoadGlyph("CLOSEDFOLDER")),
      unknownFile_(LoadGlyph("UNKNOWNFILE")) {
  SetSorted(true);
  directory_ = win::GetCurrentDir();
  UpdateItemHeight();
}

TFileListBox::~TFileListBox() {
  if (dirList_) dirList_->fileList_ = nullptr;
}

void TFileListBox::UpdateItemHeight() {
  const int text = vcl::TextHeight(Font());
  SetItemHeight(showGlyphs_ ? std::max(text, executable_->Height() + 1) : text);
}

void TFileListBox::FontChanged() {
  TCustomListBox::FontChanged();
  UpdateItemHeight();
}

void TFileListBox::SetShowGlyphs(bool value) {
  if (value == showGlyphs_) return;
  showGlyphs_ = value;
  UpdateItemHeight();
  Invalidate();
}

void TFileListBox::CreateWnd() { ReadFileNames(); }

// Case is ignored where the volume ignores it, as the folder list compares.
void TFileListBox::SetDirectory(const std::string& path) {
  const bool caseSensitive = !dirList_ || dirList_->CaseSensitive();
  if (SamePath(path, directory_, caseSensitive)) return;
  if (win::DirectoryExists(directory_)) win::ChangeDir(directory_);
  win::ChangeDir(path);
  directory_ = win::GetCurrentDir();
  ReadFileNames();
}

void TFileListBox::SetMask(const std::string& value) {
  if (value == mask_) return;
  mask_ = value;
  ReadFileNames();
}

void TFileListBox::SetFileType(TFileType value) {
  if (value == fileType_) return;
  fileType_ = value;
  ReadFileNames();
}

TGlyph* TFileListBox::GlyphFor(int kind) const {
  switch (static_cast<TFileGlyphKind>(kind)) {
    case TFileGlyphKind::Executable: return executable_.get();
    case TFileGlyphKind::Folder: return closedFolder_.get();
    case TFileGlyphKind::Unknown: return unknownFile_.get();
  }
  return unknownFile_.get();
}

void TFileListBox::ReadFileNames() {
  if (!HandleAllocated()) return;
  THourglass hourglass;
  win::ChangeDir(directory_);
  std::vector<win::TFolderEntry> entries;
  win::ReadFolder(directory_, entries);  // a folder that may be entered but not read lists nothing
  std::vector<TFileLine> found = CollectFileLines(entries, TFileMask(mask_), fileType_.AttributeFilter());

  std::vector<std::string_view> texts;
  texts.reserve(found.size());
  for (const TFileLine& line : found) texts.push_back(line.Text);
  if (FirstInsertionAt(texts) >= 0) hourglass.Show();
  texts.clear();

  std::vector<std::pair<std::string, TObject*>> lines;
  lines.reserve(found.size());
  for (TFileLine& line : found) lines.emplace_back(std::move(line.Text), GlyphFor(static_cast<int>(line.Glyph)));
  FillLines(std::move(lines));
  Change();
}

void TFileListBox::FillLines(std::vector<std::pair<std::string, TObject*>> lines) {
  Items().Assign(std::move(lines));
  SetItemIndex(-1);
}

void TFileListBox::Change() {
  lastSelection_ = ItemIndex();
  if (OnChange) OnChange(this);
}

void TFileListBox::Click() {
  TCustomListBox::Click();
  if (ItemIndex() != lastSelection_) Change();
}

std::string TFileListBox::FileName() const {
  if (ItemIndex() < 0) return {};
  return JoinPath(directory_, Items().Strings(ItemIndex()));
}

void TFileListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  gdi::TCanvas& canvas = Canvas();
  const bool selected = (State & odSelected) != 0;
  canvas.FillRect(Rect, selected ? vcl::clHighlight : Color());
  const gdi::COLORREF color = selected ? vcl::clHighlightText : Font().Color();
  const auto* glyph = static_cast<const TGlyph*>(Items().Objects(Index));
  if (showGlyphs_ && glyph) {
    vcl::DrawTransparent(canvas, Rect.Left + 2, Rect.Top + (Rect.Height() - glyph->Height()) / 2, glyph->Bitmap(),
                         vcl::BottomLeftColor(glyph->Bitmap()));
    vcl::TextOut(canvas, Rect.Left + glyph->Width() + 6, Rect.Top + (Rect.Height() - vcl::TextHeight(Font())) / 2,
                 Items().Strings(Index), Font(), color);
  } else {
    vcl::TextOut(canvas, Rect.Left + 2, Rect.Top, Items().Strings(Index), Font(), color);
  }
}
