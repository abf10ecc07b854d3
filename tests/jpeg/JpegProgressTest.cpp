// Progress reports: the monitor's rules on the library's counters (driven through a tick
// clock of the test's own), and the reports a decoding sends in each way it can end.

#include <jerror.h>

#include "JpegTestSupport.h"
#include "jpeg/JpegErrors.h"
#include "jpeg/JpegProgress.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TickCount.h"

namespace {

struct Report {
  TProgressStage stage;
  int percent;
  bool redrawNow;
  TRect r;
};

// Records every report and change notification of an image, in order.
struct Recorder {
  std::vector<Report> reports;
  std::vector<std::string> events;  // "S", "R", "E", "C"
  std::function<void(const Report&)> onReport;

  void Attach(TJPEGImage& image) {
    image.OnProgress = [this, &image](TObject* sender, TProgressStage stage, uint8_t percent, bool redraw,
                                      const TRect& r, const std::string& msg) {
      EXPECT_EQ(sender, &image);
      EXPECT_TRUE(msg.empty());
      reports.push_back({stage, percent, redraw, r});
      events.push_back(stage == TProgressStage::Starting ? "S" : stage == TProgressStage::Running ? "R" : "E");
      if (onReport) onReport(reports.back());
    };
    image.OnChange = [this](TObject*) { events.push_back("C"); };
  }
  int Count(TProgressStage stage) const {
    int n = 0;
    for (const auto& r : reports) n += r.stage == stage;
    return n;
  }
};

// A clock that moves by a fixed step at every reading.
void StepClock(uint32_t start, uint32_t step) {
  auto now = std::make_shared<uint32_t>(start);
  rtl::SetTickCountSource([now, step] {
    const uint32_t t = *now;
    *now += step;
    return t;
  });
}

// A decompressor-shaped record for driving the monitor by hand.
class ProgressHookTest : public JpegTest {
 protected:
  void SetUp() override {
    d_.err = &error_.Manager;
    d_.is_decompressor = TRUE;
    d_.output_width = 640;
    d_.output_height = 768;
    record_.Manager.progress_monitor = ProgressHook;
    record_.Instance = &image_;
    d_.progress = &record_.Manager;
    recorder_.Attach(image_);
  }
  // One monitor call at tick `now` with the counters given.
  void Call(uint32_t now, long counter, long limit, int completed, int total, unsigned scanline) {
    rtl::SetTickCountSource([now] { return now; });
    record_.Manager.pass_counter = counter;
    record_.Manager.pass_limit = limit;
    record_.Manager.completed_passes = completed;
    record_.Manager.total_passes = total;
    d_.output_scanline = scanline;
    ProgressHook(reinterpret_cast<j_common_ptr>(&d_));
  }

