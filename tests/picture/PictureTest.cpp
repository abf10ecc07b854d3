// The picture container and the registry of extensions.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "picture/Bitmap.h"
#include "picture/FileFormatsList.h"
#include "picture/Icon.h"
#include "picture/Metafile.h"
#include "picture/Picture.h"
#include "platform/rtl/Exceptions.h"

namespace {

// A graphic kind for the tests: reads any file; "bad" content raises EInvalidGraphic.
class TTestGraphic : public TGraphic {
  MIRELUNE_GRAPHIC_KIND()

 public:
  void Render(gdi::TCanvas&, const TRect&) override {}
  bool IsEmpty() override { return bytes.empty(); }
  int32_t Width() override { return static_cast<int32_t>(bytes.size()); }
  int32_t Height() override { return 1; }
  void SetWidth(int32_t) override {}
  void SetHeight(int32_t) override {}
  void LoadStream(TStream& s) override {
    bytes = ReadRest(s);
    if (std::string(bytes.begin(), bytes.end()) == "bad") throw EInvalidGraphic("mauvais contenu");
  }
  void SaveStream(TStream& s) override { s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size())); }
  std::vector<uint8_t> bytes;
};
MIRELUNE_DEFINE_GRAPHIC_KIND(TTestGraphic, TGraphic)

class TDerivedTestGraphic : public TTestGraphic {
  MIRELUNE_GRAPHIC_KIND()
};
MIRELUNE_DEFINE_GRAPHIC_KIND(TDerivedTestGraphic, TTestGraphic)

class PictureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("mirelune-picture-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    RegisterFormat("tst", "test", TTestGraphic::StaticClass());
    picture_.OnChange = [this](TObject* sender) {
      ++changes_;
      EXPECT_EQ(sender, &picture_);
    };
  }
  void TearDown() override {
    UnregisterGraphicKind(TTestGraphic::StaticClass());
    std::filesystem::remove_all(dir_);
  }
  std::string Write(const std::string& name, const std::string& content) {
    const auto path = dir_ / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }

  std::filesystem::path dir_;
  TPicture picture_;
  int changes_ = 0;
};

TEST_F(PictureTest, BuiltInRowsComeFirstInOrder) {
  const auto& e = FormatRegistry().Entries();
  ASSERT_GE(e.size(), 4u);
  EXPECT_EQ(e[0].Ext, "wmf");
  EXPECT_EQ(e[0].DescText, "Métafichiers");
  EXPECT_EQ(e[0].Kind, &TMetafile::StaticClass());
  EXPECT_EQ(e[1].Ext, "emf");
  EXPECT_EQ(e[1].DescText, "Métafichiers évolués");
  EXPECT_EQ(e[2].Ext, "ico");
  EXPECT_EQ(e[2].Kind, &TIcon::StaticClass());
  EXPECT_EQ(e[3].Ext, "bmp");
  EXPECT_EQ(e[3].DescText, "Bitmaps");
  EXPECT_EQ(e[3].Kind, &TBitmap::StaticClass());
}

struct ExtCase {
  const char* name;
  const char* ext;
};

class ExtensionTest : public ::testing::TestWithParam<ExtCase> {};

TEST_P(ExtensionTest, TakesTextAfterLastDotUnlessASeparatorFollows) {
  EXPECT_EQ(GraphicExtension(GetParam().name), GetParam().ext);
}

INSTANTIATE_TEST_SUITE_P(Names, ExtensionTest,
                         ::testing::Values(ExtCase{"/p/a.JPG", "JPG"}, ExtCase{"/p/a.Jpeg", "Jpeg"},
                                           ExtCase{"a.txt", "txt"}, ExtCase{"/p/IMAGE.GIF", "GIF"},
                                           ExtCase{"/p/sans", ""}, ExtCase{"/p/fin.", ""},
                                           ExtCase{"/mes.photos/image", ""}, ExtCase{"c:image", ""},
                                           ExtCase{"vacances.2003.bmp", "bmp"}, ExtCase{"", ""}));

TEST_F(PictureTest, LookupLowersTheExtensionAndLaterRowsWin) {
  EXPECT_EQ(FormatRegistry().FindByExt("TST"), &TTestGraphic::StaticClass());
  EXPECT_EQ(FormatRegistry().FindByExt("BMP"), &TBitmap::StaticClass());
  EXPECT_EQ(FormatRegistry().FindByExt(""), nullptr);
  RegisterFormat("bmp", "override", TTestGraphic::StaticClass());
  EXPECT_EQ(FormatRegistry().FindByExt("bmp"), &TTestGraphic::StaticClass());
  FormatRegistry().RemoveKind(TTestGraphic::StaticClass());
  EXPECT_EQ(FormatRegistry().FindByExt("bmp"), &TBitmap::StaticClass());
}

TEST_F(PictureTest, FindByClassNameIsExact) {
  EXPECT_EQ(FormatRegistry().FindByClassName("TBitmap"), &TBitmap::StaticClass());
  EXPECT_EQ(FormatRegistry().FindByClassName("tbitmap"), nullptr);
}

TEST_F(PictureTest, RemoveKindRemovesDerivedKinds) {
  RegisterFormat("drv", "derived", TDerivedTestGraphic::StaticClass());
  ASSERT_EQ(FormatRegistry().FindByExt("drv"), &TDerivedTestGraphic::StaticClass());
  UnregisterGraphicKind(TTestGraphic::StaticClass());
  EXPECT_EQ(FormatRegistry().FindByExt("drv"), nullptr);
  EXPECT_EQ(FormatRegistry().FindByExt("tst"), nullptr);
  EXPECT_EQ(FormatRegistry().FindByExt("bmp"), &TBitmap::StaticClass());
}

