// mirelune-render on JPEG pictures: the decoding options reach the JPEG image, and
// --progress prints the reports of the decoding.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct Result {
  int status = -1;
  std::string out;
};

Result RunTool(const std::string& args) {
  const std::string png = ::testing::TempDir() + "jpeg-render.png";
  const std::string cmd = std::string(MIRELUNE_RENDER) + " " + args + " '" + png + "' 2>&1";
  Result r;
  if (std::FILE* p = popen(cmd.c_str(), "r")) {
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) r.out += buf;
    r.status = pclose(p);
  }
  std::remove(png.c_str());
  return r;
}

std::string Fixture(const char* name) { return std::string("'") + MIRELUNE_TEST_DATA + "/jpeg/" + name + "'"; }

TEST(RenderToolJpegTest, OptionsReachTheJpegImage) {
  struct Case {
    const char* options;
    const char* printed;
  };
  for (const Case& c : {Case{"", "640x480 Bits24\n"}, Case{"--scale 8", "80x60 Bits24\n"},
                        Case{"--scale 2 --pixel-format 8", "320x240 Bits8\n"}, Case{"--grey --speed", "640x480 Bits8\n"},
                        Case{"--scale 4 --progressive", "160x120 Bits24\n"}}) {
    const Result r = RunTool(Fixture("colour-640x480-progressive.jpg") + " " + c.options);
    EXPECT_EQ(r.status, 0) << c.options;
    EXPECT_EQ(r.out, c.printed) << c.options;
  }
}

TEST(RenderToolJpegTest, ProgressPrintsTheReportsOfTheDecoding) {
  const Result r = RunTool(Fixture("red-16x16.jpg") + " --progress");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "progress Starting 0 0 0,0,0,0\nprogress Ending 100 1 0,0,0,0\n16x16 Bits24\n");
}

TEST(RenderToolJpegTest, ARejectedFileIsTheJpegError) {
  const Result r = RunTool(Fixture("not-jpeg.jpg"));
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out.rfind("Erreur JPEG #", 0), 0u) << r.out;
}

}  // namespace
