// The player against a reference renderer nobody here wrote: every real metafile of the
// shared sample folder is drawn by us and by emf2svg-conv (rasterised by rsvg-convert), and
// the share of matching pixels is reported.  Each file must keep at least the share noted
// in tests/data/emf/reference-floors.tsv, so that a regression fails.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "platform/gdi/EnhMetaFile.h"

namespace fs = std::filesystem;
using namespace gdi;

namespace {

// The longest side the comparison renders at; larger pictures are shrunk to it.
constexpr int kMaxSide = 800;
// Channel difference still counted as a match: the reference is antialiased.
constexpr int kTolerance = 48;

fs::path DataDir() { return fs::path(MIRELUNE_TESTDATA) / "emf"; }
fs::path OutDir() { return fs::path(MIRELUNE_EMF_OUT); }

std::vector<std::string> SampleFiles() {
  std::vector<std::string> files;
  std::error_code ec;
  if (!fs::is_directory(DataDir(), ec)) return files;
  for (const auto& e : fs::recursive_directory_iterator(DataDir(), ec))
    if (e.is_regular_file() && e.path().extension() == ".emf") files.push_back(fs::relative(e.path(), DataDir()).string());
  std::sort(files.begin(), files.end());
  return files;
}

std::map<std::string, double> Floors() {
  std::map<std::string, double> floors;
  std::ifstream in(fs::path(MIRELUNE_SOURCE_DIR) / "tests/data/emf/reference-floors.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream s(line);
    std::string name;
    double floor = 0;
    if (s >> name >> floor) floors[name] = floor;
  }
  return floors;
}

bool Run(const QString& program, const QStringList& args) {
  QProcess p;
  p.start(program, args);
  if (!p.waitForStarted(5000)) return false;
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished();
    return false;
  }
  return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

bool ToolsPresent() {
  static const bool present = Run("sh", {"-c", "command -v emf2svg-conv && command -v rsvg-convert"});
  return present;
}

QImage Reference(const fs::path& file, const std::string& name, int w, int h) {
  std::string flat = name;
  std::replace(flat.begin(), flat.end(), '/', '_');
  const fs::path svg = OutDir() / (flat + ".ref.svg");
  const fs::path png = OutDir() / (flat + ".ref.png");
  if (!fs::exists(png)) {
    if (!Run("emf2svg-conv", {"-i", QString::fromStdString(file.string()), "-o", QString::fromStdString(svg.string()),
                              "-w", QString::number(w), "-h", QString::number(h)}))
      return {};
    if (!Run("rsvg-convert", {"-w", QString::number(w), "-h", QString::number(h), "-b", "white", "-o",
                              QString::fromStdString(png.string()), QString::fromStdString(svg.string())}))
      return {};
  }
  return QImage(QString::fromStdString(png.string())).convertToFormat(QImage::Format_RGB32).scaled(w, h);
}

double MatchShare(const QImage& a, const QImage& b, QImage& diff) {
  diff = QImage(a.size(), QImage::Format_RGB32);
  int64_t same = 0;
  for (int y = 0; y < a.height(); ++y) {
    const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    auto* pd = reinterpret_cast<QRgb*>(diff.scanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      const int d = std::max({std::abs(qRed(pa[x]) - qRed(pb[x])), std::abs(qGreen(pa[x]) - qGreen(pb[x])),
                              std::abs(qBlue(pa[x]) - qBlue(pb[x]))});
      same += d <= kTolerance;
      pd[x] = d <= kTolerance ? qRgb(255, 255, 255) : qRgb(255, 0, 0);
    }
  }
  return static_cast<double>(same) / (static_cast<int64_t>(a.width()) * a.height());
}

// Ours, reference and difference side by side, for looking at.
void SaveTriptych(const QImage& ours, const QImage& ref, const QImage& diff, const fs::path& out) {
  QImage all(ours.width() * 3 + 8, ours.height(), QImage::Format_RGB32);
  all.fill(qRgb(128, 128, 128));
  QPainter p(&all);
  p.drawImage(0, 0, ours);
  p.drawImage(ours.width() + 4, 0, ref);
  p.drawImage(2 * ours.width() + 8, 0, diff);
  p.end();
  all.save(QString::fromStdString(out.string()));
}

QImage Render(const HENHMETAFILE& emf, int width, int height) {
  auto dib = Dib::Create(DibHeader{width, -height, 1, 32});
  dib->Fill(kWhite);
  TCanvas canvas(*dib);
  PlayEnhMetaFile(canvas, emf, TRect{0, 0, width - 1, height - 1});
  return QImage(dib->Bits(), width, height, static_cast<qsizetype>(dib->Stride()), QImage::Format_RGB32).copy();
}

// The same metafile with its frame replaced by its bounds (device units turned into
// hundredths of a millimetre).
HENHMETAFILE AlignedToBounds(const HENHMETAFILE& emf) {
  std::vector<uint8_t> b = emf->Bytes();
  const EnhMetaHeader& h = emf->Header();
  auto put = [&](size_t off, double v) {
    const auto u = static_cast<uint32_t>(static_cast<int32_t>(std::lround(v)));
    for (int i = 0; i < 4; ++i) b[off + i] = static_cast<uint8_t>(u >> (8 * i));
  };
  const double kx = h.millimetersCx * 100.0 / h.deviceCx, ky = h.millimetersCy * 100.0 / h.deviceCy;
  put(24, h.bounds.Left * kx);
  put(28, h.bounds.Top * ky);
  put(32, (h.bounds.Right + 1) * kx);
  put(36, (h.bounds.Bottom + 1) * ky);
  return SetEnhMetaFileBits(b);
}

}  // namespace

