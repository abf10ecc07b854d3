#pragma once
// The mounted volumes, standing where the original system's drives stand: each volume's
// mount point is its "drive", with a type read from its file system and device and, for
// volumes that are not removable, its label.

#include <string>
#include <string_view>
#include <vector>

namespace win {

enum class TDriveType { Unknown, Removable, Fixed, Remote, CDROM, RAMDisk };

// One line of the mount table, its escapes (\040 and the like) decoded.
struct TMountEntry {
  std::string Source;
  std::string MountPoint;
  std::string FsType;
};

struct TVolume {
  std::string MountPoint;
  std::string Source;
  std::string FsType;
  TDriveType Type = TDriveType::Unknown;
  std::string Label;  // empty for removable volumes, whose label is never read
};

// Where the volume list comes from; tests point these at folders of their own.
struct TVolumeEnvironment {
  std::string MountTable = "/proc/self/mounts";
  std::string LabelFolder = "/dev/disk/by-label";
  std::string BlockClassFolder = "/sys/class/block";
};

// The environment the controls read.  A test hook: tests may change it.
TVolumeEnvironment& VolumeEnvironment();

std::vector<TMountEntry> ParseMountTable(std::string_view text);

// The type of a mount by its file system alone; Fixed for block devices and every file
// system that is neither a network, an optical, a memory nor a pseudo file system
// (Unknown).  removable tells whether the block device says it is removable.
TDriveType DriveTypeOf(const TMountEntry& mount, bool removable);

// Whether the names of a file system are compared ignoring case.
bool FoldsCase(std::string_view fsType);
// Whether a file system keeps the case of names as they were written.
bool KeepsCase(std::string_view fsType);

// Decodes the escapes of udev's link names (\x20 for a blank).
std::string DecodeLabelName(std::string_view name);

// The volumes of the system, in mount-point order: pseudo file systems and system
// places left out, "/" always present, one volume per mount point (the last mount wins,
// it hides the others).  Removable media are never touched: neither their label nor
// their mount point is read.
std::vector<TVolume> ReadVolumes(const TVolumeEnvironment& env);
inline std::vector<TVolume> ReadVolumes() { return ReadVolumes(VolumeEnvironment()); }

// The volume that holds a path (an absolute path, as the system resolves it): the one
// whose mount point is the longest prefix of it.  Answers nullptr only when there are
// no volumes.
const TVolume* VolumeOfPath(const std::vector<TVolume>& volumes, std::string_view path);

// Whether path lies at or below the folder root ("/" holds every path).
bool PathIsUnder(std::string_view path, std::string_view root);

}  // namespace win
