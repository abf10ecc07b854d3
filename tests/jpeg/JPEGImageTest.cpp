// The JPEG image object: holding the bytes, the header on load, sizes at each scale, the
// settings and their change rule, the palette, copies, the stored form and the registry.

#include <jerror.h>

#include "JpegTestSupport.h"
#include "jpeg/JpegErrors.h"
#include "jpeg/JpegModule.h"
#include "jpeg/StreamSource.h"
#include "picture/FileFormatsList.h"
#include "picture/Picture.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

// Counts the change notifications of a graphic.
struct ChangeCounter {
  int count = 0;
  void Attach(TGraphic& g) {
    g.OnChange = [this](TObject*) { ++count; };
  }
};

std::string JpegErrorText(int code) { return rtl::Format("Erreur JPEG #%d", code); }

class JPEGImageTest : public JpegTest {};

TEST_F(JPEGImageTest, NewImageIsEmptyAndLoadedOneIsNotBeforeDecoding) {
  TJPEGImage image;
  EXPECT_TRUE(image.IsEmpty());
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.Height(), 0);
  EXPECT_EQ(image.Data()->OwnerCount, 1);

  image.LoadFile(Fixture("colour-640x480.jpg"));
  EXPECT_FALSE(image.IsEmpty());
  EXPECT_EQ(image.DecodedBitmap(), nullptr);
  EXPECT_EQ(image.Width(), 640);
  EXPECT_EQ(image.Height(), 480);
  EXPECT_EQ(image.Data()->HeaderWidth, 640);
  EXPECT_EQ(image.Data()->HeaderHeight, 480);
  EXPECT_EQ(image.Data()->Bytes->Bytes(), ReadFileBytes(Fixture("colour-640x480.jpg")));
}

TEST_F(JPEGImageTest, LoadSetsPaletteDirtyNotifiesAndKeepsNoBitmap) {
  TJPEGImage image;
  ChangeCounter changes;
  changes.Attach(image);
  image.LoadFile(Fixture("colour-640x480.jpg"));
  EXPECT_TRUE(image.PaletteDirty());
  EXPECT_EQ(changes.count, 1);

  image.Bitmap();
  ASSERT_NE(image.DecodedBitmap(), nullptr);
  image.LoadFile(Fixture("grey-64x48.jpg"));
  EXPECT_EQ(image.DecodedBitmap(), nullptr);
  EXPECT_EQ(image.Width(), 64);
}

TEST_F(JPEGImageTest, MultiScanFollowsTheHeldFile) {
  TJPEGImage image;
  image.LoadFile(Fixture("colour-640x480-progressive.jpg"));
  EXPECT_TRUE(image.MultiScan());
  image.LoadFile(Fixture("colour-640x480.jpg"));
  EXPECT_FALSE(image.MultiScan());
}

TEST_F(JPEGImageTest, ZeroByteFileLoadsWithoutSizeAndFailsAtTheFirstDrawingOnly) {
  TJPEGImage image;
  TMemoryStream empty;
  image.LoadStream(empty);
  EXPECT_FALSE(image.IsEmpty());
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.Height(), 0);
  // At a reduced scale too: there is no header to scale.
  image.SetScale(TJPEGScale::jsHalf);
  EXPECT_EQ(image.Width(), 0);

  try {
    image.Bitmap();
    FAIL() << "no error";
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Code(), JERR_INPUT_EMPTY);
    EXPECT_EQ(e.Message(), JpegErrorText(JERR_INPUT_EMPTY));
  }
  TBitmap* bitmap = nullptr;
  EXPECT_NO_THROW(bitmap = image.Bitmap());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_TRUE(bitmap->IsEmpty());
  EXPECT_EQ(image.Width(), 0);
  EXPECT_EQ(image.Height(), 0);
}

