#include "platform/rtl/TickCount.h"

#include <chrono>

namespace rtl {
namespace {
std::function<uint32_t()>& Source() {
  static std::function<uint32_t()> source;
  return source;
}
}  // namespace

uint32_t GetTickCount() {
  if (auto& s = Source()) return s();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now().time_since_epoch());
  return static_cast<uint32_t>(ms.count());
}

void SetTickCountSource(std::function<uint32_t()> source) { Source() = std::move(source); }

}  // namespace rtl
