#include "platform/win/Volumes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/win/TempTree.h"

namespace {

using testing_support::TTempTree;
using win::TDriveType;

TEST(MountTable, SplitsFieldsAndDecodesEscapes) {
  const auto entries = win::ParseMountTable(
      "/dev/sda1 / ext4 rw,relatime 0 0\n"
      "\n"
      "//serveur/mes\\040photos /mnt/mes\\040photos cifs rw 0 0\n"
      "broken-line-without-fields\n"
      "tmpfs /tmp tmpfs rw 0 0");
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].Source, "/dev/sda1");
  EXPECT_EQ(entries[0].MountPoint, "/");
  EXPECT_EQ(entries[0].FsType, "ext4");
  EXPECT_EQ(entries[1].Source, "//serveur/mes photos");
  EXPECT_EQ(entries[1].MountPoint, "/mnt/mes photos");
  EXPECT_EQ(entries[2].MountPoint, "/tmp");
}

TEST(DriveTypes, FollowTheFileSystemAndTheRemovableFlag) {
  struct Case {
    const char* fs;
    bool removable;
    TDriveType type;
  };
  const Case cases[] = {{"ext4", false, TDriveType::Fixed},      {"vfat", true, TDriveType::Removable},
                        {"iso9660", true, TDriveType::CDROM},    {"udf", false, TDriveType::CDROM},
                        {"tmpfs", false, TDriveType::RAMDisk},   {"ramfs", false, TDriveType::RAMDisk},
                        {"nfs4", false, TDriveType::Remote},     {"cifs", false, TDriveType::Remote},
                        {"fuse.sshfs", false, TDriveType::Remote}, {"proc", false, TDriveType::Unknown},
                        {"cgroup2", false, TDriveType::Unknown}, {"devpts", false, TDriveType::Unknown},
                        {"overlay", false, TDriveType::Fixed}};
  for (const Case& c : cases)
    EXPECT_EQ(win::DriveTypeOf(win::TMountEntry{"/dev/x", "/m", c.fs}, c.removable), c.type) << c.fs;
}

TEST(CaseRules, OnlyWindowsFileSystemsFoldCase) {
  for (const char* fs : {"vfat", "exfat", "ntfs", "ntfs3", "msdos"}) EXPECT_TRUE(win::FoldsCase(fs)) << fs;
  for (const char* fs : {"ext4", "btrfs", "xfs", "tmpfs", "nfs", "iso9660"}) EXPECT_FALSE(win::FoldsCase(fs)) << fs;
  EXPECT_TRUE(win::KeepsCase("vfat"));
  EXPECT_FALSE(win::KeepsCase("msdos"));
}

TEST(LabelNames, DecodeUdevEscapes) {
  EXPECT_EQ(win::DecodeLabelName("Mes\\x20photos"), "Mes photos");
  EXPECT_EQ(win::DecodeLabelName("a\\x2fb"), "a/b");
  EXPECT_EQ(win::DecodeLabelName("plain\\xZZ"), "plain\\xZZ");
  EXPECT_EQ(win::DecodeLabelName("end\\x2"), "end\\x2");
}

// A fake system: a mount table, udev's label links to fake device nodes, and the block
// layer's removable flags (a whole disk, and a partition that inherits its disk's).
class FakeSystem : public testing::Test {
 protected:
  void SetUp() override {
    dev_ = tree_.MakeDir("dev");
    for (const char* d : {"sda1", "sdb1", "sr0", "sdc"}) tree_.MakeFile(std::string("dev/") + d);
    env_.LabelFolder = tree_.MakeDir("by-label");
    tree_.MakeSymlink(dev_ + "/sda1", "by-label/Mes\\x20photos");
    tree_.MakeSymlink(dev_ + "/sdb1", "by-label/CLE");
    tree_.MakeSymlink(dev_ + "/sr0", "by-label/VACANCES");
    env_.BlockClassFolder = tree_.MakeDir("block");
    tree_.MakeFile("devices/sdb/removable", "1\n");
    tree_.MakeDir("devices/sdb/sdb1");
    tree_.MakeSymlink(tree_.Path("devices/sdb/sdb1"), "block/sdb1");
    tree_.MakeFile("block/sda1/removable", "0\n");
    tree_.MakeFile("block/sdc/removable", "1\n");
  }
  std::vector<win::TVolume> Read(const std::string& table) {
    env_.MountTable = tree_.MakeFile("mounts", table);
    return win::ReadVolumes(env_);
  }
  // The fake devices live in the temporary tree, not under /dev: the removable probe
  // looks at device paths under /dev only, so the table names them through a link.
  std::string Dev(const char* name) { return dev_ + "/" + name; }

  TTempTree tree_;
  std::string dev_;
  win::TVolumeEnvironment env_;
};