TEST_F(JPEGImageTest, FileThatIsNotJpegFailsAtLoadWithoutNotification) {
  TJPEGImage image;
  ChangeCounter changes;
  changes.Attach(image);
  try {
    image.LoadFile(Fixture("not-jpeg.jpg"));
    FAIL() << "no error";
  } catch (const EInvalidGraphic& e) {
    ASSERT_NE(dynamic_cast<const EJPEG*>(&e), nullptr);
    EXPECT_EQ(e.Message(), JpegErrorText(JERR_NO_SOI));
  }
  EXPECT_EQ(changes.count, 0);
  EXPECT_FALSE(image.PaletteDirty());
  // The new holder keeps the bytes.
  ASSERT_TRUE(image.Data()->Bytes);
  EXPECT_EQ(image.Data()->Bytes->Bytes().size(), 21u);
}

TEST_F(JPEGImageTest, FileCutShortAfterItsHeaderReportsItsFullSize) {
  auto image = LoadImage(Fixture("truncated-640x480.jpg"));
  EXPECT_EQ(image->Width(), 640);
  EXPECT_EQ(image->Height(), 480);
  EXPECT_NO_THROW(image->Bitmap());
  EXPECT_EQ(image->Bitmap()->Width(), 640);
}

struct ScaleCase {
  TJPEGScale scale;
  int width, height;
};
class ScaledSizeTest : public JpegTest, public ::testing::WithParamInterface<ScaleCase> {};

TEST_P(ScaledSizeTest, ComesFromTheHeaderRoundedUpThenFromTheBitmap) {
  auto image = LoadImage(Fixture("colour-1000x750.jpg"));
  image->SetScale(GetParam().scale);
  EXPECT_EQ(image->Width(), GetParam().width);
  EXPECT_EQ(image->Height(), GetParam().height);
  EXPECT_EQ(image->DecodedBitmap(), nullptr) << "sizes never decode";
  TBitmap* bitmap = image->Bitmap();
  EXPECT_EQ(bitmap->Width(), GetParam().width);
  EXPECT_EQ(bitmap->Height(), GetParam().height);
  EXPECT_EQ(image->Width(), bitmap->Width());
}

INSTANTIATE_TEST_SUITE_P(Scales, ScaledSizeTest,
                         ::testing::Values(ScaleCase{TJPEGScale::jsFullSize, 1000, 750},
                                           ScaleCase{TJPEGScale::jsHalf, 500, 375},
                                           ScaleCase{TJPEGScale::jsQuarter, 250, 188},
                                           ScaleCase{TJPEGScale::jsEighth, 125, 94}));

TEST_F(JPEGImageTest, ScaledSizeQueryRefreshesMultiScan) {
  auto image = LoadImage(Fixture("colour-640x480-progressive.jpg"));
  image->SetScale(TJPEGScale::jsEighth);
  EXPECT_EQ(image->Width(), 80);
  EXPECT_EQ(image->ReducedWidth(), 80);
  EXPECT_EQ(image->ReducedHeight(), 60);
  EXPECT_TRUE(image->MultiScan());
}

// The change rule of the four settings.
struct SettingCase {
  const char* name;
  void (*toOther)(TJPEGImage&);
  void (*toSame)(TJPEGImage&);
  bool setsPaletteDirty;
};
class SettingChangeTest : public JpegTest, public ::testing::WithParamInterface<SettingCase> {};

