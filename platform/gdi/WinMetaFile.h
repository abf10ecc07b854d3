#pragma once
// Conversion of a Windows metafile (its 18-byte header and records, without a placeable
// header) to an enhanced metafile, as the original system's SetWinMetaFileBits does: the
// records become their enhanced equivalents, preceded by the mapping that fits the picture
// to its frame.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/gdi/EnhMetaFile.h"

namespace gdi {

// Mapping modes of a picture description (METAFILEPICT).
constexpr int kMM_TEXT = 1, kMM_LOMETRIC = 2, kMM_HIMETRIC = 3, kMM_LOENGLISH = 4, kMM_HIENGLISH = 5,
              kMM_TWIPS = 6, kMM_ISOTROPIC = 7, kMM_ANISOTROPIC = 8;

// The enhanced-metafile bytes of the conversion; none when the records do not start with a
// valid Windows-metafile header or the mapping mode is unknown.
//
// With MM_ANISOTROPIC or MM_ISOTROPIC, xExt and yExt are the suggested size in hundredths of
// a millimetre; when either is 0 or negative, the size is the records' first window extent
// taken as pixels of the reference device (the whole reference device when the records set
// none).  With another mode they are the picture's size in that mode's units.  The frame
// starts at 0, 0 and the records' window origin lands there.
std::optional<std::vector<uint8_t>> ConvertWinMetaFile(std::span<const uint8_t> wmfRecords, int mapMode, int xExt,
                                                       int yExt);

// ConvertWinMetaFile made into a handle; none when the conversion fails.
HENHMETAFILE SetWinMetaFileBits(std::span<const uint8_t> wmfRecords, int mapMode, int xExt, int yExt);

}  // namespace gdi
