#include "test1/HelpFile.h"

#include <gtest/gtest.h>

namespace {

struct PathCase {
  const char* Program;
  const char* Help;
};

class HelpFileForTest : public testing::TestWithParam<PathCase> {};

TEST_P(HelpFileForTest, ReplacesTheExtensionOfTheFileNameOrAppendsOne) {
  EXPECT_EQ(HelpFileFor(GetParam().Program), GetParam().Help);
}

INSTANTIATE_TEST_SUITE_P(Paths, HelpFileForTest,
                         testing::Values(PathCase{"/usr/local/bin/mirelune", "/usr/local/bin/mirelune.chm"},
                                         PathCase{"/opt/Outils/Viewer.exe", "/opt/Outils/Viewer.chm"},
                                         PathCase{"/opt/v1.2/mirelune", "/opt/v1.2/mirelune.chm"},
                                         PathCase{"/opt/a.b/viewer.tar.gz", "/opt/a.b/viewer.tar.chm"},
                                         PathCase{"/home/u/.viewer", "/home/u/.chm"},
                                         PathCase{"mirelune", "mirelune.chm"}, PathCase{"", ".chm"}));

}  // namespace