TEST_P(SettingChangeTest, SameValueChangesNothingOtherValueDropsTheBitmapAndNotifies) {
  auto image = LoadImage(Fixture("grey-64x48.jpg"));
  image->Bitmap();
  image->SetPaletteDirty(false);
  ChangeCounter changes;
  changes.Attach(*image);

  GetParam().toSame(*image);
  EXPECT_NE(image->DecodedBitmap(), nullptr);
  EXPECT_EQ(changes.count, 0);
  EXPECT_FALSE(image->PaletteDirty());

  GetParam().toOther(*image);
  EXPECT_EQ(image->DecodedBitmap(), nullptr);
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(image->PaletteDirty(), GetParam().setsPaletteDirty);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SettingChangeTest,
    ::testing::Values(
        SettingCase{"GreyOutput", [](TJPEGImage& i) { i.SetGreyOutput(true); },
                    [](TJPEGImage& i) { i.SetGreyOutput(false); }, true},
        SettingCase{"PixelFormat", [](TJPEGImage& i) { i.SetPixelFormat(TJPEGPixelFormat::jf8Bit); },
                    [](TJPEGImage& i) { i.SetPixelFormat(TJPEGPixelFormat::jf24Bit); }, true},
        SettingCase{"Performance", [](TJPEGImage& i) { i.SetPerformance(TJPEGPerformance::jpBestSpeed); },
                    [](TJPEGImage& i) { i.SetPerformance(TJPEGPerformance::jpBestQuality); }, true},
        SettingCase{"Scale", [](TJPEGImage& i) { i.SetScale(TJPEGScale::jsQuarter); },
                    [](TJPEGImage& i) { i.SetScale(TJPEGScale::jsFullSize); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JPEGImageTest, ProgressiveDisplayIsAPlainField) {
  auto image = LoadImage(Fixture("colour-640x480-progressive.jpg"));
  TBitmap* bitmap = image->Bitmap();
  ChangeCounter changes;
  changes.Attach(*image);
  image->SetProgressiveDisplay(true);
  EXPECT_EQ(image->DecodedBitmap(), bitmap);
  EXPECT_EQ(changes.count, 0);
}

TEST_F(JPEGImageTest, SizeWritesAlwaysFailAndChangeNothing) {
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  for (auto write : {&TJPEGImage::SetWidth, &TJPEGImage::SetHeight}) {
    try {
      (image.get()->*write)(10);
      FAIL() << "no error";
    } catch (const EInvalidGraphicOperation& e) {
      EXPECT_EQ(e.Message(), "Impossible de modifier la taille d'une image JPEG");
    }
  }
  EXPECT_EQ(image->Width(), 640);
  EXPECT_EQ(image->Height(), 480);
}

TEST_F(JPEGImageTest, PaletteReadWithoutBitmapDependsOnTheScreenAndTheFormat) {
  auto image = LoadImage(Fixture("colour-640x480.jpg"));
  EXPECT_EQ(image->Palette(), nullptr) << "true-colour screen";

  gdi::SetScreenBitsPerPixel(8);
  const gdi::HPALETTE halftone = image->Palette();
  ASSERT_NE(halftone, nullptr);
  EXPECT_EQ(halftone->Size(), 256u);
  EXPECT_EQ(image->Palette(), halftone) << "kept and answered again";
  EXPECT_EQ(image->HeldPalette(), halftone);

  auto eight = LoadImage(Fixture("colour-640x480.jpg"));
  eight->SetPixelFormat(TJPEGPixelFormat::jf8Bit);
  EXPECT_EQ(eight->Palette(), nullptr);
}

TEST_F(JPEGImageTest, PaletteReadOfADecodedImageIsTheBitmaps) {
  auto image = LoadImage(Fixture("grey-64x48.jpg"));
  TBitmap* bitmap = image->Bitmap();
  ASSERT_NE(bitmap->Palette(), nullptr);
  EXPECT_EQ(image->Palette(), bitmap->Palette());
}

TEST_F(JPEGImageTest, PaletteWriteIsSignificantOnlyAgainstADecodedBitmap) {
  auto image = LoadImage(Fixture("grey-64x48.jpg"));
  image->SetPaletteDirty(false);
  ChangeCounter changes;
  changes.Attach(*image);
  const gdi::HPALETTE p = gdi::CreatePalette({{1, 2, 3, 0}, {4, 5, 6, 0}});

  image->SetPalette(p);  // no bitmap: kept, nothing else
  EXPECT_EQ(image->HeldPalette(), p);
  EXPECT_EQ(changes.count, 0);
  EXPECT_FALSE(image->PaletteDirty());
  image->SetPalette(p);  // the held one again: nothing
  EXPECT_EQ(changes.count, 0);

  image->Bitmap();
  image->SetPaletteDirty(false);
  changes.count = 0;
  const gdi::HPALETTE q = gdi::CreatePalette({{7, 8, 9, 0}});
  image->SetPalette(q);
  EXPECT_EQ(image->DecodedBitmap(), nullptr);
  EXPECT_EQ(image->HeldPalette(), q);
  EXPECT_TRUE(image->PaletteDirty());
  EXPECT_EQ(changes.count, 1);
}

TEST_F(JPEGImageTest, CopyingAJpegImageSharesItsHolderAndKeepsOwnSettings) {
  auto source = LoadImage(Fixture("colour-640x480.jpg"));
  auto copy = std::make_unique<TJPEGImage>();
  copy->SetScale(TJPEGScale::jsHalf);
  ChangeCounter changes;
  changes.Attach(*copy);

  copy->CopyFrom(*source);
  EXPECT_EQ(copy->Data().get(), source->Data().get());
  EXPECT_EQ(source->Data()->OwnerCount, 2);
  EXPECT_EQ(copy->Scale(), TJPEGScale::jsHalf);
  EXPECT_EQ(copy->Width(), 320);
  EXPECT_EQ(copy->DecodedBitmap(), nullptr);
  EXPECT_EQ(changes.count, 0);

  const std::vector<uint8_t> bytes = source->Data()->Bytes->Bytes();
  source.reset();
  EXPECT_EQ(copy->Data()->OwnerCount, 1);
  EXPECT_EQ(copy->Data()->Bytes->Bytes(), bytes);
  EXPECT_EQ(copy->Bitmap()->Width(), 320);
}

TEST_F(JPEGImageTest, CopyingADecodedJpegImageCopiesItsBitmap) {
  auto source = LoadImage(Fixture("red-16x16.jpg"));
  TBitmap* decoded = source->Bitmap();
  TJPEGImage copy;
  copy.CopyFrom(*source);
  ASSERT_NE(copy.DecodedBitmap(), nullptr);
  EXPECT_NE(copy.DecodedBitmap(), decoded);
  EXPECT_EQ(BitmapRows(*copy.DecodedBitmap()), BitmapRows(*decoded));
}

TEST_F(JPEGImageTest, CopyFromABitmapHoldsThePictureWithoutBytes) {
  auto source = LoadImage(Fixture("red-16x16.jpg"));
  TBitmap bitmap;
  bitmap.CopyFrom(*source);  // through CopyTo: decodes
  EXPECT_NE(source->DecodedBitmap(), nullptr);
  EXPECT_EQ(bitmap.Width(), 16);
  EXPECT_EQ(BitmapRows(bitmap), BitmapRows(*source->DecodedBitmap()));

  TJPEGImage image;
  image.CopyFrom(bitmap);
  EXPECT_FALSE(image.Data()->Bytes);
  ASSERT_NE(image.DecodedBitmap(), nullptr);
  EXPECT_EQ(image.Width(), 16);
  EXPECT_FALSE(image.IsEmpty());
}

TEST_F(JPEGImageTest, SavingAPictureWithoutBytesEncodesItOnce) {
  struct Case {
    const char* file;
    bool grey;
  };
  for (const Case& c : {Case{"red-16x16.jpg", false}, Case{"red-16x16.jpg", true}, Case{"grey-64x48.jpg", false}}) {
    auto source = LoadImage(Fixture(c.file));
    TBitmap bitmap;
    bitmap.CopyFrom(*source);
    TJPEGImage image;
    image.SetGreyOutput(c.grey);
    image.CopyFrom(bitmap);
    TMemoryStream saved;
    image.SaveStream(saved);
    ASSERT_GT(saved.Bytes().size(), 100u) << c.file;
    EXPECT_EQ(image.Data()->Bytes->Bytes(), saved.Bytes()) << "kept as the image's bytes";

    saved.SetPosition(0);
    TJPEGImage back;
    back.LoadStream(saved);
    TBitmap* decoded = back.Bitmap();
    ASSERT_EQ(decoded->Width(), bitmap.Width()) << c.file;
    ASSERT_EQ(decoded->Height(), bitmap.Height()) << c.file;
    const bool greyFile = c.grey;  // an 8-bit bitmap is encoded in colour unless grey is asked for
    EXPECT_EQ(decoded->PixelFormat(), greyFile ? TPixelFormat::Bits8 : TPixelFormat::Bits24) << c.file;
    const gdi::COLORREF a = bitmap.Store()->PixelColor(5, 5), b = decoded->Store()->PixelColor(5, 5);
    if (!c.grey) {
      EXPECT_NEAR(gdi::GetRValue(a), gdi::GetRValue(b), 12) << c.file;
      EXPECT_NEAR(gdi::GetBValue(a), gdi::GetBValue(b), 12) << c.file;
    } else {
      EXPECT_EQ(gdi::GetRValue(b), gdi::GetBValue(b));
    }
  }
}

TEST_F(JPEGImageTest, CopyToAnythingButABitmapIsAConversionError) {
  auto image = LoadImage(Fixture("red-16x16.jpg"));
  TPicture picture;
  try {
    image->CopyTo(picture);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Impossible d'affecter TJPEGImage à TPicture");
  }
}

TEST_F(JPEGImageTest, SameAsComparesBytesOrElseTheHolder) {
  auto a = LoadImage(Fixture("red-16x16.jpg"));
  auto b = LoadImage(Fixture("red-16x16.jpg"));
  auto c = LoadImage(Fixture("grey-64x48.jpg"));
  EXPECT_TRUE(a->SameAs(b.get()));
  EXPECT_FALSE(a->SameAs(c.get()));
  TBitmap bitmap;
  EXPECT_FALSE(a->SameAs(&bitmap));

  TJPEGImage empty1, empty2;
  EXPECT_FALSE(empty1.SameAs(&empty2)) << "no bytes, different holders";
  empty2.CopyFrom(empty1);
  EXPECT_TRUE(empty1.SameAs(&empty2));
}

TEST_F(JPEGImageTest, StoredFormIsALittleEndianLengthThenTheBytesAndRoundTrips) {
  auto image = LoadImage(Fixture("grey-64x48.jpg"));
  const std::vector<uint8_t> file = ReadFileBytes(Fixture("grey-64x48.jpg"));
  TMemoryStream stored;
  image->WriteStoredData(stored);
  ASSERT_EQ(stored.Bytes().size(), 4 + file.size());
  const uint32_t n = file.size();
  EXPECT_EQ(std::vector<uint8_t>(stored.Bytes().begin(), stored.Bytes().begin() + 4),
            (std::vector<uint8_t>{uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)}));

  stored.SetPosition(0);
  TJPEGImage back;
  back.ReadStoredData(stored);
  EXPECT_EQ(back.Data()->Bytes->Bytes(), file);
  EXPECT_EQ(back.Width(), 64);
  EXPECT_EQ(back.Height(), 48);
  EXPECT_TRUE(back.SameAs(image.get()));

  TJPEGImage empty;
  TMemoryStream none;
  empty.WriteStoredData(none);
  EXPECT_EQ(none.Bytes(), (std::vector<uint8_t>{0, 0, 0, 0}));
}

TEST_F(JPEGImageTest, StoredFormLongerThanItsStreamIsAReadErrorWithoutAllocating) {
  for (const std::vector<uint8_t>& stored : {std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xD8},
                                             std::vector<uint8_t>{0x10, 0, 0, 0, 0xFF, 0xD8},
                                             std::vector<uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}}) {
    TMemoryStream stream(stored);
    TJPEGImage image;
    EXPECT_THROW(image.ReadStoredData(stream), EReadError);
  }
}

