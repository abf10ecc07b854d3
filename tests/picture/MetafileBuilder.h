#pragma once
// Metafiles made in memory for the tests: Windows-metafile records with or without the
// placeable header, and small enhanced metafiles.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace metatest {

class Bytes {
 public:
  Bytes& U16(uint16_t v) {
    b_.push_back(static_cast<uint8_t>(v));
    b_.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  Bytes& I16(int16_t v) { return U16(static_cast<uint16_t>(v)); }
  Bytes& U32(uint32_t v) {
    U16(static_cast<uint16_t>(v));
    return U16(static_cast<uint16_t>(v >> 16));
  }
  Bytes& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
  Bytes& Append(const std::vector<uint8_t>& more) {
    b_.insert(b_.end(), more.begin(), more.end());
    return *this;
  }
  std::vector<uint8_t>& Get() { return b_; }
  const std::vector<uint8_t>& Get() const { return b_; }
  size_t Size() const { return b_.size(); }

 private:
  std::vector<uint8_t> b_;
};

// Windows-metafile records after an 18-byte header: each record is a function and its 16-bit
// parameters, in stored order.
class Wmf {
 public:
  Wmf& Record(uint16_t function, std::initializer_list<int> params) {
    Bytes r;
    r.U32(static_cast<uint32_t>(3 + params.size())).U16(function);
    for (int p : params) r.U16(static_cast<uint16_t>(p));
    records_.Append(r.Get());
    return *this;
  }
  Wmf& Record(uint16_t function, const std::vector<int>& params) {
    Bytes r;
    r.U32(static_cast<uint32_t>(3 + params.size())).U16(function);
    for (int p : params) r.U16(static_cast<uint16_t>(p));
    records_.Append(r.Get());
    return *this;
  }
  Wmf& Raw(const std::vector<uint8_t>& bytes) {
    records_.Append(bytes);
    return *this;
  }
  Wmf& WindowOrg(int x, int y) { return Record(0x020B, {y, x}); }
  Wmf& WindowExt(int x, int y) { return Record(0x020C, {y, x}); }
  Wmf& SolidBrush(uint32_t color) {
    return Record(0x02FC, {0, static_cast<int>(color & 0xFFFF), static_cast<int>(color >> 16), 0});
  }
  Wmf& NullPen() { return Record(0x02FA, {5, 0, 0, 0, 0}); }
  Wmf& Select(int index) { return Record(0x012D, {index}); }
  Wmf& Delete(int index) { return Record(0x01F0, {index}); }
  Wmf& Rectangle(int l, int t, int r, int b) { return Record(0x041B, {b, r, t, l}); }

  // The header and records with the end record.
  std::vector<uint8_t> Records() const {
    Bytes out;
    std::vector<uint8_t> body = records_.Get();
    body.insert(body.end(), {3, 0, 0, 0, 0, 0});  // end record
    out.U16(1).U16(9).U16(0x0300).U32(static_cast<uint32_t>((18 + body.size()) / 2)).U16(8).U32(16).U16(0);
    out.Append(body);
    return out.Get();
  }

 private:
  Bytes records_;
};

// The 22-byte placeable header with a correct checksum, then the records.
inline std::vector<uint8_t> Placeable(int16_t left, int16_t top, int16_t right, int16_t bottom, uint16_t unitsPerInch,
                                      const std::vector<uint8_t>& records) {
  Bytes h;
  h.U32(0x9AC6CDD7).U16(0).I16(left).I16(top).I16(right).I16(bottom).U16(unitsPerInch).U32(0);
  uint16_t checksum = 0;
  for (size_t i = 0; i < 20; i += 2) checksum ^= static_cast<uint16_t>(h.Get()[i] | (h.Get()[i + 1] << 8));
  h.U16(checksum);
  return h.Append(records).Get();
}

// An enhanced metafile: the 100-byte header, the given records and an end record with a
// palette; the header's total size and record count are filled in.
inline std::vector<uint8_t> Emf(int32_t frameRight, int32_t frameBottom, const std::vector<uint8_t>& records = {},
                                size_t paletteEntries = 0, int32_t deviceCx = 1920, int32_t deviceCy = 1080,
                                int32_t mmCx = 508, int32_t mmCy = 286) {
  Bytes eof;
  eof.U32(14).U32(static_cast<uint32_t>(20 + 4 * paletteEntries)).U32(static_cast<uint32_t>(paletteEntries)).U32(16);
  for (size_t i = 0; i < paletteEntries; ++i) eof.U32(static_cast<uint32_t>(i * 0x010203));
  eof.U32(static_cast<uint32_t>(20 + 4 * paletteEntries));
  const auto total = static_cast<uint32_t>(100 + records.size() + eof.Size());
  Bytes h;
  h.U32(1).U32(100);
  h.I32(0).I32(0).I32(frameRight / 26).I32(frameBottom / 26);  // bounds
  h.I32(0).I32(0).I32(frameRight).I32(frameBottom);            // frame
  h.U32(0x464D4520).U32(0x10000).U32(total).U32(2).U16(1).U16(0).U32(0).U32(0);
  h.U32(static_cast<uint32_t>(paletteEntries)).I32(deviceCx).I32(deviceCy).I32(mmCx).I32(mmCy);
  h.U32(0).U32(0).U32(0);
  h.Append(records).Append(eof.Get());
  return h.Get();
}

}  // namespace metatest
