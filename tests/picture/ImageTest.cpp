// The image view: target rectangles, the paint rules (painting flag, no invalidation while
// painting, direct paints that reach the screen at once), progress forwarding, the
// palette check and automatic sizing.

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

#include "picture/Image.h"
#include "platform/gdi/DeviceCaps.h"
#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Form.h"

namespace {

// A graphic that fills its rectangle with one colour and can act during its own drawing.
class TFakeGraphic : public TGraphic {
  MIRELUNE_GRAPHIC_KIND()
 public:
  std::string ClassName() const override { return "TFakeGraphic"; }
  void CopyFrom(const TPersistent& source) override {
    const auto& s = static_cast<const TFakeGraphic&>(source);
    w = s.w;
    h = s.h;
    color = s.color;
  }
  void Render(gdi::TCanvas& canvas, const TRect& rect) override {
    ++renders;
    canvas.FillRect(rect, color);
    if (duringRender && depth == 0) {
      ++depth;
      struct Leave {
        int& d;
        ~Leave() { --d; }
      } leave{depth};
      duringRender(*this);
    }
  }
  bool IsEmpty() override { return w == 0 || h == 0; }
  int32_t Width() override { return w; }
  int32_t Height() override { return h; }
  void SetWidth(int32_t v) override { w = v; }
  void SetHeight(int32_t v) override { h = v; }
  gdi::HPALETTE Palette() override { return palette; }
  void LoadStream(TStream&) override {}
  void SaveStream(TStream&) override {}

