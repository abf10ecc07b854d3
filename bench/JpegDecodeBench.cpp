// Decoding a 24-megapixel photograph through the JPEG image against the bare library asked
// for the same thing (same DCT, quantisation, dithering, blue-green-red order, one row per
// call, from memory, into a fresh buffer), side by side in one run; then the peak heap of
// both.  The photographs are made on first run from the shared 12-megapixel one (upscaled
// by ImageMagick, encoded by cjpeg) into the build tree.
//
//   bench_jpeg_decode [--benchmark_filter=...]

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "jpeg/JPEGImage.h"
#include "platform/rtl/Stream.h"
#include "platform/rtl/TickCount.h"

namespace {

struct Photo {
  const char* name;
  std::string path;
  std::vector<uint8_t> bytes;
};
Photo gPhotos[] = {{"baseline420", std::string(MIRELUNE_BENCH_DIR) + "/photo-24mp-baseline.jpg", {}},
                   {"progressive", std::string(MIRELUNE_BENCH_DIR) + "/photo-24mp-progressive.jpg", {}}};

bool MakePhotos() {
  const std::string source = std::string(MIRELUNE_TESTDATA) + "/jpeg/photos/012mp-bus.jpg";
  const std::string ppm = std::string(MIRELUNE_BENCH_DIR) + "/photo-24mp.ppm";
  if (!std::ifstream(gPhotos[0].path) || !std::ifstream(gPhotos[1].path)) {
    std::fprintf(stderr, "making the 24-megapixel photographs from %s\n", source.c_str());
    const std::string cmd = "convert '" + source + "' -resize '6000x4000!' '" + ppm + "' && cjpeg -quality 90 -outfile '" +
                            gPhotos[0].path + "' '" + ppm + "' && cjpeg -quality 90 -progressive -outfile '" +
                            gPhotos[1].path + "' '" + ppm + "' && rm -f '" + ppm + "'";
    if (std::system(cmd.c_str()) != 0) return false;
  }
  for (Photo& p : gPhotos) {
    std::ifstream in(p.path, std::ios::binary);
    p.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (p.bytes.empty()) return false;
  }
  return true;
}

struct Mode {
  const char* name;
  bool eight;
  bool speed;
  bool passByPass;
};
constexpr Mode kModes[] = {{"24bit_quality", false, false, false},
                           {"24bit_speed", false, true, false},
                           {"8bit_quality", true, false, false},
                           {"8bit_speed", true, true, false},
                           {"24bit_quality_passbypass", false, false, true}};

// --- the bare library --------------------------------------------------------------------

struct BareError {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};
void BareExit(j_common_ptr cinfo) { std::longjmp(reinterpret_cast<BareError*>(cinfo->err)->jump, 1); }
void BareSilent(j_common_ptr, int) {}

struct BareOutput {
  std::unique_ptr<uint8_t[]> pixels;
  size_t size = 0;
};

// Everything touched after setjmp lives in the caller's frame.
bool RunBare(const Photo& photo, unsigned denom, const Mode& m, jpeg_progress_mgr* progress, jpeg_decompress_struct& d,
             BareError& err, BareOutput& out) {
  if (setjmp(err.jump)) return false;
  jpeg_create_decompress(&d);
  d.progress = progress;
  jpeg_mem_src(&d, photo.bytes.data(), static_cast<unsigned long>(photo.bytes.size()));
  jpeg_read_header(&d, TRUE);
  d.scale_num = 1;
  d.scale_denom = denom;
  d.out_color_space = JCS_EXT_BGR;
  if (m.eight) {
    d.quantize_colors = TRUE;
    d.desired_number_of_colors = 236;
  }
  if (m.speed) {
    d.dct_method = JDCT_IFAST;
    d.two_pass_quantize = FALSE;
    d.dither_mode = JDITHER_ORDERED;
  } else {
    d.dct_method = JDCT_FLOAT;
  }
  const bool buffered = m.passByPass && jpeg_has_multiple_scans(&d);
  const J_DCT_METHOD finalDct = d.dct_method;
  if (buffered) {
    d.dct_method = JDCT_IFAST;
    d.buffered_image = TRUE;
  }
  jpeg_start_decompress(&d);
  const size_t stride = (static_cast<size_t>(d.output_width) * d.output_components + 3) & ~size_t{3};
  out.size = stride * d.output_height;
  out.pixels.reset(new uint8_t[out.size]);  // fresh, untouched pages, as a new pixel store
  auto rows = [&] {
    while (d.output_scanline < d.output_height) {
      JSAMPROW row = out.pixels.get() + (d.output_height - 1 - d.output_scanline) * stride;
      jpeg_read_scanlines(&d, &row, 1);
    }
  };
  if (buffered) {
    while (jpeg_consume_input(&d) != JPEG_REACHED_EOI) {
      jpeg_start_output(&d, d.input_scan_number);
      rows();
      jpeg_finish_output(&d);
    }
    d.dct_method = finalDct;
    jpeg_start_output(&d, d.input_scan_number);
  }
  rows();
  if (buffered) jpeg_finish_output(&d);
  jpeg_finish_decompress(&d);
  return true;
}

BareOutput BareDecode(const Photo& photo, unsigned denom, const Mode& m, jpeg_progress_mgr* progress = nullptr) {
  BareOutput out;
  BareError err;
  jpeg_decompress_struct d{};
  d.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = BareExit;
  err.mgr.emit_message = BareSilent;
  if (!RunBare(photo, denom, m, progress, d, err, out)) out.size = 0;
  jpeg_destroy_decompress(&d);
  return out;
}

// --- the JPEG image --------------------------------------------------------------------

std::unique_ptr<TJPEGImage> Prepared(const Photo& photo, int scale, const Mode& m) {
  auto image = std::make_unique<TJPEGImage>();
  TMemoryStream stream(photo.bytes);
  image->LoadStream(stream);
  image->SetScale(static_cast<TJPEGScale>(scale));
  image->SetPixelFormat(m.eight ? TJPEGPixelFormat::jf8Bit : TJPEGPixelFormat::jf24Bit);
  image->SetPerformance(m.speed ? TJPEGPerformance::jpBestSpeed : TJPEGPerformance::jpBestQuality);
  image->SetProgressiveDisplay(m.passByPass);
  return image;
}

void BM_Image(benchmark::State& state, const Photo* photo, int scale, const Mode* m) {
  auto image = Prepared(*photo, scale, *m);
  for (auto _ : state) {
    TBitmap* bitmap = image->Bitmap();
    benchmark::DoNotOptimize(bitmap->ScanRow(0));
    state.PauseTiming();
    image->DropBitmap();
    state.ResumeTiming();
  }
}

void BM_Bare(benchmark::State& state, const Photo* photo, int scale, const Mode* m) {
  for (auto _ : state) {
    BareOutput out = BareDecode(*photo, 1u << scale, *m);
    benchmark::DoNotOptimize(out.pixels.get());
    state.PauseTiming();
    out.pixels.reset();
    state.ResumeTiming();
  }
}

// Prints, after the usual lines, the image's time over the bare library's for each setting
// (the fastest repetition of each), in CPU time of the decoding thread (page faults
// included) and in wall time, which a shared machine disturbs more.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      if (r.run_type != Run::RT_Iteration || r.iterations == 0) continue;
      const std::string name = r.run_name.function_name;
      Keep(cpu_[name], r.GetAdjustedCPUTime());
      Keep(real_[name], r.GetAdjustedRealTime());
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-44s %9s %9s %7s   %9s %9s %7s\n", "setting", "image cpu", "bare cpu", "ratio", "image ms",
                "bare ms", "ratio");
    for (const auto& [name, t] : cpu_) {
      if (name.rfind("Image/", 0) != 0) continue;
      const std::string other = "Bare/" + name.substr(6);
      if (!cpu_.count(other)) continue;
      const double b = cpu_[other], rt = real_[name], rb = real_[other];
      std::printf("%-44s %9.1f %9.1f %7.3f   %9.1f %9.1f %7.3f\n", name.substr(6).c_str(), t, b, t / b, rt, rb,
                  rt / rb);
    }
  }

 private:
  static void Keep(double& slot, double t) {
    if (slot == 0 || t < slot) slot = t;
  }
  std::map<std::string, double> cpu_, real_;
};

