#include "platform/win/Volumes.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace win {

namespace {

struct FreeDeleter {
  void operator()(char* p) const { std::free(p); }
};
struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

bool OneOf(std::string_view s, std::initializer_list<std::string_view> set) {
  return std::find(set.begin(), set.end(), s) != set.end();
}

bool IsPseudoFs(std::string_view fs) {
  return OneOf(fs, {"proc", "sysfs", "cgroup", "cgroup2", "devpts", "devtmpfs", "mqueue", "debugfs", "tracefs",
                    "securityfs", "pstore", "bpf", "configfs", "fusectl", "hugetlbfs", "autofs", "binfmt_misc",
                    "efivarfs", "nsfs", "rpc_pipefs", "selinuxfs", "squashfs", "fuse.gvfsd-fuse", "fuse.portal"});
}

bool IsNetworkFs(std::string_view fs) {
  return OneOf(fs, {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "9p", "davfs", "glusterfs",
                    "fuse.sshfs", "fuse.rclone", "fuse.curlftpfs", "fuse.s3fs", "fuse.glusterfs", "fuse.davfs2",
                    "fuse.smbnetfs", "fuse.gcsfuse"});
}

// Places of the system itself, not folders a user browses for pictures.  Removable media
// mounted by the desktop under /run/media stay.
bool IsSystemPlace(const TMountEntry& m) {
  if (PathIsUnder(m.MountPoint, "/proc") || PathIsUnder(m.MountPoint, "/sys") || PathIsUnder(m.MountPoint, "/dev"))
    return true;
  return PathIsUnder(m.MountPoint, "/run") && !PathIsUnder(m.MountPoint, "/run/media");
}

int OctalDigit(char c) { return (c >= '0' && c <= '7') ? c - '0' : -1; }
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The mount table writes blanks, tabs, newlines and backslashes as \ and three octal digits.
std::string DecodeMountField(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size()) {
      const int a = OctalDigit(s[i + 1]), b = OctalDigit(s[i + 2]), c = OctalDigit(s[i + 3]);
      if (a >= 0 && a <= 3 && b >= 0 && c >= 0) {
        out.push_back(static_cast<char>(a * 64 + b * 8 + c));
        i += 3;
        continue;
      }
    }
    out.push_back(s[i]);
  }
  return out;
}

std::string RealPathOr(const std::string& path) {
  std::unique_ptr<char, FreeDeleter> real(realpath(path.c_str(), nullptr));
  return real ? std::string(real.get()) : path;
}

std::string ReadFirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  if (in) std::getline(in, line);
  return line;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The block layer's own flag; a partition has none and inherits its disk's.
bool DeviceIsRemovable(const std::string& device, const TVolumeEnvironment& env) {
  if (device.empty() || device.front() != '/') return false;
  const std::string name = BaseName(RealPathOr(device));
  if (name.empty()) return false;
  const std::string entry = env.BlockClassFolder + "/" + name;
  std::string flag = ReadFirstLine(entry + "/removable");
  if (flag.empty()) flag = ReadFirstLine(RealPathOr(entry) + "/../removable");
  return flag == "1";
}

// Device (resolved) to label, from the links udev keeps; reading links touches no medium.
std::map<std::string, std::string> ReadLabels(const TVolumeEnvironment& env) {
  std::map<std::string, std::string> labels;
  std::unique_ptr<DIR, DirCloser> dir(opendir(env.LabelFolder.c_str()));
  if (!dir) return labels;
  while (const dirent* e = readdir(dir.get())) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    labels.emplace(RealPathOr(env.LabelFolder + "/" + name), DecodeLabelName(name));
  }
  return labels;
}