  TJPEGImage image_;
  JpegErrorState error_;
  jpeg_decompress_struct d_{};
  ProgressRecord record_{};
  Recorder recorder_;
};

TEST_F(ProgressHookTest, FirstCallOnlyStartsTheClock) {
  Call(5000, 99, 100, 0, 1, 300);
  EXPECT_TRUE(recorder_.reports.empty());
  EXPECT_EQ(record_.LastTick, 5000u);
  EXPECT_EQ(record_.LastPercent, 0);
  EXPECT_EQ(record_.LastScanline, 0u);
}

TEST_F(ProgressHookTest, CallsWithin500MsOfTheLastPassingOneAreIgnored) {
  Call(5000, 0, 100, 0, 1, 0);
  Call(5499, 50, 100, 0, 1, 10);
  EXPECT_TRUE(recorder_.reports.empty());
  EXPECT_EQ(record_.LastTick, 5000u);
  Call(5500, 50, 100, 0, 1, 10);
  ASSERT_EQ(recorder_.reports.size(), 1u);
  EXPECT_EQ(record_.LastTick, 5500u);
}

TEST_F(ProgressHookTest, TheFilterWorksAcrossTheTickCountWrap) {
  Call(0xFFFFFF00u, 0, 100, 0, 1, 0);
  Call(0x00000100u, 50, 100, 0, 1, 10);  // 512 ms later
  EXPECT_EQ(recorder_.reports.size(), 1u);
  Call(0x80000000u, 60, 100, 0, 1, 20);  // far past 2^31: still a running clock
  EXPECT_EQ(recorder_.reports.size(), 2u);
}

struct CounterCase {
  long counter, limit;
  int completed, total;
  int percent;
};
class PercentTest : public ProgressHookTest, public ::testing::WithParamInterface<CounterCase> {};

TEST_P(PercentTest, FollowsTheLibrarysCountersTruncated) {
  const CounterCase& c = GetParam();
  Call(1000, 0, 1, 0, 1, 0);
  Call(2000, c.counter, c.limit, c.completed, c.total, 100);
  ASSERT_EQ(recorder_.reports.size(), 1u);
  EXPECT_EQ(recorder_.reports[0].stage, TProgressStage::Running);
  EXPECT_EQ(recorder_.reports[0].percent, c.percent);
  EXPECT_EQ(record_.LastPercent, c.percent);
}

INSTANTIATE_TEST_SUITE_P(Counters, PercentTest,
                         ::testing::Values(CounterCase{1, 3, 0, 1, 33}, CounterCase{2, 3, 1, 2, 83},
                                           CounterCase{999, 1000, 0, 1, 99}, CounterCase{1, 2, 2, 3, 83}));

TEST_F(ProgressHookTest, ARepeatedPercentageMovesTheClockButNotTheRow) {
  Call(1000, 0, 3, 0, 1, 0);
  Call(2000, 1, 3, 0, 1, 256);
  ASSERT_EQ(recorder_.reports.size(), 1u);
  EXPECT_EQ(record_.LastScanline, 256u);
  Call(3000, 1, 3, 0, 1, 300);  // still 33
  EXPECT_EQ(recorder_.reports.size(), 1u);
  EXPECT_EQ(record_.LastTick, 3000u);
  EXPECT_EQ(record_.LastScanline, 256u);
}

TEST_F(ProgressHookTest, NoCountersNoReport) {
  Call(1000, 0, 0, 0, 0, 0);
  Call(2000, 5, 0, 0, 1, 10);
  Call(3000, 5, 10, 0, 0, 10);
  EXPECT_TRUE(recorder_.reports.empty());
}

struct BandCase {
  unsigned lastRow, row;
  TRect band;
  bool redrawNow;
};
class BandTest : public ProgressHookTest, public ::testing::WithParamInterface<BandCase> {};

TEST_P(BandTest, CoversTheRowsSinceTheLastReport) {
  const BandCase& c = GetParam();
  Call(1000, 0, 768, 0, 2, 0);
  record_.LastScanline = c.lastRow;
  Call(2000, 400, 768, 0, 2, c.row);
  ASSERT_EQ(recorder_.reports.size(), 1u);
  EXPECT_EQ(recorder_.reports[0].r, c.band);
  EXPECT_EQ(recorder_.reports[0].redrawNow, c.redrawNow);
  EXPECT_EQ(record_.LastScanline, c.row);
}

INSTANTIATE_TEST_SUITE_P(Bands, BandTest,
                         ::testing::Values(BandCase{100, 103, TRect{0, 100, 640, 103}, false},
                                           BandCase{100, 104, TRect{0, 100, 640, 104}, true},
                                           BandCase{0, 0, TRect{0, 0, 640, 0}, false},
                                           // a new pass began at the top since the last report
                                           BandCase{700, 50, TRect{0, 700, 640, 768}, true}));

TEST_F(ProgressHookTest, NoInstanceOrNoProgressNoReport) {
  record_.Instance = nullptr;
  Call(1000, 0, 3, 0, 1, 0);
  Call(2000, 1, 3, 0, 1, 10);
  EXPECT_TRUE(recorder_.reports.empty());
  EXPECT_EQ(record_.LastTick, 0u);
}

// Reports of whole decodings.

TEST_F(JpegTest, FastDecodingSendsOneStartingAndOneEndingReport) {
  rtl::SetTickCountSource([] { return 7000u; });  // the clock never moves on
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  image->SetPaletteDirty(false);
  Recorder rec;
  rec.Attach(*image);
  image->Bitmap();
  ASSERT_EQ(rec.events, (std::vector<std::string>{"S", "E"}));
  EXPECT_EQ(rec.reports[0].percent, 0);
  EXPECT_FALSE(rec.reports[0].redrawNow);
  EXPECT_EQ(rec.reports[0].r, TRect{});
  EXPECT_EQ(rec.reports[1].percent, 100);
  EXPECT_FALSE(rec.reports[1].redrawNow);
  EXPECT_EQ(rec.reports[1].r, TRect{});
}

TEST_F(JpegTest, EndingCarriesPaletteDirtyAndIsFollowedByTheChangeNotification) {
  rtl::SetTickCountSource([] { return 7000u; });
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  image->SetPixelFormat(TJPEGPixelFormat::jf8Bit);
  image->SetPaletteDirty(false);
  Recorder rec;
  rec.Attach(*image);
  image->Bitmap();
  EXPECT_EQ(rec.events, (std::vector<std::string>{"S", "E", "C"}));
  EXPECT_TRUE(rec.reports[1].redrawNow) << "the decoding built a palette";

  // A flag left set by the load is reported too.
  auto loaded = LoadImage(Fixture("colour-640x480.jpg"));
  Recorder rec2;
  rec2.Attach(*loaded);
  loaded->Bitmap();
  EXPECT_EQ(rec2.events, (std::vector<std::string>{"S", "E", "C"}));
  EXPECT_TRUE(rec2.reports[1].redrawNow);
}

TEST_F(JpegTest, RunningReportsOfASlowDecodingAreOrderedAndNeverRepeatAPercentage) {
  StepClock(1000, 600);
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  Recorder rec;
  rec.Attach(*image);
  image->Bitmap();
  ASSERT_GE(rec.Count(TProgressStage::Running), 10);
  EXPECT_EQ(rec.reports.front().stage, TProgressStage::Starting);
  EXPECT_EQ(rec.reports.back().stage, TProgressStage::Ending);
  EXPECT_EQ(rec.reports.back().percent, 100);
  int last = -1;
  int32_t lastBottom = 0;
  for (size_t i = 1; i + 1 < rec.reports.size(); ++i) {
    const Report& r = rec.reports[i];
    ASSERT_EQ(r.stage, TProgressStage::Running);
    EXPECT_NE(r.percent, last);
    EXPECT_EQ(r.r.Top, lastBottom) << "bands follow one another";
    EXPECT_EQ(r.r.Right, 640);
    EXPECT_EQ(r.redrawNow, r.r.Height() >= 4);
    last = r.percent;
    lastBottom = r.r.Bottom;
  }
}

TEST_F(JpegTest, DecodingThatFailsInItsMiddleEndsWithZeroThenRaises) {
  auto image = LoadImage(Fixture("bad-later-scan.jpg"));
  Recorder rec;
  rec.Attach(*image);
  EXPECT_THROW(image->Bitmap(), EJPEG);
  ASSERT_GE(rec.reports.size(), 2u);
  EXPECT_EQ(rec.reports.front().stage, TProgressStage::Starting);
  EXPECT_EQ(rec.reports.back().stage, TProgressStage::Ending);
  EXPECT_EQ(rec.reports.back().percent, 0);
  EXPECT_EQ(rec.events.back(), "C") << "the load left PaletteDirty set";
}

TEST_F(JpegTest, RejectedHeaderAtDecodingSendsNoReport) {
  TJPEGImage image;
  TMemoryStream empty;
  image.LoadStream(empty);
  Recorder rec;
  rec.Attach(image);
  EXPECT_THROW(image.Bitmap(), EJPEG);
  EXPECT_TRUE(rec.events.empty());
}

TEST_F(JpegTest, CancelAtTheFirstRunningReportKeepsAFullSizeBitmapFilledToThatRow) {
  StepClock(1000, 1000);
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  Recorder rec;
  rec.Attach(*image);
  rec.onReport = [](const Report& r) {
    if (r.stage == TProgressStage::Running) throw EAbort();
  };
  TBitmap* bitmap = nullptr;
  ASSERT_NO_THROW(bitmap = image->Bitmap());
  ASSERT_EQ(rec.Count(TProgressStage::Running), 1);
  EXPECT_EQ(rec.reports.back().stage, TProgressStage::Ending);
  EXPECT_EQ(rec.reports.back().percent, 0);
  ASSERT_EQ(bitmap->Width(), 640);
  ASSERT_EQ(bitmap->Height(), 480);

  const int filled = rec.reports[1].r.Bottom;
  ASSERT_GT(filled, 0);
  ASSERT_LT(filled, 480);
  const BareImage bare = BareDecode(ReadFileBytes(Fixture("colour-640x480.jpg")), BareParams{});
  for (int y = 0; y < 480; ++y) {
    const uint8_t* row = bitmap->ScanRow(y);
    if (y < filled) {
      ASSERT_EQ(0, std::memcmp(row, bare.pixels.data() + y * 640 * 3, 640 * 3)) << "row " << y;
    } else {
      for (int x = 0; x < 640 * 3; ++x) ASSERT_EQ(row[x], 0xFF) << "row " << y << " is what a new bitmap holds";
    }
  }
  // Drawn that way from then on, without decoding again.
  EXPECT_EQ(image->Bitmap(), bitmap);
  EXPECT_EQ(rec.Count(TProgressStage::Starting), 1);
}

TEST_F(JpegTest, CancelAtTheStartingReportLeavesAFormatButNoSizeAndNoEnding) {
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  Recorder rec;
  rec.Attach(*image);
  rec.onReport = [](const Report& r) {
    if (r.stage == TProgressStage::Starting) throw EAbort();
  };
  TBitmap* bitmap = nullptr;
  ASSERT_NO_THROW(bitmap = image->Bitmap());
  EXPECT_EQ(rec.events, (std::vector<std::string>{"S"}));
  EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::Bits24);
  EXPECT_EQ(bitmap->Width(), 0);
  EXPECT_EQ(bitmap->Height(), 0);
}

