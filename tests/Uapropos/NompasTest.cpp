#include "Uapropos/Nompas.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace {

struct AlphabetCase {
  std::vector<uint8_t> positions;
  std::string spelt;
};

class SpellFromAlphabetTest : public testing::TestWithParam<AlphabetCase> {};

TEST_P(SpellFromAlphabetTest, SpellsTheCharactersAtThePositions) {
  EXPECT_EQ(SpellFromAlphabet(GetParam().positions), GetParam().spelt);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, SpellFromAlphabetTest,
                         testing::Values(AlphabetCase{{1}, "A"}, AlphabetCase{{26}, "Z"}, AlphabetCase{{27}, "a"},
                                         AlphabetCase{{52}, "z"}, AlphabetCase{{53}, "-"},
                                         AlphabetCase{{54}, "\u00A9"}, AlphabetCase{{55}, " "},
                                         AlphabetCase{{}, ""}, AlphabetCase{{13, 39, 54, 55, 1}, "Mm\u00A9 A"}));

TEST(SpellFromAlphabet, RefusesPositionsOutsideTheAlphabet) {
  for (uint8_t bad : {uint8_t{0}, uint8_t{56}, uint8_t{255}}) {
    std::vector<uint8_t> positions{1, bad};
    EXPECT_THROW(SpellFromAlphabet(positions), std::out_of_range) << int(bad);
  }
}

std::string ReadSource(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(BuildCreditLine, SpellsANameThatTheSourceDoesNotHoldInReadableForm) {
  const std::string credit = BuildCreditLine();
  ASSERT_GE(credit.size(), 4u);
  EXPECT_EQ(credit, BuildCreditLine()) << "a fixed sequence gives the same line each time";

  const std::string source = ReadSource(MIRELUNE_SOURCE_DIR "/Uapropos/Nompas.cpp");
  ASSERT_FALSE(source.empty());
  // Not the whole line, and none of its words of four letters or more.
  EXPECT_EQ(source.find(credit), std::string::npos);
  std::istringstream words(credit);
  for (std::string word; words >> word;) {
    for (std::string part; !word.empty();) {
      const auto dash = word.find('-');
      part = word.substr(0, dash);
      word = dash == std::string::npos ? "" : word.substr(dash + 1);
      if (part.size() >= 4) {
        EXPECT_EQ(source.find(part), std::string::npos) << part;
      }
    }
  }
}

}  // namespace