TEST_F(JPEGImageTest, LoadStreamReadsFromThePositionToTheEnd) {
  std::vector<uint8_t> bytes = {'x', 'y', 'z'};
  const std::vector<uint8_t> file = ReadFileBytes(Fixture("red-16x16.jpg"));
  bytes.insert(bytes.end(), file.begin(), file.end());
  TMemoryStream stream(bytes);
  stream.SetPosition(3);
  TJPEGImage image;
  image.LoadStream(stream);
  EXPECT_EQ(image.Data()->Bytes->Bytes(), file);
  EXPECT_EQ(image.Width(), 16);
}

TEST_F(JPEGImageTest, ModuleRegistersBothExtensionsAfterTheBuiltInRowsAndRemovesThem) {
  FreeFormatRegistry();
  StartJpegModule();
  const auto& entries = FormatRegistry().Entries();
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(entries[3].Ext, "bmp");
  EXPECT_EQ(entries[4].Ext, "jpeg");
  EXPECT_EQ(entries[5].Ext, "jpg");
  for (size_t i : {4u, 5u}) {
    EXPECT_EQ(entries[i].Kind, &TJPEGImage::StaticClass());
    EXPECT_EQ(entries[i].DescText, "Fichier image JPEG");
    EXPECT_EQ(entries[i].TextResourceId, 0);
  }

  TPicture picture;
  for (const char* name : {"red-16x16.JPG", "red-16x16.Jpeg", "red-16x16.jpg"}) {
    // The container picks the kind by the extension as written.
    const std::string path = ::testing::TempDir() + name;
    const std::vector<uint8_t> file = ReadFileBytes(Fixture("red-16x16.jpg"));
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
    picture.LoadFile(path);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr) << name;
    std::remove(path.c_str());
  }

  StopJpegModule();
  EXPECT_EQ(FormatRegistry().Entries().size(), 4u);
  EXPECT_EQ(FormatRegistry().FindByExt("jpg"), nullptr);
  FreeFormatRegistry();
}

