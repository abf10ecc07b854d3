// Files that declare enormous pictures get a clear error from their reader, never an
// allocation beyond the pixel ceiling.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "jpeg/JPEGImage.h"
#include "jpeg/JpegModule.h"
#include "picture/Bitmap.h"
#include "picture/Icon.h"
#include "platform/gdi/Canvas.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Stream.h"

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v & 0xFFFF);
  Put16(b, at + 2, v >> 16);
}

template <class E, class F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const E& e) {
    return e.Message();
  }
  return "(no exception)";
}

TEST(CeilingTest, ABitmapOfTenGigapixelsIsRefusedBeforeAnyAllocation) {
  std::vector<uint8_t> file(54 + 16, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 14, 40);
  Put32(file, 18, 100000);
  Put32(file, 22, 100000);
  Put16(file, 26, 1);
  Put16(file, 28, 24);
  TBitmap bmp;
  TMemoryStream s(file);
  EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { bmp.LoadStream(s); }), "Image bitmap incorrecte");
  EXPECT_TRUE(bmp.IsEmpty());
}

TEST(CeilingTest, AJpegHeaderOf65500SquaredLoadsButItsDrawingIsRefused) {
  TJpegModule module;
  std::ifstream in(std::string(MIRELUNE_SOURCE_DIR) + "/tests/data/jpeg/red-16x16.jpg", std::ios::binary);
  std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_GT(file.size(), 100u);
  // Frame header: FF C0, length, precision, height, width (big-endian).
  size_t sof = 0;
  for (size_t i = 2; i + 9 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == 0xC0) {
      sof = i;
      break;
    }
  ASSERT_NE(sof, 0u);
  file[sof + 5] = file[sof + 7] = 0xFF;
  file[sof + 6] = file[sof + 8] = 0xDC;  // 65500

  TJPEGImage jpg;
  TMemoryStream s(file);
  jpg.LoadStream(s);
  EXPECT_EQ(jpg.Width(), 65500);
  EXPECT_EQ(jpg.Height(), 65500);

  gdi::DibHeader h;
  h.width = 100;
  h.height = -100;
  h.bitCount = 32;
  auto surface = gdi::Dib::Create(h);
  gdi::TCanvas canvas(*surface);
  // 65500 x 65500 x 3 bytes is far above the ceiling: reshaping the bitmap runs out of
  // resources, as the system would.
  const std::string message = MessageOf<Exception>([&] { jpg.Render(canvas, TRect{0, 0, 100, 100}); });
  EXPECT_EQ(message, "Ressources système insuffisantes");
  EXPECT_NO_THROW(jpg.Render(canvas, TRect{0, 0, 100, 100}));  // no second attempt
}

TEST(CeilingTest, AnIconEntryOf256PixelsInATinyFileIsRefusedAtItsFirstDrawing) {
  std::vector<uint8_t> file(6 + 16 + 8, 0);
  Put16(file, 2, 1);
  Put16(file, 4, 1);
  // width and height bytes 0: 256 pixels; data claims 1 MB at offset 22
  Put32(file, 6 + 8, 1 << 20);
  Put32(file, 6 + 12, 22);
  TIcon icon;
  TMemoryStream s(file);
  icon.LoadStream(s);
  gdi::DibHeader h;
  h.width = 300;
  h.height = -300;
  h.bitCount = 32;
  auto surface = gdi::Dib::Create(h);
  gdi::TCanvas canvas(*surface);
  EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { icon.Render(canvas, TRect{0, 0, 300, 300}); }),
            "Image icône incorrecte");
}

}  // namespace