TEST_F(JpegTest, OtherErrorsOfReceiversGoOnAfterTheReportsTheyAllow) {
  // From a running report: the ending report, then the error.
  {
    StepClock(1000, 1000);
    auto image = LoadImage(Fixture("colour-640x480.jpg"));
    Recorder rec;
    rec.Attach(*image);
    rec.onReport = [](const Report& r) {
      if (r.stage == TProgressStage::Running) throw Exception("receiver");
    };
    EXPECT_THROW(image->Bitmap(), Exception);
    EXPECT_EQ(rec.reports.back().stage, TProgressStage::Ending);
    EXPECT_EQ(rec.reports.back().percent, 0);
  }
  // From the starting report: at once, no ending.
  {
    auto image = LoadImage(Fixture("colour-640x480.jpg"));
    Recorder rec;
    rec.Attach(*image);
    rec.onReport = [](const Report& r) {
      if (r.stage == TProgressStage::Starting) throw Exception("receiver");
    };
    EXPECT_THROW(image->Bitmap(), Exception);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"S"}));
  }
  // From the ending report: no change notification; an EAbort there is absorbed.
  rtl::SetTickCountSource([] { return 7000u; });
  for (bool abort : {false, true}) {
    auto image = LoadImage(Fixture("colour-640x480.jpg"));
    Recorder rec;
    rec.Attach(*image);
    rec.onReport = [abort](const Report& r) {
      if (r.stage != TProgressStage::Ending) return;
      if (abort) throw EAbort();
      throw Exception("receiver");
    };
    if (abort)
      EXPECT_NO_THROW(image->Bitmap());
    else
      EXPECT_THROW(image->Bitmap(), Exception);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"S", "E"}));
    EXPECT_EQ(image->Bitmap()->Width(), 640) << "the rows are all there";
  }
}

