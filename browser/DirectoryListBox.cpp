#include "browser/DirectoryListBox.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "browser/DriveComboBox.h"
#include "browser/FileListBox.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/FileSearch.h"
#include "platform/win/Volumes.h"
#include "platform/win/WorkingFolder.h"

namespace {

struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};

// Where a path leads once links are followed, to find the volume it lies on; the path
// itself when it does not exist (entering it will say why).
std::string Resolved(const std::string& path) {
  std::unique_ptr<char, FreeDeleter> real(realpath(path.c_str(), nullptr));
  return real ? std::string(real.get()) : path;
}

std::vector<std::string> VisibleSubfolders(const std::string& folder) {
  std::vector<win::TFolderEntry> entries;
  std::vector<std::string> names;
  if (win::ReadFolder(folder, entries) != 0) return names;  // a folder we may enter but not read
  for (win::TFolderEntry& e : entries)
    if (e.Kind == win::TEntryKind::Directory && !win::IsHiddenName(e.Name)) names.push_back(std::move(e.Name));
  return names;
}

}  // namespace

TDirectoryListBox::TDirectoryListBox(TComponent* AOwner)
    : TCustomListBox(AOwner),
      openFolder_(LoadGlyph("OPENFOLDER")),
      closedFolder_(LoadGlyph("CLOSEDFOLDER")),
      currentFolder_(LoadGlyph("CURRENTFOLDER")) {
  directory_ = win::GetCurrentDir();
  drive_ = DriveOfPath(directory_);
  UpdateItemHeight();
}

TDirectoryListBox::~TDirectoryListBox() {
  if (driveCombo_) driveCombo_->dirList_ = nullptr;
  if (fileList_) fileList_->dirList_ = nullptr;
}

void TDirectoryListBox::SetFileList(TFileListBox* value) {
  if (fileList_ == value) return;
  if (fileList_) fileList_->dirList_ = nullptr;
  fileList_ = value;
  if (fileList_) {
    if (fileList_->dirList_ && fileList_->dirList_ != this) fileList_->dirList_->fileList_ = nullptr;
    fileList_->dirList_ = this;
  }
}

void TDirectoryListBox::CreateWnd() { BuildList(); }

void TDirectoryListBox::UpdateItemHeight() {
  SetItemHeight(std::max(vcl::TextHeight(Font()), openFolder_->Height() + 1));
}

void TDirectoryListBox::FontChanged() {
  TCustomListBox::FontChanged();
  UpdateItemHeight();
}

void TDirectoryListBox::BuildList() {
  const std::vector<win::TVolume> volumes = win::ReadVolumes();
  const win::TVolume* volume = win::VolumeOfPath(volumes, directory_);
  drive_ = volume ? volume->MountPoint : std::string("/");
  const std::string fsType = volume ? volume->FsType : std::string();
  preserveCase_ = win::KeepsCase(fsType);
  caseSensitive_ = !win::FoldsCase(fsType);

  lines_.Build(directory_, drive_, VisibleSubfolders(directory_));
  std::vector<std::pair<std::string, TObject*>> items;
  items.reserve(lines_.Lines().size());
  for (const TFolderLine& line : lines_.Lines()) {
    TGlyph* glyph = line.Kind == TFolderLineKind::Ancestor  ? openFolder_.get()
                    : line.Kind == TFolderLineKind::Current ? currentFolder_.get()
                                                            : closedFolder_.get();
    items.emplace_back(line.Text, glyph);
  }
  Items().Assign(std::move(items));
  SetItemIndex(lines_.CurrentIndex());
}

void TDirectoryListBox::DriveChange(const std::string& drive) {
  if (drive == drive_) return;
  win::ChangeDir(drive);
  directory_ = win::GetCurrentDir();
  drive_ = DriveOfPath(directory_);
  if (crossingDrives_) return;
  BuildList();
  Change();
}

void TDirectoryListBox::EnterFolder(const std::string& path) {
  if (win::DirectoryExists(directory_)) win::ChangeDir(directory_);
  win::ChangeDir(path);
  directory_ = win::GetCurrentDir();
  drive_ = DriveOfPath(directory_);
}

void TDirectoryListBox::SetDirectory(const std::string& path) {
  if (path.empty() || SamePath(path, directory_, caseSensitive_)) return;
  const std::string newDrive = DriveOfPath(Resolved(path));
  if (newDrive != drive_) {
    const std::string oldDirectory = directory_, oldDrive = drive_;
    const std::string comboDrive = driveCombo_ ? driveCombo_->Drive() : std::string();
    crossingDrives_ = true;
    try {
      if (driveCombo_)
        driveCombo_->SetDrive(newDrive);
      else
        DriveChange(newDrive);
      crossingDrives_ = false;
      EnterFolder(path);
    } catch (...) {
      // The lines still show the old folder: so must the rest.
      crossingDrives_ = false;
      directory_ = oldDirectory;
      drive_ = oldDrive;
      if (driveCombo_) driveCombo_->RestoreDrive(comboDrive);
      if (win::DirectoryExists(oldDirectory)) {
        try {
          win::ChangeDir(oldDirectory);
        } catch (const EInOutError&) {
        }
      }
      throw;
    }
  } else {
    EnterFolder(path);
  }
  BuildList();
  Change();
}

void TDirectoryListBox::OpenCurrent() {
  if (ItemIndex() >= 0) SetDirectory(GetItemPath(ItemIndex()));
}

void TDirectoryListBox::Change() {
  if (fileList_) fileList_->SetDirectory(directory_);
  if (OnChange) OnChange(this);
}

void TDirectoryListBox::DblClick() {
  TCustomListBox::DblClick();
  OpenCurrent();
}

void TDirectoryListBox::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomListBox::KeyDown(Key, Shift);
  if (Key == VK_RETURN) {
    Key = 0;
    OpenCurrent();
  }
}

void TDirectoryListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  gdi::TCanvas& canvas = Canvas();
  const bool selected = (State & odSelected) != 0;
  canvas.FillRect(Rect, selected ? vcl::clHighlight : Color());
  const auto* glyph = static_cast<const TGlyph*>(Items().Objects(Index));
  int textLeft = Rect.Left + GlyphLeft(Index);
  if (glyph) {
    vcl::DrawTransparent(canvas, textLeft, Rect.Top + (Rect.Height() - glyph->Height()) / 2, glyph->Bitmap(),
                         vcl::BottomLeftColor(glyph->Bitmap()));
    textLeft += glyph->Width();
  }
  const std::string& text = Items().Strings(Index);
  vcl::TextOut(canvas, textLeft + 4, Rect.Top, preserveCase_ ? text : rtl::LowerCase(text), Font(),
               selected ? vcl::clHighlightText : Font().Color());
}
