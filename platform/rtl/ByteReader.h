#pragma once
// The one bounds-checked reader of untrusted bytes.  Every read past the end raises
// EReadError ("Erreur de lecture du flux"); nothing is ever read outside the span.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/rtl/Exceptions.h"

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  size_t Position() const { return pos_; }
  size_t Size() const { return data_.size(); }
  size_t Remaining() const { return data_.size() - pos_; }
  bool AtEnd() const { return pos_ >= data_.size(); }
  std::span<const uint8_t> Data() const { return data_; }

  void Seek(size_t pos) {
    if (pos > data_.size()) throw EReadError();
    pos_ = pos;
  }
  void Skip(size_t n) { Seek(Need(n) + n); }

  uint8_t U8() {
    Need(1);
    return data_[pos_++];
  }
  uint16_t U16() {
    const size_t p = Need(2);
    pos_ += 2;
    return static_cast<uint16_t>(data_[p] | (data_[p + 1] << 8));
  }
  int16_t I16() { return static_cast<int16_t>(U16()); }
  uint32_t U32() {
    const size_t p = Need(4);
    pos_ += 4;
    return static_cast<uint32_t>(data_[p]) | (static_cast<uint32_t>(data_[p + 1]) << 8) |
           (static_cast<uint32_t>(data_[p + 2]) << 16) | (static_cast<uint32_t>(data_[p + 3]) << 24);
  }
  int32_t I32() { return static_cast<int32_t>(U32()); }

  // The next n bytes as a view, advancing past them.
  std::span<const uint8_t> Take(size_t n) {
    const size_t p = Need(n);
    pos_ += n;
    return data_.subspan(p, n);
  }
  void Read(void* out, size_t n) { std::memcpy(out, Take(n).data(), n); }

  // Reads at an absolute offset without moving; raises when the field lies outside.
  static uint16_t U16At(std::span<const uint8_t> d, size_t off) {
    ByteReader r(d);
    r.Seek(off);
    return r.U16();
  }
  static uint32_t U32At(std::span<const uint8_t> d, size_t off) {
    ByteReader r(d);
    r.Seek(off);
    return r.U32();
  }

 private:
  // Answers the current position when n more bytes are there.
  size_t Need(size_t n) const {
    if (n > data_.size() - pos_) throw EReadError();
    return pos_;
  }

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};
