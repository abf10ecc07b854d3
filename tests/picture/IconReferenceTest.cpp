// The real icon files of the shared test pictures: what loading does, and the drawn image
// compared with ImageMagick's rendering of the same entry over the same background.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "picture/Icon.h"
#include "platform/rtl/Exceptions.h"
#include "tests/picture/IconBuilder.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kBackground = 0x808080;

struct CatalogLine {
  std::string path;      // relative to the test pictures
  std::string expected;  // what a viewer should do
};

std::vector<CatalogLine> IconLines() {
  std::vector<CatalogLine> lines;
  std::ifstream in(fs::path(MIRELUNE_TESTDATA) / "CATALOG.tsv");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.starts_with("ico/")) continue;
    std::vector<std::string> cols;
    std::stringstream ss(line);
    for (std::string c; std::getline(ss, c, '\t');) cols.push_back(c);
    if (cols.size() >= 6) lines.push_back({cols[0], cols[5]});
  }
  return lines;
}

// Files whose drawing is known to differ from the reference's, and why.
const std::map<std::string, const char*> kKnownDifferences = {
    {"ico/image-rs/bad/Bad_smile-incorrect-image-length.ico",
     "its entry's byte size ends inside the colour rows: the rest reads as zeros, the reference reads on"},
    {"ico/image-rs/good/bmp_v5_with_icc.ico", "the reference misplaces the rows after a 124-byte header"},
    {"ico/pillow/decompression_bomb.ico", "its header claims 65535 x 65535 pixels for a 16 x 16 entry"},
    {"ico/pillow/hopper_unexpected.ico",
     "a 16 x 16 image under a 16 x 32 entry is stretched to the entry's size; the reference keeps 16 x 16"},
};

bool HaveConvert() { return std::system("convert -version >/dev/null 2>&1") == 0; }

// ImageMagick's rendering of one entry, flattened over the background; null when it fails.
QImage Reference(const fs::path& file, int entry, const fs::path& out) {
  const std::string cmd = "convert '" + file.string() + "[" + std::to_string(entry) +
                          "]' -background '#808080' -flatten PNG24:'" + out.string() + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return {};
  return QImage(QString::fromStdString(out.string())).convertToFormat(QImage::Format_RGB32);
}

double MatchingShare(icontest::Surface& ours, const QImage& ref, int w, int h) {
  int matching = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t a = ours.At(x, y), b = ref.pixel(x, y) & 0xFFFFFF;
      bool same = true;
      for (int shift : {0, 8, 16}) same = same && std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) <= 3;
      matching += same;
    }
  return w > 0 && h > 0 ? static_cast<double>(matching) / (w * h) : 0;
}

TEST(IconFiles, LoadAndDrawAsTheReferenceDoes) {
  const auto lines = IconLines();
  if (lines.empty()) GTEST_SKIP() << "no test pictures";
  const bool convert = HaveConvert();
  const fs::path out = fs::temp_directory_path() / ("mirelune-ico-" + std::to_string(::getpid()));
  fs::create_directories(out);
  const std::regex paints("paints entry #([0-9]+)");
  int compared = 0;
  for (const CatalogLine& line : lines) {
    SCOPED_TRACE(line.path);
    const fs::path file = fs::path(MIRELUNE_TESTDATA) / line.path;
    if (!fs::exists(file)) continue;
    TIcon icon;
    if (line.expected.find("Image icône incorrecte\" at load") != std::string::npos) {
      EXPECT_THROW(icon.LoadFile(file.string()), EInvalidGraphic);
      continue;
    }
    if (line.expected.find("Erreur de lecture du flux") != std::string::npos) {
      EXPECT_THROW(icon.LoadFile(file.string()), EReadError);
      continue;
    }
    std::smatch m;
    ASSERT_TRUE(std::regex_search(line.expected, m, paints)) << line.expected;
    const int entry = std::stoi(m[1]);
    ASSERT_NO_THROW(icon.LoadFile(file.string()));
    icontest::Surface s(300, 300, kBackground);
    try {
      icon.Render(s.Canvas(), TRect{0, 0, 300, 300});
    } catch (const EInvalidGraphic& e) {
      // Images in a form that cannot be drawn (an odd bit count, run-length rows) are refused.
      EXPECT_EQ(e.Message(), "Image icône incorrecte");
      continue;
    }
    if (!convert) continue;
    if (auto known = kKnownDifferences.find(line.path); known != kKnownDifferences.end()) {
      std::printf("%-70s not compared: %s\n", line.path.c_str(), known->second);
      continue;
    }
    const QImage ref = Reference(file, entry, out / (file.stem().string() + ".png"));
    if (ref.isNull()) continue;  // ImageMagick cannot read it either
    const int w = icon.Width(), h = icon.Height();
    EXPECT_EQ(w, ref.width());
    EXPECT_EQ(h, ref.height());
    if (w != ref.width() || h != ref.height()) continue;
    const double share = MatchingShare(s, ref, w, h);
    std::printf("%-70s entry %d %dx%d: %.4f of the pixels match\n", line.path.c_str(), entry, w, h, share);
    EXPECT_GE(share, 0.97);
    ++compared;
  }
  fs::remove_all(out);
  if (convert) {
    EXPECT_GT(compared, 20);
  }
}

}  // namespace
