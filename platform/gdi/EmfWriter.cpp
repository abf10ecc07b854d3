#include "platform/gdi/EmfWriter.h"

#include <bit>
#include <cstring>

namespace gdi {
namespace {
constexpr uint32_t kHeaderType = 1;
constexpr uint32_t kEofType = 14;
constexpr uint32_t kHeaderSize = 100;
constexpr uint32_t kSignature = 0x464D4520;
constexpr uint32_t kVersion = 0x10000;
}  // namespace

EmfWriter::EmfWriter() { out_.assign(kHeaderSize, 0); }

void EmfWriter::U16(uint16_t v) {
  out_.push_back(static_cast<uint8_t>(v));
  out_.push_back(static_cast<uint8_t>(v >> 8));
}

void EmfWriter::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void EmfWriter::F32(float v) { U32(std::bit_cast<uint32_t>(v)); }

void EmfWriter::Rect(const TRect& r) {
  I32(r.Left);
  I32(r.Top);
  I32(r.Right);
  I32(r.Bottom);
}

void EmfWriter::Begin(uint32_t type) {
  recordStart_ = out_.size();
  U32(type);
  U32(0);
}

void EmfWriter::End() {
  while ((out_.size() - recordStart_) % 4) out_.push_back(0);
  PutU32At(recordStart_ + 4, static_cast<uint32_t>(out_.size() - recordStart_));
  ++records_;
}

void EmfWriter::PutU32At(size_t offset, uint32_t v) {
  for (int i = 0; i < 4; ++i) out_[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

void EmfWriter::PutRectAt(size_t offset, const TRect& r) {
  PutU32At(offset, static_cast<uint32_t>(r.Left));
  PutU32At(offset + 4, static_cast<uint32_t>(r.Top));
  PutU32At(offset + 8, static_cast<uint32_t>(r.Right));
  PutU32At(offset + 12, static_cast<uint32_t>(r.Bottom));
}

std::vector<uint8_t> EmfWriter::Finish(const Description& d, const std::vector<PaletteEntry>& palette) {
  Begin(kEofType);
  U32(static_cast<uint32_t>(palette.size()));
  U32(16);  // the entries follow the two counts
  for (const PaletteEntry& e : palette) {
    U8(e.red);
    U8(e.green);
    U8(e.blue);
    U8(e.flags);
  }
  U32(RecordOffset() + 4);  // this record's size, repeated at its end
  End();

  PutU32At(0, kHeaderType);
  PutU32At(4, kHeaderSize);
  PutRectAt(8, d.bounds);
  PutRectAt(24, d.frame);
  PutU32At(40, kSignature);
  PutU32At(44, kVersion);
  PutU32At(48, static_cast<uint32_t>(out_.size()));
  PutU32At(52, records_);
  out_[56] = static_cast<uint8_t>(d.handles);
  out_[57] = static_cast<uint8_t>(d.handles >> 8);
  PutU32At(68, static_cast<uint32_t>(palette.size()));
  PutU32At(72, static_cast<uint32_t>(d.deviceCx));
  PutU32At(76, static_cast<uint32_t>(d.deviceCy));
  PutU32At(80, static_cast<uint32_t>(d.millimetersCx));
  PutU32At(84, static_cast<uint32_t>(d.millimetersCy));
  return std::move(out_);
}

}  // namespace gdi