TEST_F(JPEGImageTest, DefaultPixelFormatFollowsTheScreenAtStartUp) {
  gdi::SetScreenBitsPerPixel(8);
  InitJpegSettings();
  EXPECT_EQ(TJPEGImage().PixelFormat(), TJPEGPixelFormat::jf8Bit);
  gdi::SetScreenBitsPerPixel(0);
  InitJpegSettings();
  TJPEGImage image;
  EXPECT_EQ(image.PixelFormat(), TJPEGPixelFormat::jf24Bit);
  EXPECT_EQ(image.EncodeQuality(), 90);
  EXPECT_TRUE(image.BlockSmoothing());
  EXPECT_FALSE(image.GreyOutput());
  EXPECT_EQ(image.Performance(), TJPEGPerformance::jpBestQuality);
  EXPECT_EQ(image.Scale(), TJPEGScale::jsFullSize);
  EXPECT_FALSE(image.ProgressiveDisplay());
}

// The data source on its own: blocks of 4096 bytes, an end marker after the data, an error
// on an input that has nothing at all.
class StreamSourceTest : public JpegTest {
 protected:
  void SetUp() override {
    d_.err = &error_.Manager;
    JpegGuarded(error_, [&] { jpeg_create_decompress(&d_); });
  }
  void TearDown() override {
    jpeg_destroy_decompress(&d_);
    JpegTest::TearDown();
  }
  size_t Fill() {
    JpegGuarded(error_, [&] { (*d_.src->fill_input_buffer)(&d_); });
    return d_.src->bytes_in_buffer;
  }
  JpegErrorState error_;
  jpeg_decompress_struct d_{};
};

