#pragma once
// Builds the bytes of an enhanced metafile record by record: the 100-byte header first,
// each record padded to 4 bytes, the end-of-file record with the palette, and the header's
// counts and rectangles filled in at the end.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/Color.h"
#include "platform/gdi/Palette.h"

namespace gdi {

class EmfWriter {
 public:
  EmfWriter();
  void Reserve(size_t bytes) { out_.reserve(bytes); }

  // Starts a record; the fields follow; End() writes its size.
  void Begin(uint32_t type);
  void U8(uint8_t v) { out_.push_back(v); }
  void U16(uint16_t v);
  void U32(uint32_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v);
  void Rect(const TRect& r);
  void Bytes(std::span<const uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }
  void Zeros(size_t n) { out_.insert(out_.end(), n, 0); }
  // Offset of the next byte from the start of the current record.
  uint32_t RecordOffset() const { return static_cast<uint32_t>(out_.size() - recordStart_); }
  void End();

  // A record with no fields or one 32-bit field.
  void Record(uint32_t type) { Begin(type); End(); }
  void Record(uint32_t type, uint32_t value) { Begin(type); U32(value); End(); }
  void Record(uint32_t type, int32_t a, int32_t b) { Begin(type); I32(a); I32(b); End(); }

  // Appends the end-of-file record and fills in the header; the writer is spent afterwards.
  struct Description {
    TRect bounds;   // device units, inclusive
    TRect frame;    // hundredths of a millimetre, inclusive
    uint16_t handles = 1;
    int32_t deviceCx = 0, deviceCy = 0, millimetersCx = 0, millimetersCy = 0;
  };
  std::vector<uint8_t> Finish(const Description& description, const std::vector<PaletteEntry>& palette);

 private:
  void PutU32At(size_t offset, uint32_t v);
  void PutRectAt(size_t offset, const TRect& r);

  std::vector<uint8_t> out_;
  size_t recordStart_ = 0;
  uint32_t records_ = 1;
};

}  // namespace gdi
