// Painting a decoded picture: Render of a 6000 x 4000, 24-bit bitmap shrunk into a 994 x 764
// surface, against a bare nearest-neighbour loop into the same surface; and the JPEG
// decoder's reshaping of a fresh 24-bit store against a bare allocation and fill.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "picture/Bitmap.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"

namespace {

constexpr int32_t kSrcW = 6000, kSrcH = 4000;
constexpr int32_t kViewW = 994, kViewH = 764;
constexpr int32_t kTargetH = 662;  // 4000 * 994 / 6000, proportions kept

TBitmap& Picture() {
  static TBitmap* bitmap = [] {
    auto* b = new TBitmap;  // lives for the whole run
    b->SetPixelFormat(TPixelFormat::Bits24);
    b->SetWidth(kSrcW);
    b->SetHeight(kSrcH);
    for (int32_t y = 0; y < kSrcH; ++y) {
      uint8_t* row = b->ScanRow(y);
      for (int32_t i = 0; i < kSrcW * 3; ++i) row[i] = static_cast<uint8_t>(i * 7 + y * 13);
    }
    return b;
  }();
  return *bitmap;
}

std::unique_ptr<gdi::Dib> Surface() {
  gdi::DibHeader h;
  h.width = kViewW;
  h.height = -kViewH;
  h.bitCount = 32;
  return gdi::Dib::Create(h);
}

void BM_Render(benchmark::State& state) {
  TBitmap& b = Picture();
  auto surface = Surface();
  gdi::TCanvas canvas(*surface);
  for (auto _ : state) {
    b.Render(canvas, Rect(0, 0, kViewW, kTargetH));
    benchmark::DoNotOptimize(surface->Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Render)->Unit(benchmark::kMillisecond);

void BM_BareNearest(benchmark::State& state) {
  const gdi::Dib& src = *Picture().Store();
  auto surface = Surface();
  for (auto _ : state) {
    std::vector<int32_t> cols(kViewW);
    for (int32_t x = 0; x < kViewW; ++x) cols[x] = 3 * ((2 * x + 1) * kSrcW / (2 * kViewW));
    for (int32_t y = 0; y < kTargetH; ++y) {
      const int32_t sy = (2 * y + 1) * kSrcH / (2 * kTargetH);
      const uint8_t* in = src.Bits() + src.Stride() * static_cast<size_t>(kSrcH - 1 - sy);
      auto* out = reinterpret_cast<uint32_t*>(surface->Bits() + surface->Stride() * static_cast<size_t>(y));
      for (int32_t x = 0; x < kViewW; ++x) {
        const uint8_t* p = in + cols[x];
        out[x] = 0xFF000000u | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
      }
    }
    benchmark::DoNotOptimize(surface->Bits());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BareNearest)->Unit(benchmark::kMillisecond);

// What the JPEG decoder does before its first row: format, width, height, then every row
// written once.
void BM_Reshape24(benchmark::State& state) {
  for (auto _ : state) {
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::Bits24);
    b.SetWidth(kSrcW);
    b.SetHeight(kSrcH);
    for (int32_t y = 0; y < kSrcH; ++y) std::memset(b.ScanRow(y), y, static_cast<size_t>(kSrcW) * 3);
    benchmark::DoNotOptimize(b.Store());
  }
}
BENCHMARK(BM_Reshape24)->Unit(benchmark::kMillisecond);

// The same with 8 bits and a palette set after the size, as the quantising decoder does.
void BM_Reshape8(benchmark::State& state) {
  std::vector<gdi::PaletteEntry> entries(236);
  for (size_t i = 0; i < entries.size(); ++i) entries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7, 0};
  for (auto _ : state) {
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::Bits8);
    b.SetWidth(kSrcW);
    b.SetHeight(kSrcH);
    b.SetPalette(gdi::CreatePalette(entries));
    for (int32_t y = 0; y < kSrcH; ++y) std::memset(b.ScanRow(y), y, static_cast<size_t>(kSrcW));
    benchmark::DoNotOptimize(b.Store());
  }
}
BENCHMARK(BM_Reshape8)->Unit(benchmark::kMillisecond);

// The bare reference: allocate, fill white, write every row, free.
void BareStore(benchmark::State& state, size_t bytesPerRow) {
  const size_t stride = (bytesPerRow + 3) & ~size_t{3};
  for (auto _ : state) {
    auto* p = static_cast<uint8_t*>(std::malloc(stride * kSrcH));
    std::memset(p, 0xFF, stride * kSrcH);
    for (int32_t y = 0; y < kSrcH; ++y) std::memset(p + stride * static_cast<size_t>(y), y, bytesPerRow);
    benchmark::DoNotOptimize(p);
    std::free(p);
  }
}
void BM_BareStore24(benchmark::State& state) { BareStore(state, static_cast<size_t>(kSrcW) * 3); }
void BM_BareStore8(benchmark::State& state) { BareStore(state, static_cast<size_t>(kSrcW)); }
BENCHMARK(BM_BareStore24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareStore8)->Unit(benchmark::kMillisecond);

// Prints the usual table, then the ratios of each measured path to its bare reference.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      // Single runs, or the means of repetitions.
      if (r.iterations > 0 && (r.run_type == Run::RT_Iteration || r.aggregate_name == "mean")) {
        times_[r.run_name.function_name] = r.GetAdjustedRealTime();
        cpu_[r.run_name.function_name] = r.GetAdjustedCPUTime();
      }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    Ratio("BM_Render", "BM_BareNearest", 1.2);
    Ratio("BM_Reshape24", "BM_BareStore24", 0);
    Ratio("BM_Reshape8", "BM_BareStore8", 0);
  }

 private:
  void Ratio(const std::string& ours, const std::string& bare, double goal) {
    if (!times_.count(ours) || !times_.count(bare) || times_[bare] <= 0) return;
    std::printf("ratio %s / %s = %.2f real, %.2f cpu%s\n", ours.c_str(), bare.c_str(), times_[ours] / times_[bare],
                cpu_[ours] / cpu_[bare], goal > 0 ? (" (goal " + std::to_string(goal).substr(0, 3) + ")").c_str() : "");
  }
  std::map<std::string, double> times_, cpu_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