TEST_F(JpegTest, AReceiverMayDrawThePartlyFilledImageWithoutASecondDecoding) {
  StepClock(1000, 1000);
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  Recorder rec;
  rec.Attach(*image);
  int draws = 0;
  gdi::DibHeader header{64, -48, 1, 32};
  auto surface = gdi::Dib::Create(header);
  gdi::TCanvas canvas(*surface);
  rec.onReport = [&](const Report& r) {
    if (r.stage == TProgressStage::Running && r.redrawNow) {
      image->Render(canvas, TRect{0, 0, 64, 48});
      ++draws;
    }
  };
  image->Bitmap();
  EXPECT_GT(draws, 0);
  EXPECT_EQ(rec.Count(TProgressStage::Starting), 1);
}

TEST_F(JpegTest, AReceiverCannotChangeTheImageBeingDecoded) {
  StepClock(1000, 1000);
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  Recorder rec;
  rec.Attach(*image);
  rec.onReport = [&](const Report& r) {
    if (r.stage == TProgressStage::Running) image->SetScale(TJPEGScale::jsHalf);
  };
  EXPECT_THROW(image->Bitmap(), EInvalidGraphicOperation);
  EXPECT_EQ(image->Scale(), TJPEGScale::jsFullSize);
  EXPECT_EQ(image->DecodedBitmap()->Width(), 640);
  // Once the decoding is over, settings change again.
  image->SetScale(TJPEGScale::jsHalf);
  EXPECT_EQ(image->Width(), 320);
}

