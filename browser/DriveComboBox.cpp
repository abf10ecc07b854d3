#include "browser/DriveComboBox.h"

#include <algorithm>

#include "browser/DirectoryListBox.h"
#include "browser/DriveLines.h"
#include "platform/rtl/Format.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/Volumes.h"
#include "platform/win/WorkingFolder.h"

std::string DriveOfPath(const std::string& path) {
  const std::vector<win::TVolume> volumes = win::ReadVolumes();
  const win::TVolume* v = win::VolumeOfPath(volumes, path);
  return v ? v->MountPoint : std::string("/");
}

TDriveComboBox::TDriveComboBox(TComponent* AOwner)
    : TCustomComboBox(AOwner),
      floppy_(LoadGlyph("FLOPPY")),
      hard_(LoadGlyph("HARD")),
      network_(LoadGlyph("NETWORK")),
      cdrom_(LoadGlyph("CDROM")),
      ram_(LoadGlyph("RAM")) {
  SetStyle(TComboBoxStyle::csOwnerDrawFixed);
  drive_ = DriveOfPath(win::GetCurrentDir());
  UpdateItemHeight();
}

TDriveComboBox::~TDriveComboBox() {
  if (dirList_) dirList_->driveCombo_ = nullptr;
}

void TDriveComboBox::SetDirList(TDirectoryListBox* value) {
  if (dirList_ == value) return;
  if (dirList_) dirList_->driveCombo_ = nullptr;
  dirList_ = value;
  if (dirList_) {
    if (dirList_->driveCombo_ && dirList_->driveCombo_ != this) dirList_->driveCombo_->dirList_ = nullptr;
    dirList_->driveCombo_ = this;
  }
}

void TDriveComboBox::SetTextCase(TTextCase value) {
  if (value == textCase_) return;
  textCase_ = value;
  if (HandleAllocated()) BuildList();
}

const TGlyph* TDriveComboBox::GlyphFor(int kind) const {
  switch (static_cast<TDriveGlyphKind>(kind)) {
    case TDriveGlyphKind::Floppy: return floppy_.get();
    case TDriveGlyphKind::Hard: return hard_.get();
    case TDriveGlyphKind::Network: return network_.get();
    case TDriveGlyphKind::CDROM: return cdrom_.get();
    case TDriveGlyphKind::RAM: return ram_.get();
  }
  return nullptr;
}

// Mount points are paths and keep their case whatever the text case: shown as stored.
void TDriveComboBox::BuildList() {
  const std::vector<TDriveLine> lines = BuildDriveLines(win::ReadVolumes());
  std::vector<std::pair<std::string, TObject*>> items;
  drives_.clear();
  for (const TDriveLine& line : lines) {
    items.emplace_back(line.Text, const_cast<TGlyph*>(GlyphFor(static_cast<int>(line.Glyph))));
    drives_.push_back(line.Drive);
  }
  Items().Assign(std::move(items));
  ApplyDrive(drive_);
}

void TDriveComboBox::CreateWnd() { BuildList(); }

int TDriveComboBox::LineOfDrive(const std::string& drive) const {
  if (drive.empty()) return -1;
  const auto it = std::find(drives_.begin(), drives_.end(), drive);
  return it == drives_.end() ? -1 : static_cast<int>(it - drives_.begin());
}

void TDriveComboBox::SetDrive(const std::string& drive) {
  if (ItemIndex() >= 0 && drive == drive_) return;
  ApplyDrive(drive);
}

void TDriveComboBox::ApplyDrive(const std::string& drive) {
  drive_ = drive;
  SetItemIndex(LineOfDrive(drive_));
  if (dirList_ && !drive_.empty()) dirList_->DriveChange(drive_);
  TCustomComboBox::Change();
}

void TDriveComboBox::RestoreDrive(const std::string& drive) {
  drive_ = drive;
  SetItemIndex(LineOfDrive(drive_));
}

void TDriveComboBox::Change() {
  if (ItemIndex() >= 0) SetDrive(LineDrive(ItemIndex()));
}

void TDriveComboBox::KeyPress(char& Key) {
  TCustomComboBox::KeyPress(Key);
  if (Key == 0) return;
  const char typed[2] = {Key, '\0'};
  Key = 0;
  const int count = Items().Count();
  for (int step = 1; step <= count; ++step) {
    const int i = (ItemIndex() + step) % count;
    if (rtl::SameText(Items().Strings(i).substr(0, 1), typed)) {
      SelectByUser(i);
      return;
    }
  }
}

void TDriveComboBox::UpdateItemHeight() { SetItemHeight(std::max(vcl::TextHeight(Font()), floppy_->Height())); }

void TDriveComboBox::FontChanged() {
  TCustomComboBox::FontChanged();
  UpdateItemHeight();
  if (HandleAllocated()) BuildList();
}

void TDriveComboBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State) {
  gdi::TCanvas& canvas = Canvas();
  const bool selected = (State & odSelected) != 0;
  canvas.FillRect(Rect, selected ? vcl::clHighlight : Color());
  const auto* glyph = static_cast<const TGlyph*>(Items().Objects(Index));
  int textLeft = Rect.Left + 16 + 6;
  if (glyph) {
    vcl::DrawTransparent(canvas, Rect.Left + 2, Rect.Top + (Rect.Height() - glyph->Height()) / 2, glyph->Bitmap(),
                         vcl::BottomLeftColor(glyph->Bitmap()));
    textLeft = Rect.Left + glyph->Width() + 6;
  }
  vcl::TextOut(canvas, textLeft, Rect.Top + (Rect.Height() - vcl::TextHeight(Font())) / 2, Items().Strings(Index),
               Font(), selected ? vcl::clHighlightText : Font().Color());
}
