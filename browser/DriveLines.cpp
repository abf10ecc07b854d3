#include "browser/DriveLines.h"

namespace {

std::string LabelText(const win::TVolume& v) { return v.MountPoint + " [" + v.Label + "]"; }

}  // namespace

std::vector<TDriveLine> BuildDriveLines(const std::vector<win::TVolume>& volumes) {
  std::vector<TDriveLine> lines;
  for (const win::TVolume& v : volumes) {
    switch (v.Type) {
      case win::TDriveType::Removable:
        lines.push_back({v.MountPoint, v.MountPoint, TDriveGlyphKind::Floppy});
        break;
      case win::TDriveType::Fixed:
        lines.push_back({LabelText(v), v.MountPoint, TDriveGlyphKind::Hard});
        break;
      case win::TDriveType::Remote:
        lines.push_back({v.Source.empty() ? LabelText(v) : v.MountPoint + " " + v.Source, v.MountPoint,
                         TDriveGlyphKind::Network});
        break;
      case win::TDriveType::CDROM:
        lines.push_back({LabelText(v), v.MountPoint, TDriveGlyphKind::CDROM});
        break;
      case win::TDriveType::RAMDisk:
        lines.push_back({LabelText(v), v.MountPoint, TDriveGlyphKind::RAM});
        break;
      case win::TDriveType::Unknown:
        break;
    }
  }
  return lines;
}
