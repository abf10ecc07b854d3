// What the image view's paint cycle costs around the graphic's own drawing: filling the
// background, the surface, and putting the surface on the (offscreen) screen, for the main
// window's 994 x 764 view.  Compared in the same run with a bare copy of the same pixels and
// a bare QPainter blit of them.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <vector>

#include "picture/Image.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Form.h"

namespace {

constexpr int kW = 994, kH = 764;

// Draws nothing: what is measured is the view's own work.
class TNullGraphic : public TGraphic {
  MIRELUNE_GRAPHIC_KIND()
 public:
  std::string ClassName() const override { return "TNullGraphic"; }
  void CopyFrom(const TPersistent&) override {}
  void Render(gdi::TCanvas&, const TRect&) override {}
  bool IsEmpty() override { return false; }
  int32_t Width() override { return kW; }
  int32_t Height() override { return kH; }
  void SetWidth(int32_t) override {}
  void SetHeight(int32_t) override {}
  void LoadStream(TStream&) override {}
  void SaveStream(TStream&) override {}
};
MIRELUNE_DEFINE_GRAPHIC_KIND(TNullGraphic, TGraphic)

void BM_BareCopy(benchmark::State& state) {
  std::vector<uint32_t> src(size_t{kW} * kH, 0x102030), dst(size_t{kW} * kH);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), dst.size() * 4);
    benchmark::DoNotOptimize(dst.data());
  }
}
BENCHMARK(BM_BareCopy)->Unit(benchmark::kMicrosecond);

void BM_BareQPainterBlit(benchmark::State& state) {
  QImage src(kW, kH, QImage::Format_RGB32), dst(kW, kH, QImage::Format_RGB32);
  src.fill(0x102030);
  for (auto _ : state) {
    QPainter p(&dst);
    p.drawImage(0, 0, src);
  }
}
BENCHMARK(BM_BareQPainterBlit)->Unit(benchmark::kMicrosecond);

void BM_ViewPaintCycle(benchmark::State& state) {
  TForm form(nullptr);
  form.SetClientWidth(kW);
  form.SetClientHeight(kH);
  auto* view = new TImage(&form);  // owned by the form
  view->SetAlign(TAlign::alClient);
  view->SetParent(&form);
  TNullGraphic g;
  view->Picture().SetGraphic(&g);
  form.Show();
  QApplication::processEvents();
  // The bare copy of the same pixels, timed beside each cycle, gives the ratio.
  std::vector<uint32_t> src(size_t{kW} * kH, 0x102030), dst(size_t{kW} * kH);
  using Clock = std::chrono::steady_clock;
  Clock::duration viewTime{}, copyTime{};
  for (auto _ : state) {
    const auto t0 = Clock::now();
    view->Invalidate();
    view->Update();
    const auto t1 = Clock::now();
    std::memcpy(dst.data(), src.data(), dst.size() * 4);
    benchmark::DoNotOptimize(dst.data());
    const auto t2 = Clock::now();
    viewTime += t1 - t0;
    copyTime += t2 - t1;
  }
  state.counters["ratio_to_bare_copy"] =
      copyTime.count() > 0 ? static_cast<double>(viewTime.count()) / static_cast<double>(copyTime.count()) : 0.0;
  form.Hide();
}
BENCHMARK(BM_ViewPaintCycle)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  Application->Initialize(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  Application->Shutdown();
  return 0;
}