TEST_F(FakeSystem, ListsBrowsableVolumesWithTypesAndLabels) {
  const auto volumes = Read("/dev/vda / ext4 rw 0 0\n"
                            "proc /proc proc rw 0 0\n"
                            "tmpfs /dev/shm tmpfs rw 0 0\n"
                            "tmpfs /run tmpfs rw 0 0\n"
                            "cgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
                            "squashfs-image /snap/core squashfs ro 0 0\n" +
                            Dev("sda1") + " /home ext4 rw 0 0\n" + Dev("sr0") +
                            " /media/cdrom iso9660 ro 0 0\n"
                            "tmpfs /tmp tmpfs rw 0 0\n"
                            "//serveur/photos /mnt/photos cifs rw 0 0\n");
  ASSERT_EQ(volumes.size(), 5u);
  EXPECT_EQ(volumes[0].MountPoint, "/");
  EXPECT_EQ(volumes[0].Type, TDriveType::Fixed);
  EXPECT_EQ(volumes[0].Label, "");
  EXPECT_EQ(volumes[1].MountPoint, "/home");
  EXPECT_EQ(volumes[1].Type, TDriveType::Fixed);
  EXPECT_EQ(volumes[1].Label, "Mes photos");
  EXPECT_EQ(volumes[2].MountPoint, "/media/cdrom");
  EXPECT_EQ(volumes[2].Type, TDriveType::CDROM);
  EXPECT_EQ(volumes[2].Label, "VACANCES");
  EXPECT_EQ(volumes[3].MountPoint, "/mnt/photos");
  EXPECT_EQ(volumes[3].Type, TDriveType::Remote);
  EXPECT_EQ(volumes[3].Source, "//serveur/photos");
  EXPECT_EQ(volumes[4].MountPoint, "/tmp");
  EXPECT_EQ(volumes[4].Type, TDriveType::RAMDisk);
}

TEST_F(FakeSystem, RemovableMediaAreListedWithoutTheirLabel) {
  const auto volumes = Read(Dev("sdb1") + " /media/cle vfat rw 0 0\n" + Dev("sdc") + " /media/disque ext4 rw 0 0\n" +
                            Dev("sda1") + " /data ext4 rw 0 0\n");
  ASSERT_EQ(volumes.size(), 4u);  // "/" is always there
  EXPECT_EQ(volumes[1].MountPoint, "/data");
  EXPECT_EQ(volumes[1].Type, TDriveType::Fixed);
  EXPECT_EQ(volumes[2].MountPoint, "/media/cle");
  EXPECT_EQ(volumes[2].Type, TDriveType::Removable);  // a partition of a removable disk
  EXPECT_EQ(volumes[2].Label, "");                    // although udev knows "CLE"
  EXPECT_EQ(volumes[3].Type, TDriveType::Removable);
}

TEST_F(FakeSystem, ALaterMountHidesAnEarlierOneAndFileMountsAreLeftOut) {
  const std::string fileMount = tree_.MakeFile("resolv.conf");
  const auto volumes = Read("tmpfs /mnt/x tmpfs rw 0 0\n" + Dev("sda1") + " /mnt/x ext4 rw 0 0\n" + Dev("sda1") + " " +
                            fileMount + " ext4 rw 0 0\nnone /mnt/y tmpfs rw 0 0\nproc /mnt/y proc rw 0 0\n");
  ASSERT_EQ(volumes.size(), 2u);
  EXPECT_EQ(volumes[0].MountPoint, "/");
  EXPECT_EQ(volumes[1].MountPoint, "/mnt/x");
  EXPECT_EQ(volumes[1].Type, TDriveType::Fixed);
  EXPECT_EQ(volumes[1].Label, "Mes photos");
}

TEST(Volumes, TheVolumeOfAPathIsTheLongestMountPointAboveIt) {
  std::vector<win::TVolume> volumes(3);
  volumes[0].MountPoint = "/";
  volumes[1].MountPoint = "/home";
  volumes[2].MountPoint = "/home/user/usb";
  EXPECT_EQ(win::VolumeOfPath(volumes, "/etc")->MountPoint, "/");
  EXPECT_EQ(win::VolumeOfPath(volumes, "/home")->MountPoint, "/home");
  EXPECT_EQ(win::VolumeOfPath(volumes, "/homework")->MountPoint, "/");
  EXPECT_EQ(win::VolumeOfPath(volumes, "/home/user/usb/a")->MountPoint, "/home/user/usb");
  EXPECT_EQ(win::VolumeOfPath(volumes, "/home/user/usbkey")->MountPoint, "/home");
  EXPECT_EQ(win::VolumeOfPath({}, "/x"), nullptr);
}

TEST(Volumes, TheSystemsOwnTableHoldsTheRoot) {
  const auto volumes = win::ReadVolumes();
  ASSERT_FALSE(volumes.empty());
  EXPECT_EQ(volumes.front().MountPoint, "/");
}

TEST(Volumes, AreOrderedByMountPointWithTheRootFirst) {
  TTempTree tree;
  win::TVolumeEnvironment env;
  env.LabelFolder = tree.Path("none");
  env.BlockClassFolder = tree.Path("none");
  env.MountTable = tree.MakeFile("mounts", "a /zzz ext4 rw 0 0\nb / ext4 rw 0 0\nc /aaa ext4 rw 0 0\n");
  const auto volumes = win::ReadVolumes(env);
  ASSERT_EQ(volumes.size(), 3u);
  EXPECT_EQ(volumes[0].MountPoint, "/");
  EXPECT_EQ(volumes[1].MountPoint, "/aaa");
  EXPECT_EQ(volumes[2].MountPoint, "/zzz");
}

}  // namespace