  int32_t w = 0, h = 0;
  gdi::COLORREF color = gdi::RGB(200, 0, 0);
  gdi::HPALETTE palette;
  std::function<void(TFakeGraphic&)> duringRender;
  int renders = 0;
  int depth = 0;
};
MIRELUNE_DEFINE_GRAPHIC_KIND(TFakeGraphic, TGraphic)

struct TargetCase {
  int32_t w, h, cw, ch;
  bool stretch, proportional, center;
  TRect expected;
};

class TargetRectTest : public testing::TestWithParam<TargetCase> {};

TEST_P(TargetRectTest, GivesTheRectangle) {
  const TargetCase& c = GetParam();
  EXPECT_EQ(ImageTargetRect(c.w, c.h, c.cw, c.ch, c.stretch, c.proportional, c.center), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TargetRectTest,
    testing::Values(
        // Main window: proportional, shrunk only when too big, at the top-left corner.
        TargetCase{1600, 1200, 994, 764, false, true, false, Rect(0, 0, 994, 745)},
        TargetCase{1200, 1600, 994, 764, false, true, false, Rect(0, 0, 573, 764)},
        TargetCase{800, 600, 994, 764, false, true, false, Rect(0, 0, 800, 600)},
        TargetCase{1000, 1000, 994, 764, false, true, false, Rect(0, 0, 764, 764)},  // square: h >= w branch
        TargetCase{3000, 100, 994, 764, false, true, false, Rect(0, 0, 994, 33)},
        // Extended precision: 378 / 1.05 just below 360 (plain doubles round it to 360).
        TargetCase{1008, 960, 378, 400, false, true, false, Rect(0, 0, 378, 359)},
        // Wider than the view but taller in shape than the view: the second step clamps.
        TargetCase{1000, 900, 994, 764, false, true, false, Rect(0, 0, 848, 764)},
        TargetCase{700, 800, 994, 764, false, true, false, Rect(0, 0, 668, 764)},  // only too tall
        // Stretching.
        TargetCase{300, 200, 994, 764, true, true, false, Rect(0, 0, 994, 662)},
        TargetCase{300, 200, 994, 764, true, false, false, Rect(0, 0, 994, 764)},
        // Centring, also to the left of the view.
        TargetCase{800, 600, 994, 764, false, false, true, Rect(97, 82, 897, 682)},
        TargetCase{1000, 300, 994, 764, false, false, true, Rect(-3, 232, 997, 532)},
        TargetCase{1001, 300, 994, 764, false, false, true, Rect(-3, 232, 998, 532)},  // -3.5 truncates to -3
        // About box: own size at the corner; empty pictures.
        TargetCase{40, 40, 40, 40, false, false, false, Rect(0, 0, 40, 40)},
        TargetCase{0, 0, 994, 764, false, true, false, Rect(0, 0, 0, 0)},
        TargetCase{0, 0, 994, 764, true, true, false, Rect(0, 0, 994, 764)},
        TargetCase{0, 0, 994, 764, false, false, true, Rect(497, 382, 497, 382)}));

// A shown window with the view docked in it, as the main window has it.
class ImageViewTest : public testing::Test {
 protected:
  ImageViewTest() : form(nullptr) {
    form.SetClientWidth(400);
    form.SetClientHeight(300);
    form.SetColor(gdi::RGB(10, 20, 30));
    view = new TImage(&form);  // owned by the form
    view->SetBounds(50, 40, 200, 100);
    view->SetParent(&form);
    view->SetProportional(true);
  }
  ~ImageViewTest() override { Application->MessageHook = nullptr; }

  void ShowForm() {
    form.Show();
    QApplication::processEvents();
  }
  // Puts a fake graphic of that size into the view and answers the view's own copy.
  TFakeGraphic& Load(int32_t w, int32_t h) {
    TFakeGraphic proto;
    proto.w = w;
    proto.h = h;
    view->Picture().SetGraphic(&proto);
    return static_cast<TFakeGraphic&>(*view->Picture().Graphic());
  }
  // The colour the screen shows at a point of the view.
  QColor ScreenAt(int x, int y) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint at = view->Widget()->mapToGlobal(QPoint(x, y));
    const QImage shot = screen->grabWindow(0, at.x(), at.y(), 1, 1).toImage();
    return shot.isNull() ? QColor() : shot.pixelColor(0, 0);
  }
  static uint32_t Pixel(const gdi::Dib& surface, int x, int y) { return surface.PixelColor(x, y); }

  TForm form;
  TImage* view;
};

TEST_F(ImageViewTest, TargetRectUsesTheViewsClientSize) {
  Load(1600, 1200);
  EXPECT_EQ(view->TargetRect(), Rect(0, 0, 133, 100));
  view->SetWidth(994);
  view->SetHeight(764);
  EXPECT_EQ(view->TargetRect(), Rect(0, 0, 994, 745));
}

TEST_F(ImageViewTest, PaintCycleShowsThePictureOverTheParentsColour) {
  ShowForm();
  Load(20, 10);
  ASSERT_TRUE(view->PaintScheduled());  // a change asks for a repaint
  view->Update();
  const gdi::Dib& s = view->Surface();
  EXPECT_EQ(Pixel(s, 0, 0), gdi::RGB(200, 0, 0));
  EXPECT_EQ(Pixel(s, 19, 9), gdi::RGB(200, 0, 0));
  EXPECT_EQ(Pixel(s, 20, 0), gdi::RGB(10, 20, 30));  // outside the target: the parent's colour
  EXPECT_EQ(Pixel(s, 0, 10), gdi::RGB(10, 20, 30));
  EXPECT_EQ(ScreenAt(5, 5), QColor(200, 0, 0));
  EXPECT_EQ(ScreenAt(150, 50), QColor(10, 20, 30));

  // An emptied container paints nothing: all background.
  view->Picture().SetGraphic(nullptr);
  view->Update();
  EXPECT_EQ(Pixel(view->Surface(), 0, 0), gdi::RGB(10, 20, 30));
  EXPECT_EQ(ScreenAt(5, 5), QColor(10, 20, 30));
  form.Hide();
}

TEST_F(ImageViewTest, DirectPaintDuringAReportReachesTheScreenWhilePainting) {
  ShowForm();
  TFakeGraphic& g = Load(20, 10);
  view->Update();
  view->SetIncrementalDisplay(true);
  g.color = gdi::RGB(0, 180, 0);
  int reports = 0;
  view->OnProgress = [&](TObject* sender, TProgressStage stage, uint8_t percent, bool redraw, const TRect& r,
                         const std::string& m) {
    ++reports;
    EXPECT_EQ(sender, &g);
    EXPECT_EQ(stage, TProgressStage::Running);
    EXPECT_EQ(percent, 40);
    EXPECT_TRUE(redraw);
    EXPECT_EQ(r, Rect(1, 2, 3, 4));
    EXPECT_EQ(m, "msg");
    // The view painted for the report before passing it on, and it is on the screen now.
    EXPECT_TRUE(view->Painting());
    EXPECT_EQ(ScreenAt(5, 5), QColor(0, 180, 0));
  };
  int presentsInReport = 0;
  g.duringRender = [&](TFakeGraphic& self) {
    const int before = view->Presents();
    self.NotifyChanged(&self);  // a graphic that changes itself while drawing
    self.ReportProgress(&self, TProgressStage::Running, 40, true, Rect(1, 2, 3, 4), "msg");
    presentsInReport = view->Presents() - before;
    EXPECT_FALSE(view->PaintScheduled());  // nothing invalidated while painting
  };
  view->Invalidate();
  view->Update();
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(presentsInReport, 1);
  EXPECT_EQ(g.renders, 3);  // the first cycle, then the cycle and its nested direct paint
  EXPECT_FALSE(view->Painting());
  EXPECT_FALSE(view->PaintScheduled());
  form.Hide();
}

TEST_F(ImageViewTest, ReportsPaintOnlyWithIncrementalDisplayAndRedrawNow) {
  ShowForm();
  TFakeGraphic& g = Load(20, 10);
  view->Update();
  int reports = 0;
  view->OnProgress = [&](TObject*, TProgressStage, uint8_t, bool, const TRect&, const std::string&) { ++reports; };
  const int renders = g.renders;
  g.ReportProgress(&g, TProgressStage::Starting, 0, true, TRect{}, "");
  view->SetIncrementalDisplay(true);
  EXPECT_FALSE(view->PaintScheduled());  // the flag alone repaints nothing
  g.ReportProgress(&g, TProgressStage::Running, 50, false, TRect{}, "");
  EXPECT_EQ(g.renders, renders);
  EXPECT_EQ(reports, 2);
  g.ReportProgress(&g, TProgressStage::Ending, 100, true, TRect{}, "");
  EXPECT_EQ(g.renders, renders + 1);
  EXPECT_EQ(reports, 3);
  form.Hide();
}

TEST_F(ImageViewTest, RenderFailureRestoresPaintingAndReachesTheBox) {
  TFakeGraphic& g = Load(20, 10);
  g.duringRender = [](TFakeGraphic&) { throw EInvalidGraphic("Image bitmap incorrecte"); };
  EXPECT_THROW(view->PaintView(), EInvalidGraphic);
  EXPECT_FALSE(view->Painting());

  std::vector<std::string> boxes;
  Application->MessageHook = [&](TMessageKind, const std::string&, const std::string& text) { boxes.push_back(text); };
  view->Invalidate();
  view->Update();
  EXPECT_EQ(boxes, (std::vector<std::string>{"Image bitmap incorrecte."}));
  EXPECT_FALSE(view->PaintScheduled());  // no endless repaint
}

TEST_F(ImageViewTest, PictureChangesSetTransparencyAndOpacity) {
  view->SetTransparent(true);
  TFakeGraphic& g = Load(20, 10);
  EXPECT_TRUE(g.Transparent());
  view->SetTransparent(false);
  EXPECT_FALSE(g.Transparent());
  EXPECT_FALSE(view->Opaque());  // proportional
  view->SetProportional(false);
  view->SetStretch(true);
  EXPECT_TRUE(view->Opaque());
  view->Picture().SetGraphic(nullptr);
  EXPECT_FALSE(view->Opaque());
}

TEST_F(ImageViewTest, AutoSizeTakesThePicturesSize) {
  view->SetAutoSize(true);
  Load(40, 30);
  EXPECT_EQ(view->BoundsRect(), Rect(50, 40, 90, 70));
  view->SetAutoSize(false);
  Load(10, 10);
  EXPECT_EQ(view->BoundsRect(), Rect(50, 40, 90, 70));
  int w = 1, h = 2;
  view->SetAlign(TAlign::alTop);
  view->CanAutoSize(w, h);
  EXPECT_EQ(w, 1);  // docked at the top: only the height follows the picture
  EXPECT_EQ(h, 10);
}

TEST_F(ImageViewTest, PaletteCheckAsksTheActiveWindowOnce) {
  TFakeGraphic& g = Load(20, 10);
  g.SetPaletteDirty(true);
  EXPECT_FALSE(view->CheckPaletteChange());  // no palette: the flag is cleared
  EXPECT_FALSE(g.PaletteDirty());

  g.palette = gdi::CreateHalftonePalette();
  g.SetPaletteDirty(true);
  EXPECT_FALSE(view->CheckPaletteChange());  // the window is not active: try again later
  EXPECT_TRUE(g.PaletteDirty());

  ShowForm();
  form.Widget()->activateWindow();
  QApplication::setActiveWindow(form.Widget());
  QApplication::processEvents();
  if (!form.Active()) GTEST_SKIP() << "the platform did not activate the window";
  EXPECT_TRUE(view->CheckPaletteChange());
  EXPECT_FALSE(g.PaletteDirty());
  EXPECT_FALSE(view->CheckPaletteChange());

  // On an 8-bit screen, realising a new palette changes the colours and repaints the view.
  gdi::SetScreenBitsPerPixel(8);
  view->Update();
  EXPECT_TRUE(view->PaletteChanged(true));
  EXPECT_TRUE(view->PaintScheduled());
  EXPECT_FALSE(view->PaletteChanged(true));  // the same palette again
  gdi::SetScreenBitsPerPixel(0);
  EXPECT_FALSE(view->PaletteChanged(true));
  form.Hide();
}

}  // namespace