TEST_F(StreamSourceTest, DeliversBlocksThenAnEndOfImageMarkerForEver) {
  std::vector<uint8_t> bytes(5000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  TMemoryStream stream(bytes);
  JpegGuarded(error_, [&] { AttachStreamSource(&d_, stream); });
  EXPECT_EQ(d_.src->bytes_in_buffer, 0u);
  EXPECT_EQ(d_.src->next_input_byte, nullptr);
  (*d_.src->init_source)(&d_);

  EXPECT_EQ(Fill(), 4096u);
  EXPECT_EQ(d_.src->next_input_byte[4095], bytes[4095]);
  EXPECT_EQ(Fill(), 904u);
  EXPECT_EQ(d_.src->next_input_byte[0], bytes[4096]);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(Fill(), 2u);
    EXPECT_EQ(d_.src->next_input_byte[0], 0xFF);
    EXPECT_EQ(d_.src->next_input_byte[1], 0xD9);
  }
}

TEST_F(StreamSourceTest, SkipCrossesBlocksAndEndsOnTheMarker) {
  std::vector<uint8_t> bytes(5000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
  TMemoryStream stream(bytes);
  JpegGuarded(error_, [&] { AttachStreamSource(&d_, stream); });
  (*d_.src->init_source)(&d_);
  Fill();
  JpegGuarded(error_, [&] { (*d_.src->skip_input_data)(&d_, 4100); });
  EXPECT_EQ(d_.src->next_input_byte[0], bytes[4100]);
  EXPECT_EQ(d_.src->bytes_in_buffer, 900u);
  JpegGuarded(error_, [&] { (*d_.src->skip_input_data)(&d_, 0); });
  EXPECT_EQ(d_.src->bytes_in_buffer, 900u);
  JpegGuarded(error_, [&] { (*d_.src->skip_input_data)(&d_, 901); });
  EXPECT_EQ(d_.src->bytes_in_buffer, 1u);
  EXPECT_EQ(d_.src->next_input_byte[0], 0xD9);
}

TEST_F(StreamSourceTest, EmptyInputIsTheLibrarysEmptyInputError) {
  TMemoryStream stream;
  JpegGuarded(error_, [&] { AttachStreamSource(&d_, stream); });
  (*d_.src->init_source)(&d_);
  try {
    Fill();
    FAIL() << "no error";
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Code(), JERR_INPUT_EMPTY);
  }
}

