// mirelune-render as a user runs it: arguments, printed line, PNG pixels, errors.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

struct Result {
  int status = -1;
  std::string out, err;
};

std::string Slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

class RenderToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("mirelune-render-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Result Run(const std::string& args) {
    const std::string cmd = std::string("'") + MIRELUNE_RENDER + "' " + args + " >'" + (dir_ / "out").string() + "' 2>'" +
                            (dir_ / "err").string() + "'";
    Result r;
    const int raw = std::system(cmd.c_str());
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = Slurp(dir_ / "out");
    r.err = Slurp(dir_ / "err");
    return r;
  }
  static std::string Data(const char* name) { return std::string("'") + MIRELUNE_TOOLS_DATA + "/" + name + "'"; }
  std::string Png() const { return (dir_ / "o.png").string(); }

  fs::path dir_;
};

constexpr QRgb kButtonFace = qRgb(240, 240, 240);

TEST_F(RenderToolTest, OwnSizeWritesEveryPixel) {
  const Result r = Run(Data("rgb24-4x2.bmp") + " " + Png());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "4x2 Bits24\n");
  EXPECT_EQ(r.err, "");
  QImage img(QString::fromStdString(Png()));
  ASSERT_EQ(img.size(), QSize(4, 2));
  const QRgb want[2][4] = {{qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 255)},
                           {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(255, 255, 0), qRgb(0, 255, 255)}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(img.pixel(x, y) | 0xFF000000u, want[y][x]) << x << "," << y;
}

TEST_F(RenderToolTest, ViewShrinksProportionallyAtTheTopLeft) {
  const Result r = Run(Data("pal8-120x80.bmp") + " " + Png() + " --view 50x40");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "120x80 Bits8\n");
  QImage img(QString::fromStdString(Png()));
  ASSERT_EQ(img.size(), QSize(50, 40));
  // 120 x 80 into 50 x 40: 50 x 33, rows and columns dropped, the rest the window's colour.
  EXPECT_EQ(img.pixel(0, 0), qRgb(255, 0, 0));
  // The last drawn pixel samples source 118,78: colour (11 + 7) % 4 = 2, blue.
  EXPECT_EQ(img.pixel(49, 32), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(0, 33), kButtonFace);
  EXPECT_EQ(img.pixel(49, 39), kButtonFace);
}

TEST_F(RenderToolTest, ViewNeverEnlarges) {
  const Result r = Run(Data("rgb24-4x2.bmp") + " " + Png() + " --view 10x6");
  ASSERT_EQ(r.status, 0) << r.err;
  QImage img(QString::fromStdString(Png()));
  ASSERT_EQ(img.size(), QSize(10, 6));
  EXPECT_EQ(img.pixel(3, 1), qRgb(0, 255, 255));
  EXPECT_EQ(img.pixel(4, 0), kButtonFace);
  EXPECT_EQ(img.pixel(0, 2), kButtonFace);
}

TEST_F(RenderToolTest, JpegOptionsAreAcceptedForOtherKinds) {
  const Result r =
      Run(Data("rgb24-4x2.bmp") + " " + Png() + " --scale 8 --pixel-format 8 --grey --speed --progressive --progress");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "4x2 Bits24\n");  // a bitmap reports no progress
}

TEST_F(RenderToolTest, EmptyBitmapGivesOnePixelOfTheWindowColour) {
  const Result r = Run(Data("empty.bmp") + " " + Png());
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "0x0 Device\n");
  QImage img(QString::fromStdString(Png()));
  ASSERT_EQ(img.size(), QSize(1, 1));
  EXPECT_EQ(img.pixel(0, 0), kButtonFace);
}

struct FailureCase {
  const char* name;
  std::string args;  // before the output file
  std::string err;
};

class RenderToolFailureTest : public RenderToolTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(RenderToolFailureTest, PrintsTheMessageBoxTextAndWritesNothing) {
  const Result r = Run(GetParam().args + " " + Png());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, GetParam().err);
  EXPECT_FALSE(fs::exists(Png()));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, RenderToolFailureTest,
    ::testing::Values(
        // "." is added after a letter, not after ")".
        FailureCase{"NotBM", std::string(MIRELUNE_TOOLS_DATA) + "/not-bm.bmp", "Image bitmap incorrecte.\n"},
        FailureCase{"UnknownExtension", std::string(MIRELUNE_TOOLS_DATA) + "/notes.txt",
                    "Extension de fichier image inconnue (.txt)\n"},
        FailureCase{"Missing", "/nonexistent/photo.bmp", "Impossible d'ouvrir le fichier /nonexistent/photo.bmp.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RenderToolTest, BadArgumentsShowTheUsage) {
  for (const std::string& args : {std::string(""), Data("rgb24-4x2.bmp"), Data("rgb24-4x2.bmp") + " " + Png() + " --scale 3",
                                 Data("rgb24-4x2.bmp") + " " + Png() + " --view 10"}) {
    const Result r = Run(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.err, "") << args;
    EXPECT_FALSE(fs::exists(Png()));
  }
}

}  // namespace