// A bind mount of a single file has no root folder.  A mount point that cannot be looked
// at is kept: the table says it is there.
bool HasNoRootFolder(const std::string& mountPoint) {
  struct stat st {};
  return stat(mountPoint.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TVolumeEnvironment& VolumeEnvironment() {
  static TVolumeEnvironment env;
  return env;
}

std::vector<TMountEntry> ParseMountTable(std::string_view text) {
  std::vector<TMountEntry> entries;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    std::array<std::string_view, 3> fields;
    size_t count = 0, at = 0;
    while (count < fields.size() && at < line.size()) {
      while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
      const size_t start = at;
      while (at < line.size() && line[at] != ' ' && line[at] != '\t') ++at;
      if (at > start) fields[count++] = line.substr(start, at - start);
    }
    if (count < fields.size()) continue;
    entries.push_back(TMountEntry{DecodeMountField(fields[0]), DecodeMountField(fields[1]), DecodeMountField(fields[2])});
  }
  return entries;
}

TDriveType DriveTypeOf(const TMountEntry& mount, bool removable) {
  const std::string_view fs = mount.FsType;
  if (IsPseudoFs(fs)) return TDriveType::Unknown;
  if (IsNetworkFs(fs)) return TDriveType::Remote;
  if (fs == "iso9660" || fs == "udf") return TDriveType::CDROM;
  if (fs == "tmpfs" || fs == "ramfs") return TDriveType::RAMDisk;
  if (removable) return TDriveType::Removable;
  return TDriveType::Fixed;
}

bool FoldsCase(std::string_view fsType) { return OneOf(fsType, {"vfat", "msdos", "exfat", "ntfs", "ntfs3"}); }

bool KeepsCase(std::string_view fsType) { return fsType != "msdos"; }

std::string DecodeLabelName(std::string_view name) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
      const int hi = HexDigit(name[i + 2]), lo = HexDigit(name[i + 3]);
      if (hi >= 0 && lo >= 0) {
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 3;
        continue;
      }
    }
    out.push_back(name[i]);
  }
  return out;
}

std::vector<TVolume> ReadVolumes(const TVolumeEnvironment& env) {
  const std::vector<TMountEntry> mounts = ParseMountTable(ReadWholeFile(env.MountTable));
  std::map<std::string, TVolume> byMountPoint;  // ordered by mount point; a later mount hides an earlier one
  std::map<std::string, std::string> labels;
  bool labelsRead = false;
  for (const TMountEntry& m : mounts) {
    if (m.MountPoint.empty() || m.MountPoint.front() != '/') continue;
    if (IsSystemPlace(m)) {
      byMountPoint.erase(m.MountPoint);
      continue;
    }
    TDriveType type = DriveTypeOf(m, false);
    if (type == TDriveType::Fixed && DeviceIsRemovable(m.Source, env)) type = TDriveType::Removable;
    const bool removable = type == TDriveType::Removable;
    if (type == TDriveType::Unknown || (!removable && HasNoRootFolder(m.MountPoint))) {
      byMountPoint.erase(m.MountPoint);
      continue;
    }
    TVolume v{m.MountPoint, m.Source, m.FsType, type, {}};
    if (type != TDriveType::Removable && type != TDriveType::Remote) {
      if (!labelsRead) {
        labels = ReadLabels(env);
        labelsRead = true;
      }
      const auto it = labels.find(RealPathOr(m.Source));
      if (it != labels.end()) v.Label = it->second;
    }
    byMountPoint[m.MountPoint] = std::move(v);
  }
  if (!byMountPoint.count("/")) byMountPoint["/"] = TVolume{"/", "", "", TDriveType::Fixed, {}};
  std::vector<TVolume> volumes;
  volumes.reserve(byMountPoint.size());
  for (auto& [mountPoint, v] : byMountPoint) volumes.push_back(std::move(v));
  return volumes;
}

bool PathIsUnder(std::string_view path, std::string_view root) {
  if (root == "/") return !path.empty() && path.front() == '/';
  if (path.size() < root.size() || path.substr(0, root.size()) != root) return false;
  return path.size() == root.size() || path[root.size()] == '/';
}

const TVolume* VolumeOfPath(const std::vector<TVolume>& volumes, std::string_view path) {
  const TVolume* best = nullptr;
  for (const TVolume& v : volumes) {
    if (PathIsUnder(path, v.MountPoint) && (!best || v.MountPoint.size() > best->MountPoint.size())) best = &v;
  }
  if (!best && !volumes.empty()) best = &volumes.front();
  return best;
}

}  // namespace win
