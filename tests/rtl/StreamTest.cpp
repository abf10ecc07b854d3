// Streams, the bounds-checked reader and the string helpers.
#include <gtest/gtest.h>

#include <vector>

#include "platform/rtl/ByteReader.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Stream.h"

namespace {

TEST(ByteReaderTest, ReadsLittleEndianAndRefusesEveryReadPastTheEnd) {
  const std::vector<uint8_t> d{0x42, 0x4D, 0x01, 0x02, 0x03, 0x04, 0xFF};
  ByteReader r(d);
  EXPECT_EQ(r.U16(), 0x4D42);
  EXPECT_EQ(r.U32(), 0x04030201u);
  EXPECT_EQ(r.Remaining(), 1u);
  EXPECT_THROW(r.U16(), EReadError);
  EXPECT_EQ(r.Position(), 6u);  // a failed read does not move
  EXPECT_EQ(r.U8(), 0xFF);
  EXPECT_THROW(r.U8(), EReadError);
  EXPECT_THROW(r.Seek(8), EReadError);
  EXPECT_THROW(r.Take(SIZE_MAX), EReadError);
  r.Seek(0);
  EXPECT_THROW(r.Skip(SIZE_MAX - 1), EReadError);
  EXPECT_EQ(ByteReader::U32At(d, 3), 0xFF040302u);
  EXPECT_THROW(ByteReader::U32At(d, 4), EReadError);
  try {
    ByteReader(d).Take(8);
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message(), "Erreur de lecture du flux");
  }
}

TEST(StreamTest, ReadBufferRaisesOnAShortRead) {
  TMemoryStream s(std::vector<uint8_t>{1, 2, 3});
  uint8_t buf[4];
  s.ReadBuffer(buf, 2);
  EXPECT_EQ(buf[1], 2);
  EXPECT_THROW(s.ReadBuffer(buf, 2), EReadError);
  s.SetPosition(1);
  EXPECT_EQ(ReadRest(s), (std::vector<uint8_t>{2, 3}));
}

TEST(StreamTest, MemoryStreamWritesGrowAndSeekFromEveryOrigin) {
  TMemoryStream s;
  s.WriteBuffer("abcd", 4);
  EXPECT_EQ(s.Size(), 4);
  EXPECT_EQ(s.Seek(-1, TSeekOrigin::End), 3);
  s.WriteBuffer("XY", 2);
  EXPECT_EQ(std::string(s.Bytes().begin(), s.Bytes().end()), "abcXY");
  s.SetSize(2);
  EXPECT_EQ(s.Position(), 2);
}

TEST(StreamTest, FileStreamReportsTheNameItWasGiven) {
  try {
    TFileStream f("/nonexistent/dossier/photo.jpg");
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Impossible d'ouvrir le fichier /nonexistent/dossier/photo.jpg");
  }
}

struct TrimCase {
  const char* in;
  const char* out;
};
class TrimTest : public ::testing::TestWithParam<TrimCase> {};
TEST_P(TrimTest, RemovesControlCharactersAndBlanksAtBothEnds) { EXPECT_EQ(rtl::Trim(GetParam().in), GetParam().out); }
INSTANTIATE_TEST_SUITE_P(Cases, TrimTest,
                         ::testing::Values(TrimCase{"", ""}, TrimCase{"   ", ""}, TrimCase{" a b ", "a b"},
                                           TrimCase{"\t\r\nx\x01", "x"}, TrimCase{"é ", "é"}));

TEST(FormatTest, FillsPatternsAndComparesIgnoringAsciiCase) {
  EXPECT_EQ(rtl::Format("Erreur E/S %d", 21), "Erreur E/S 21");
  EXPECT_EQ(rtl::Format("%d%%", 37), "37%");
  EXPECT_TRUE(rtl::SameText("TForm1", "tform1"));
  EXPECT_LT(rtl::CompareText("abc", "ABD"), 0);
  EXPECT_EQ(rtl::LowerCase("PHOTO.JPG"), "photo.jpg");
}

}  // namespace
