#include "platform/gdi/EmfRecordReader.h"

#include "platform/rtl/ByteReader.h"

namespace gdi::emf {

bool EmfRecordReader::Next(EmfRecord& record) {
  if (data_.size() - pos_ < 8) return false;
  const uint32_t type = ByteReader::U32At(data_, pos_);
  const uint32_t size = ByteReader::U32At(data_, pos_ + 4);
  // Records are whole 32-bit words; a size below the record's own header, or past the end,
  // means the data is damaged from here on.
  if (size < 8 || size % 4 != 0 || size > data_.size() - pos_) return false;
  record.type = type;
  record.bytes = data_.subspan(pos_, size);
  pos_ += size;
  return true;
}

}  // namespace gdi::emf
