// A long session: thousands of pictures of every kind loaded, decoded at changing settings,
// painted through the view and dropped in one process.  Memory must come back to where it
// stood after the first hundred; LeakSanitizer (in the sanitizer build) checks the rest.
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "jpeg/JPEGImage.h"
#include "jpeg/JpegModule.h"
#include "picture/Image.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Form.h"

namespace fs = std::filesystem;

namespace {

// Resident memory in KiB, after giving freed heap pages back to the system.
long ResidentKiB() {
  ::malloc_trim(0);
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

std::vector<fs::path> SessionFiles() {
  std::vector<fs::path> files;
  const fs::path src = MIRELUNE_SOURCE_DIR;
  for (const char* dir : {"fuzz/corpus/bmp", "fuzz/corpus/ico", "fuzz/corpus/wmf", "fuzz/corpus/emf",
                          "fuzz/corpus/jpeg", "tests/data/jpeg"}) {
    if (!fs::is_directory(src / dir)) continue;
    for (const auto& e : fs::directory_iterator(src / dir)) {
      const std::string ext = e.path().extension().string();
      if (ext == ".bmp" || ext == ".ico" || ext == ".wmf" || ext == ".emf" || ext == ".jpg") files.push_back(e.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

TEST(LongSessionTest, TwoThousandPicturesLeaveMemoryWhereItWas) {
  TJpegModule jpeg;
  const std::vector<fs::path> files = SessionFiles();
  ASSERT_GE(files.size(), 20u) << "the seed pictures are missing";

  TForm form(nullptr);
  form.SetBounds(0, 0, 700, 500);
  auto* view = new TImage(&form);  // owned by the form
  view->SetParent(&form);
  view->SetBounds(0, 0, 640, 480);
  view->SetProportional(true);

  const int kPictures = kSanitized ? 600 : 2000;
  long afterHundred = 0;
  int shown = 0, refused = 0, decodedJpegs = 0;
  for (int i = 0; i < kPictures; ++i) {
    const fs::path& file = files[static_cast<size_t>(i) % files.size()];
    try {
      view->Picture().LoadFile(file.string());
      if (auto* jpg = dynamic_cast<TJPEGImage*>(view->Picture().Graphic())) {
        jpg->SetScale(static_cast<TJPEGScale>(i % 4));
        jpg->SetPixelFormat(static_cast<TJPEGPixelFormat>((i / 4) % 2));
        jpg->SetGreyOutput((i / 8) % 3 == 0);
        jpg->SetPerformance(static_cast<TJPEGPerformance>((i / 3) % 2));
        jpg->SetProgressiveDisplay(i % 5 == 0);
      }
      view->PaintView();
      ++shown;
      if (auto* jpg = dynamic_cast<TJPEGImage*>(view->Picture().Graphic()))
        if (jpg->DecodedBitmap() && !jpg->DecodedBitmap()->IsEmpty()) ++decodedJpegs;
    } catch (const Exception&) {
      ++refused;  // damaged seeds are part of the session
      view->Picture().SetGraphic(nullptr);
    }
    if (i % 50 == 49) view->Picture().SetGraphic(nullptr);
    if (i == 99) afterHundred = ResidentKiB();
  }
  view->Picture().SetGraphic(nullptr);
  const long atEnd = ResidentKiB();

  EXPECT_GT(shown, kPictures / 2);
  EXPECT_GT(decodedJpegs, kPictures / 10);
  RecordProperty("resident_after_100_kib", std::to_string(afterHundred));
  RecordProperty("resident_at_end_kib", std::to_string(atEnd));
  std::printf("resident memory: %ld KiB after 100 pictures, %ld KiB after %d (%d shown, %d refused)\n",
              afterHundred, atEnd, kPictures, shown, refused);
  if (!kSanitized) {
    EXPECT_LT(atEnd - afterHundred, 8 * 1024) << "memory grew over the session";
  }
}

}  // namespace
