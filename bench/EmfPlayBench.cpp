// Playback time of real drawings, against a bare QPainter clearing the same surface (the
// least any playback costs) in the same run.

#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "platform/gdi/EnhMetaFile.h"

namespace {

struct Sample {
  const char* name;
  const char* path;
};

constexpr Sample kSamples[] = {
    {"office_chart", "emf/libemf2svg/emf/test-022.emf"},
    {"text_heavy", "emf/libemf2svg/emf-ea/EA-test-file-030.emf"},
    {"bitmaps", "emf/libemf2svg/emf/test-013.emf"},
    {"visio_drawing", "emf/libemf2svg/emf/test-024.emf"},
};

gdi::HENHMETAFILE Load(const char* path) {
  QFile f(QString(MIRELUNE_TESTDATA) + "/" + path);
  if (!f.open(QIODevice::ReadOnly)) return nullptr;
  const QByteArray b = f.readAll();
  return gdi::SetEnhMetaFileBits(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(b.constData()), b.size()));
}

void SizeOf(const gdi::EnhMetaHeader& h, int& w, int& hh) {
  w = static_cast<int>(static_cast<double>(h.frame.Right - h.frame.Left) * h.deviceCx / (h.millimetersCx * 100.0));
  hh = static_cast<int>(static_cast<double>(h.frame.Bottom - h.frame.Top) * h.deviceCy / (h.millimetersCy * 100.0));
}

void BM_Play(benchmark::State& state, const char* path) {
  const auto emf = Load(path);
  if (!emf) {
    state.SkipWithError("sample missing");
    return;
  }
  int w = 0, h = 0;
  SizeOf(emf->Header(), w, h);
  auto dib = gdi::Dib::Create(gdi::DibHeader{w, -h, 1, 32});
  gdi::TCanvas canvas(*dib);
  for (auto _ : state) {
    gdi::PlayEnhMetaFile(canvas, emf, TRect{0, 0, w - 1, h - 1});
    benchmark::DoNotOptimize(dib->Bits());
  }
}

// The bare library: one QPainter over the same surface, filled once.
void BM_BareClear(benchmark::State& state, const char* path) {
  const auto emf = Load(path);
  if (!emf) {
    state.SkipWithError("sample missing");
    return;
  }
  int w = 0, h = 0;
  SizeOf(emf->Header(), w, h);
  auto dib = gdi::Dib::Create(gdi::DibHeader{w, -h, 1, 32});
  for (auto _ : state) {
    QImage img(dib->Bits(), w, h, static_cast<qsizetype>(dib->Stride()), QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(0, 0, w, h, Qt::white);
    benchmark::DoNotOptimize(dib->Bits());
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  for (const Sample& s : kSamples) {
    benchmark::RegisterBenchmark((std::string("Play/") + s.name).c_str(), BM_Play, s.path)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("BareClear/") + s.name).c_str(), BM_BareClear, s.path)
        ->Unit(benchmark::kMillisecond);
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
  for (const Sample& s : kSamples) {
    const double play = reporter.times[std::string("Play/") + s.name];
    const double bare = reporter.times[std::string("BareClear/") + s.name];
    if (bare > 0) std::printf("ratio %-14s playback / bare clear = %.1f\n", s.name, play / bare);
  }
  return 0;
}
