#pragma once
// Walks the records of an enhanced metafile.  A record is handed out only when its size
// fits the data; the first one that does not ends the walk.

#include <cstddef>
#include <cstdint>
#include <span>

namespace gdi::emf {

struct EmfRecord {
  uint32_t type = 0;
  std::span<const uint8_t> bytes;  // the whole record, its 8-byte type and size included
};

class EmfRecordReader {
 public:
  explicit EmfRecordReader(std::span<const uint8_t> data) : data_(data) {}
  // The next record; false at the end of the data or at a record that does not fit.
  bool Next(EmfRecord& record);

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

}  // namespace gdi::emf