class EmfReferenceTest : public ::testing::TestWithParam<std::string> {};

TEST_P(EmfReferenceTest, MatchesTheReferenceRenderer) {
  const std::string name = GetParam();
  const fs::path file = DataDir() / name;
  QFile f(QString::fromStdString(file.string()));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray data = f.readAll();
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.constData());
  const HENHMETAFILE emf = SetEnhMetaFileBits(std::span<const uint8_t>(bytes, static_cast<size_t>(data.size())));
  if (!emf) GTEST_SKIP() << "not a whole enhanced metafile: the reader refuses it";
  const EnhMetaHeader& h = emf->Header();
  if (h.millimetersCx <= 0 || h.millimetersCy <= 0) GTEST_SKIP() << "no reference device";
  double w = static_cast<double>(h.frame.Right - h.frame.Left) * h.deviceCx / (h.millimetersCx * 100.0);
  double hh = static_cast<double>(h.frame.Bottom - h.frame.Top) * h.deviceCy / (h.millimetersCy * 100.0);
  if (w < 1 || hh < 1) GTEST_SKIP() << "empty frame";
  const double shrink = std::min(1.0, kMaxSide / std::max(w, hh));
  const int width = std::max(1, static_cast<int>(std::lround(w * shrink)));
  const int height = std::max(1, static_cast<int>(std::lround(hh * shrink)));

  const QImage ours = Render(emf, width, height);

  if (!ToolsPresent()) GTEST_SKIP() << "emf2svg-conv or rsvg-convert missing";
  fs::create_directories(OutDir());
  const QImage ref = Reference(file, name, width, height);
  if (ref.isNull()) GTEST_SKIP() << "the reference renderer fails on this file";
  QImage diff;
  const double share = MatchShare(ours, ref, diff);
  std::string flat = name;
  std::replace(flat.begin(), flat.end(), '/', '_');
  SaveTriptych(ours, ref, diff, OutDir() / (flat + ".png"));
  RecordProperty("match", std::to_string(share));
  // The reference places the picture by its bounds where the system uses the frame; played
  // the same way, the comparison tells the content apart from the placement.
  QImage unused;
  const double aligned = MatchShare(Render(AlignedToBounds(emf), width, height), ref, unused);
  std::printf("[ match ] %-64s %6.2f %%  bounds-aligned %6.2f %%  (%dx%d)\n", name.c_str(), share * 100,
              aligned * 100, width, height);
  const auto floors = Floors();
  const auto it = floors.find(name);
  if (it != floors.end()) {
    EXPECT_GE(share, it->second) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Samples, EmfReferenceTest, ::testing::ValuesIn(SampleFiles()), [](const auto& info) {
  std::string n = info.param;
  for (char& c : n)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return n;
});
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(EmfReferenceTest);