TEST_F(StreamSourceTest, AReattachedDecompressorKeepsItsSource) {
  TMemoryStream a(std::vector<uint8_t>(10, 1)), b(std::vector<uint8_t>(10, 2));
  JpegGuarded(error_, [&] { AttachStreamSource(&d_, a); });
  jpeg_source_mgr* first = d_.src;
  JpegGuarded(error_, [&] { AttachStreamSource(&d_, b); });
  EXPECT_EQ(d_.src, first);
  (*d_.src->init_source)(&d_);
  Fill();
  EXPECT_EQ(d_.src->next_input_byte[0], 2);
}

TEST(JpegErrorManagerTest, DropsWarningsAndRaisesErrorsWithTheLibrarysCode) {
  JpegErrorState state;
  jpeg_decompress_struct d{};
  d.err = &state.Manager;
  EXPECT_EQ(state.Manager.trace_level, 0);
  state.Manager.num_warnings = 3;
  state.Manager.msg_code = 9;
  (*state.Manager.emit_message)(reinterpret_cast<j_common_ptr>(&d), -1);
  (*state.Manager.output_message)(reinterpret_cast<j_common_ptr>(&d));
  (*state.Manager.reset_error_mgr)(reinterpret_cast<j_common_ptr>(&d));
  EXPECT_EQ(state.Manager.num_warnings, 0);
  EXPECT_EQ(state.Manager.msg_code, 0);

  try {
    JpegGuarded(state, [&] {
      d.err->msg_code = JERR_BAD_HUFF_TABLE;
      (*d.err->error_exit)(reinterpret_cast<j_common_ptr>(&d));
    });
    FAIL() << "no error";
  } catch (const EJPEG& e) {
    EXPECT_EQ(e.Code(), JERR_BAD_HUFF_TABLE);
    EXPECT_EQ(e.Message(), JpegErrorText(JERR_BAD_HUFF_TABLE));
  }
}

}  // namespace
