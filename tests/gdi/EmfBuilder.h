#pragma once
// Builds small enhanced metafiles record by record for the player's tests.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace testing_emf {

class EmfBuilder {
 public:
  // A picture of width x height device pixels on a reference device of 10 pixels a
  // millimetre, so that it plays at its own size into a rectangle of that many pixels.
  EmfBuilder(int32_t width, int32_t height) : width_(width), height_(height) {}

  EmfBuilder& Rec(uint32_t type, std::initializer_list<int64_t> words) {
    std::vector<uint32_t> w;
    for (int64_t v : words) w.push_back(static_cast<uint32_t>(v));
    return Raw(type, w);
  }
  EmfBuilder& Raw(uint32_t type, const std::vector<uint32_t>& words) {
    Put(type);
    Put(static_cast<uint32_t>(8 + 4 * words.size()));
    for (uint32_t v : words) Put(v);
    ++records_;
    return *this;
  }
  // Record bytes as given (type and size included), for damaged records.
  EmfBuilder& Bytes(const std::vector<uint8_t>& bytes) {
    body_.insert(body_.end(), bytes.begin(), bytes.end());
    return *this;
  }
  static uint32_t F(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
  }

  std::vector<uint8_t> Build(std::vector<uint32_t> palette = {}) const {
    std::vector<uint8_t> out;
    auto put = [&](uint32_t v) {
      for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    const uint32_t eofSize = 20 + 4 * static_cast<uint32_t>(palette.size());
    const uint32_t total = 100 + static_cast<uint32_t>(body_.size()) + eofSize;
    put(1);
    put(100);
    for (int32_t v : {0, 0, width_ - 1, height_ - 1}) put(static_cast<uint32_t>(v));   // bounds
    for (int32_t v : {0, 0, width_ * 10, height_ * 10}) put(static_cast<uint32_t>(v));  // frame
    put(0x464D4520);
    put(0x10000);
    put(total);
    put(records_ + 2);
    put(16);  // handles, reserved
    put(0);
    put(0);   // description
    put(static_cast<uint32_t>(palette.size()));
    for (int32_t v : {1000, 1000, 100, 100}) put(static_cast<uint32_t>(v));  // device px, mm
    put(0);
    put(0);
    put(0);
    out.insert(out.end(), body_.begin(), body_.end());
    put(14);
    put(eofSize);
    put(static_cast<uint32_t>(palette.size()));
    put(16);
    for (uint32_t e : palette) put(e);
    put(eofSize);
    return out;
  }

 private:
  void Put(uint32_t v) {
    for (int i = 0; i < 4; ++i) body_.push_back(static_cast<uint8_t>(v >> (8 * i)));
  }
  int32_t width_, height_;
  uint32_t records_ = 0;
  std::vector<uint8_t> body_;
};

}  // namespace testing_emf
