#pragma once
// The drive list's lines for the mounted volumes: the mount point stands where the drive
// letter stands.  A removable volume reads its mount point alone; a fixed, optical or
// memory volume its mount point and its label in square brackets ("[]" without one); a
// network volume its mount point and the share it is connected to.

#include <string>
#include <vector>

#include "platform/win/Volumes.h"

enum class TDriveGlyphKind { Floppy, Hard, Network, CDROM, RAM };

struct TDriveLine {
  std::string Text;
  std::string Drive;  // the mount point
  TDriveGlyphKind Glyph;
};

// One line per volume of a known type, in the volumes' order.
std::vector<TDriveLine> BuildDriveLines(const std::vector<win::TVolume>& volumes);
