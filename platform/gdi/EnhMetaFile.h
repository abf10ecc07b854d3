#pragma once
// Enhanced-metafile handles and their player.  The bytes are kept as given; the player
// draws their records onto a canvas, scaled from the frame to a rectangle.

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/gdi/Canvas.h"
#include "platform/gdi/Color.h"
#include "platform/gdi/Palette.h"

namespace gdi {

// The fields of the 100-byte header record (EMR_HEADER) the program uses.
struct EnhMetaHeader {
  uint32_t type = 0;        // 1
  uint32_t size = 0;        // of the header record
  TRect bounds{};           // device units, inclusive
  TRect frame{};            // hundredths of a millimetre, inclusive
  uint32_t signature = 0;   // 0x464D4520
  uint32_t version = 0;
  uint32_t bytes = 0;       // total size
  uint32_t records = 0;
  uint16_t handles = 0;
  uint32_t nPalEntries = 0;
  int32_t deviceCx = 0, deviceCy = 0;            // reference device, pixels
  int32_t millimetersCx = 0, millimetersCy = 0;  // reference device, millimetres
};

class EnhMetaFile {
 public:
  EnhMetaFile(std::vector<uint8_t> bytes, const EnhMetaHeader& header)
      : bytes_(std::move(bytes)), header_(header) {}
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  const EnhMetaHeader& Header() const { return header_; }

 private:
  std::vector<uint8_t> bytes_;
  EnhMetaHeader header_;
};

using HENHMETAFILE = std::shared_ptr<const EnhMetaFile>;

// Makes a handle of the bytes; none when they do not start with a valid header record.
HENHMETAFILE SetEnhMetaFileBits(std::span<const uint8_t> bytes);
bool GetEnhMetaFileHeader(const HENHMETAFILE& emf, EnhMetaHeader& header);
// The entries of the metafile's EOF record palette (none when it has none).
std::vector<PaletteEntry> GetEnhMetaFilePaletteEntries(const HENHMETAFILE& emf);

// Plays the records into the rectangle (canvas coordinates, right and bottom inclusive, as
// the original system's PlayEnhMetaFile takes them), without antialiasing.  A record it
// does not know is skipped; a record whose size or counts do not fit ends playback.
void PlayEnhMetaFile(TCanvas& canvas, const HENHMETAFILE& emf, const TRect& rect);

}  // namespace gdi