// Pass-by-pass display of a multi-scan file.

// Whether the last row of a bitmap holds anything but the white of a new bitmap.
bool LastRowFilled(TBitmap& bitmap) {
  if (bitmap.Height() == 0) return false;
  const uint8_t* row = bitmap.ScanRow(bitmap.Height() - 1);
  for (int x = 0; x < bitmap.Width() * 3; ++x)
    if (row[x] != 0xFF) return true;
  return false;
}

TEST_F(JpegTest, ProgressiveDisplayShowsACompletePictureBeforeTheEndOfTheFile) {
  for (bool progressive : {true, false}) {
    StepClock(1000, 600);
    auto image = LoadImage(Fixture("colour-640x480-progressive.jpg"));
    image->SetProgressiveDisplay(progressive);
    Recorder rec;
    rec.Attach(*image);
    bool coarseShown = false;
    rec.onReport = [&](const Report& r) {
      if (r.stage == TProgressStage::Running && LastRowFilled(*image->DecodedBitmap())) coarseShown = true;
    };
    image->Bitmap();
    EXPECT_EQ(coarseShown, progressive) << "progressive display " << progressive;
    EXPECT_GT(rec.Count(TProgressStage::Running), 0);
    EXPECT_EQ(rec.reports.back().percent, 100);
  }
}

TEST_F(JpegTest, ProgressiveDisplayBandRestartsAtEveryPass) {
  StepClock(1000, 600);
  auto image = LoadImage(Fixture("colour-640x480-progressive.jpg"));
  image->SetProgressiveDisplay(true);
  Recorder rec;
  rec.Attach(*image);
  image->Bitmap();
  int restarts = 0;
  for (size_t i = 1; i < rec.reports.size(); ++i)
    if (rec.reports[i].stage == TProgressStage::Running && rec.reports[i].r.Bottom == 480 &&
        rec.reports[i].r.Top > 0)
      ++restarts;
  EXPECT_GE(restarts, 3) << "cjpeg's progressive script has ten scans";
}

}  // namespace