struct UnknownCase {
  const char* file;
  const char* message;
};
class UnknownExtensionTest : public PictureTest, public ::testing::WithParamInterface<UnknownCase> {};

TEST_P(UnknownExtensionTest, RaisesWithTheExtensionAsWritten) {
  try {
    picture_.LoadFile(GetParam().file);
    FAIL() << "no exception";
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), GetParam().message);
  }
  EXPECT_EQ(changes_, 0);
  EXPECT_EQ(picture_.Graphic(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Names, UnknownExtensionTest,
    ::testing::Values(UnknownCase{"/x/notes.txt", "Extension de fichier image inconnue (.txt)"},
                      UnknownCase{"/x/ANIM.GIF", "Extension de fichier image inconnue (.GIF)"},
                      UnknownCase{"/x/sans", "Extension de fichier image inconnue (.)"},
                      UnknownCase{"/x/fin.", "Extension de fichier image inconnue (.)"},
                      UnknownCase{"/mes.photos/image", "Extension de fichier image inconnue (.)"},
                      UnknownCase{"", "Extension de fichier image inconnue (.)"}));

TEST_F(PictureTest, LoadsThroughTheRegisteredKindInAnyCase) {
  for (const char* name : {"a.tst", "b.TST", "c.Tst", "d.2003.tst"}) {
    picture_.LoadFile(Write(name, "abc"));
    ASSERT_NE(picture_.Graphic(), nullptr);
    EXPECT_EQ(&picture_.Graphic()->ClassType(), &TTestGraphic::StaticClass());
    EXPECT_EQ(picture_.Width(), 3);
  }
  EXPECT_EQ(changes_, 4);
}

TEST_F(PictureTest, FailedLoadKeepsThePreviousGraphicAndNotifiesNothing) {
  picture_.LoadFile(Write("good.tst", "good"));
  TGraphic* before = picture_.Graphic();
  changes_ = 0;

  EXPECT_THROW(picture_.LoadFile(Write("bad.tst", "bad")), EInvalidGraphic);
  EXPECT_EQ(picture_.Graphic(), before);

  const std::string missing = (dir_ / "absent.tst").string();
  try {
    picture_.LoadFile(missing);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(), "Impossible d'ouvrir le fichier " + missing);
  }
  EXPECT_EQ(picture_.Graphic(), before);
  EXPECT_EQ(changes_, 0);
}

TEST_F(PictureTest, AFolderIsNoFileToOpen) {
  std::filesystem::create_directories(dir_ / "dossier.tst");
  EXPECT_THROW(picture_.LoadFile((dir_ / "dossier.tst").string()), EFOpenError);
}

TEST_F(PictureTest, AssigningNoneToAnEmptyContainerNotifiesOnce) {
  picture_.SetGraphic(nullptr);
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(picture_.Graphic(), nullptr);
}

TEST_F(PictureTest, ProgressReachesTheOwnerUnchanged) {
  picture_.LoadFile(Write("p.tst", "x"));
  TObject* seen = nullptr;
  TRect seenRect{};
  int calls = 0;
  picture_.OnProgress = [&](TObject* s, TProgressStage st, uint8_t pct, bool redraw, const TRect& r,
                            const std::string& m) {
    ++calls;
    seen = s;
    seenRect = r;
    EXPECT_EQ(st, TProgressStage::Running);
    EXPECT_EQ(pct, 42);
    EXPECT_TRUE(redraw);
    EXPECT_EQ(m, "m");
  };
  TGraphic* g = picture_.Graphic();
  g->ReportProgress(g, TProgressStage::Running, 42, true, TRect{1, 2, 3, 4}, "m");
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(seen, g);
  EXPECT_EQ(seenRect, (TRect{1, 2, 3, 4}));
}

TEST_F(PictureTest, GraphicChangesReachTheOwnerWithTheContainerAsSender) {
  picture_.LoadFile(Write("c.tst", "x"));
  changes_ = 0;
  picture_.Graphic()->SetTransparent(true);
  EXPECT_EQ(changes_, 1);
  picture_.Graphic()->SetTransparent(true);  // same value: nothing
  EXPECT_EQ(changes_, 1);
}

TEST_F(PictureTest, StoredFormRoundTripsAndUnknownNamesLeaveItEmpty) {
  picture_.LoadFile(Write("s.tst", "hello"));
  TMemoryStream stored;
  picture_.WriteData(stored);
  EXPECT_EQ(stored.Bytes()[0], std::string("TTestGraphic").size());

  TPicture copy;
  stored.SetPosition(0);
  copy.ReadData(stored);
  ASSERT_NE(copy.Graphic(), nullptr);
  EXPECT_EQ(copy.Width(), 5);

  UnregisterGraphicKind(TTestGraphic::StaticClass());
  stored.SetPosition(0);
  copy.ReadData(stored);
  EXPECT_EQ(copy.Graphic(), nullptr);

  TMemoryStream empty;
  const uint8_t zero = 0;
  empty.WriteBuffer(&zero, 1);
  empty.SetPosition(0);
  copy.ReadData(empty);
  EXPECT_EQ(copy.Graphic(), nullptr);
}

}  // namespace