// --- peak heap ---------------------------------------------------------------------------

size_t HeapInUse() {
  const struct mallinfo2 mi = mallinfo2();
  return mi.uordblks + mi.hblkhd;
}
size_t gPeak = 0;
void Sample() { gPeak = std::max(gPeak, HeapInUse()); }
void SampleHook(j_common_ptr) { Sample(); }

void ReportMemory() {
  std::printf("\npeak heap (MiB): image = everything the image holds while decoding (file bytes included);\n"
              "limit = bitmap + file bytes + the bare library's own working memory\n");
  std::printf("%-40s %9s %9s %9s %9s %9s %s\n", "setting", "bitmap", "file", "library", "image", "limit", "");
  const double mib = 1024.0 * 1024.0;
  for (const Photo& photo : gPhotos) {
    for (int scale : {0, 3}) {
      for (const Mode& m : kModes) {
        if (m.speed) continue;
        // The bare library: its peak less its output buffer is its own working memory.
        jpeg_progress_mgr progress{};
        progress.progress_monitor = SampleHook;
        const size_t before = HeapInUse();
        gPeak = before;
        BareOutput out = BareDecode(photo, 1u << scale, m, &progress);
        Sample();
        const size_t library = gPeak - before - out.size;
        out.pixels.reset();

        // The image, from before it holds the bytes.
        const size_t base = HeapInUse();
        gPeak = base;
        auto image = Prepared(photo, scale, m);
        image->OnProgress = [](TObject*, TProgressStage, uint8_t, bool, const TRect&, const std::string&) { Sample(); };
        // A clock that lets every monitor call through: a report at every new percentage.
        uint32_t tick = 1000;
        rtl::SetTickCountSource([&tick] { return tick += 1000; });
        TBitmap* bitmap = image->Bitmap();
        Sample();
        rtl::SetTickCountSource(nullptr);
        const size_t bitmapBytes = bitmap->Store() ? bitmap->Store()->ByteSize() : 0;
        const size_t peak = gPeak - base;
        const size_t limit = bitmapBytes + photo.bytes.size() + library;
        std::printf("%-40s %9.1f %9.1f %9.1f %9.1f %9.1f %s\n",
                    (std::string(photo.name) + "/1_" + std::to_string(1 << scale) + "/" + m.name).c_str(),
                    bitmapBytes / mib, photo.bytes.size() / mib, library / mib, peak / mib, limit / mib,
                    peak <= limit + (256u << 10) ? "ok" : "OVER");
      }
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!MakePhotos()) {
    std::fprintf(stderr, "cannot make the photographs (needs ImageMagick, cjpeg and the shared samples)\n");
    return 1;
  }
  for (const Photo& photo : gPhotos) {
    for (int scale = 0; scale < 4; ++scale) {
      for (const Mode& m : kModes) {
        if (m.passByPass && scale != 0 && scale != 3) continue;
        const std::string suffix = std::string(photo.name) + "/1_" + std::to_string(1 << scale) + "/" + m.name;
        // Side by side: each pair runs one after the other, repeated, the fastest kept.
        benchmark::RegisterBenchmark(("Image/" + suffix).c_str(), BM_Image, &photo, scale, &m)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(5);
        benchmark::RegisterBenchmark(("Bare/" + suffix).c_str(), BM_Bare, &photo, scale, &m)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(5);
      }
    }
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  ReportMemory();
  return 0;
}
