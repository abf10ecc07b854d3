// An icon's load and first drawing against Qt's own icon reader on the same bytes, and a
// Windows metafile's load (its records converted twice) against a bare walk over its
// records, in the same run.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "picture/Icon.h"
#include "picture/Metafile.h"
#include "platform/gdi/Canvas.h"
#include "platform/gdi/Dib.h"

namespace {

struct Sample {
  const char* name;
  const char* path;
};

constexpr Sample kIcons[] = {
    {"eighteen_entries", "ico/dotnet/pngwithheight_icon.ico"},
    {"dib_256", "ico/pillow/hopper_256x256.ico"},
    {"png_and_dibs", "ico/pillow/pillow.ico"},
};
constexpr Sample kMetafiles[] = {
    {"cell", "wmf/libwmf/cell.wmf"},
    {"text_Eg", "wmf/libwmf/Eg.wmf"},
    {"sample", "wmf/libwmf/sample.wmf"},
};

std::vector<uint8_t> Bytes(const char* path) {
  QFile f(QString(MIRELUNE_TESTDATA) + "/" + path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return std::vector<uint8_t>(b.begin(), b.end());
}

void BM_IconFirstDraw(benchmark::State& state, const char* path) {
  const auto bytes = Bytes(path);
  if (bytes.empty()) return state.SkipWithError("sample missing");
  auto dib = gdi::Dib::Create(gdi::DibHeader{300, -300, 1, 32});
  gdi::TCanvas canvas(*dib);
  for (auto _ : state) {
    TIcon icon;
    TMemoryStream s(bytes);
    icon.LoadStream(s);
    icon.Render(canvas, TRect{0, 0, 300, 300});
    benchmark::DoNotOptimize(dib->Bits());
  }
}

// Qt's icon reader: the first image of the file, decoded.
void BM_QtIcoRead(benchmark::State& state, const char* path) {
  const auto bytes = Bytes(path);
  if (bytes.empty()) return state.SkipWithError("sample missing");
  const QByteArray data(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
  for (auto _ : state) {
    QImage image = QImage::fromData(data, "ICO");
    benchmark::DoNotOptimize(image.constBits());
  }
}

void BM_WmfLoad(benchmark::State& state, const char* path) {
  const auto bytes = Bytes(path);
  if (bytes.empty()) return state.SkipWithError("sample missing");
  for (auto _ : state) {
    TMetafile mf;
    TMemoryStream s(bytes);
    mf.LoadStream(s);
    benchmark::DoNotOptimize(mf.Width());
  }
}

// The least any reader of the records pays: each record's size and function read once.
void BM_WmfWalk(benchmark::State& state, const char* path) {
  const auto bytes = Bytes(path);
  if (bytes.size() < 40) return state.SkipWithError("sample missing");
  for (auto _ : state) {
    uint64_t sum = 0;
    size_t pos = 40;
    while (pos + 6 <= bytes.size()) {
      const uint32_t words = bytes[pos] | bytes[pos + 1] << 8 | bytes[pos + 2] << 16 | uint32_t(bytes[pos + 3]) << 24;
      sum += bytes[pos + 4] | bytes[pos + 5] << 8;
      if (words < 3) break;
      pos += size_t{words} * 2;
    }
    benchmark::DoNotOptimize(sum);
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  for (const Sample& s : kIcons) {
    benchmark::RegisterBenchmark((std::string("IconFirstDraw/") + s.name).c_str(), BM_IconFirstDraw, s.path)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("QtIcoRead/") + s.name).c_str(), BM_QtIcoRead, s.path)
        ->Unit(benchmark::kMicrosecond);
  }
  for (const Sample& s : kMetafiles) {
    benchmark::RegisterBenchmark((std::string("WmfLoad/") + s.name).c_str(), BM_WmfLoad, s.path)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("WmfWalk/") + s.name).c_str(), BM_WmfWalk, s.path)
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  struct Collect : benchmark::ConsoleReporter {
    std::map<std::string, double> times;
    void ReportRuns(const std::vector<Run>& runs) override {
      for (const Run& r : runs) times[r.benchmark_name()] = r.GetAdjustedRealTime();
      ConsoleReporter::ReportRuns(runs);
    }
  } reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  auto ratio = [&](const char* what, const std::string& a, const std::string& b, const char* name) {
    const double x = reporter.times[a + name], y = reporter.times[b + name];
    if (y > 0) std::printf("ratio %-18s %s = %.1f\n", name, what, x / y);
  };
  for (const Sample& s : kIcons) ratio("icon load and first drawing / Qt's reader", "IconFirstDraw/", "QtIcoRead/", s.name);
  for (const Sample& s : kMetafiles) ratio("metafile load / bare record walk", "WmfLoad/", "WmfWalk/", s.name);
  return 0;
}
