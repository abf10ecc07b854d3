#include "Uapropos/Form2.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <cstring>
#include <sstream>
#include <vector>

#include "Uapropos/Nompas.h"
#include "picture/Bitmap.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Graphics.h"

namespace {

// One main window and one about box for the whole program, as in the viewer.
class AboutBoxTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!Application->MainForm()) {
      TForm* main = nullptr;
      Application->CreateForm(main);
      main->SetBounds(100, 80, 1150, 831);
    }
    if (!Form2) Application->CreateForm(Form2);
  }
  TForm& Main() { return *Application->MainForm(); }
};

// Presses Escape on the about box's button, which has the focus in a shown box (it is first
// in the tab order).  The key goes through the application's key handling as a typed one.
void PressEscape() {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, 0, 27, 0);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, 0, 27, 0);
  QCoreApplication::sendEvent(Form2->Button1->Widget(), &press);
  QCoreApplication::sendEvent(Form2->Button1->Widget(), &release);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

TEST_F(AboutBoxTest, TheWindowAndItsControlsHaveTheirDesign) {
  EXPECT_EQ(Form2->Caption(), "A Propos");
  EXPECT_EQ(Form2->BorderStyle(), TFormBorderStyle::bsToolWindow);
  EXPECT_EQ(Form2->ClientWidth(), 265);
  EXPECT_EQ(Form2->ClientHeight(), 103);
  EXPECT_FALSE(Form2->Visible());

  EXPECT_EQ(Form2->Label1->BoundsRect(), Rect(12, 11, 254, 51));
  EXPECT_EQ(Form2->Label1->Alignment(), TAlignment::taCenter);
  EXPECT_FALSE(Form2->Label1->AutoSize());
  EXPECT_FALSE(Form2->Label1->WordWrap());
  EXPECT_TRUE(Form2->Label1->Font().Bold());
  EXPECT_EQ(Form2->Label1->Font().Color(), vcl::clBlue);

  EXPECT_EQ(Form2->Button1->Caption(), "Ok");
  EXPECT_EQ(Form2->Button1->Hint(), "Ferme cette fenêtre.");
  EXPECT_TRUE(Form2->Button1->Cancel());
  EXPECT_EQ(Form2->Button1->ModalResult(), mrOk);
}

TEST_F(AboutBoxTest, TheLabelNamesTheProgramThenAnEmptyLineThenTheDatedCreditLine) {
  const auto lines = Lines(Form2->Label1->Caption());
  ASSERT_EQ(lines.size(), 3u) << Form2->Label1->Caption();
  EXPECT_NE(lines[0].find("Mirelune"), std::string::npos);
  EXPECT_TRUE(lines[1].empty());
  EXPECT_FALSE(CreditLine.empty()) << "built once, when the box was created";
  EXPECT_EQ(CreditLine, BuildCreditLine());
  EXPECT_EQ(lines[2], CreditLine + " novembre 2004.");
  // Each line fits the label: it is never wrapped, only centred.
  for (const auto& line : lines) EXPECT_LE(vcl::TextWidth(Form2->Label1->Font(), line), 242) << line;
}

TEST_F(AboutBoxTest, ThePictureIsKeptInTheContainersStoredForm) {
  QFile file(":/Uapropos/Image1.picture");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  ASSERT_GE(bytes.size(), 12);
  EXPECT_EQ(bytes[0], 7);
  EXPECT_EQ(bytes.mid(1, 7), QByteArray("TBitmap"));
  int32_t count = 0;
  std::memcpy(&count, bytes.constData() + 8, 4);
  EXPECT_EQ(count, 4854);
  EXPECT_EQ(bytes.size(), 12 + 4854);
  EXPECT_EQ(bytes.mid(12, 2), QByteArray("BM"));
}

TEST_F(AboutBoxTest, ThePictureIsA40By40BitmapDrawnWithoutItsBackground) {
  auto* bitmap = dynamic_cast<TBitmap*>(Form2->Image1->Picture().Graphic());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Width(), 40);
  EXPECT_EQ(bitmap->Height(), 40);
  EXPECT_EQ(bitmap->PixelFormat(), TPixelFormat::Bits24);
  EXPECT_TRUE(bitmap->Transparent());
  EXPECT_EQ(bitmap->TransparentColor() & 0xFFFFFF, gdi::RGB(255, 0, 255));
  EXPECT_EQ(Form2->Image1->BoundsRect(), Rect(219, 59, 259, 99));

  Form2->Image1->Invalidate();
  Form2->Image1->Update();
  const gdi::Dib& drawn = Form2->Image1->Surface();
  // The background (the bottom-left pixel's colour) is left out: the window's colour shows.
  EXPECT_EQ(drawn.PixelColor(0, 39), Form2->Color());
  EXPECT_EQ(drawn.PixelColor(2, 2), Form2->Color());
  // The moon is drawn.
  EXPECT_EQ(drawn.PixelColor(12, 22), gdi::RGB(255, 214, 64));
}

struct CentringCase {
  int MainLeft, MainTop, MainWidth, MainHeight;
};

class AboutBoxCentringTest : public AboutBoxTest, public testing::WithParamInterface<CentringCase> {};

TEST_P(AboutBoxCentringTest, ShowsCentredOnTheMainWindowWithTheHalvingRoundedTowardZero) {
  const CentringCase& c = GetParam();
  Main().SetBounds(c.MainLeft, c.MainTop, c.MainWidth, c.MainHeight);
  Form2->FormShow(Form2);
  const int dw = c.MainWidth - Form2->Width();
  const int dh = c.MainHeight - Form2->Height();
  EXPECT_EQ(Form2->Left(), c.MainLeft + dw / 2);
  EXPECT_EQ(Form2->Top(), c.MainTop + dh / 2);
}

INSTANTIATE_TEST_SUITE_P(Placements, AboutBoxCentringTest,
                         testing::Values(CentringCase{100, 80, 1150, 831}, CentringCase{-300, 700, 1150, 831},
                                         CentringCase{40, 40, 300, 200}));

TEST_F(AboutBoxTest, AMainWindowNarrowerByAnOddNumberOfPixelsRoundsTowardZero) {
  // 5 and 7 pixels smaller: -2 and -3, not -3 and -4.
  Main().SetBounds(500, 400, Form2->Width() - 5, Form2->Height() - 7);
  Form2->FormShow(Form2);
  EXPECT_EQ(Form2->Left(), 500 - 2);
  EXPECT_EQ(Form2->Top(), 400 - 3);
  // And one larger by an odd number: 7 gives 3.
  Main().SetBounds(500, 400, Form2->Width() + 7, Form2->Height() + 7);
  Form2->FormShow(Form2);
  EXPECT_EQ(Form2->Left(), 503);
  EXPECT_EQ(Form2->Top(), 403);
}

TEST_F(AboutBoxTest, ShowingModallyRecentresAfterTheMainWindowMovedAndEscapeClosesAsOk) {
  Main().Show();
  const TNotifyEvent formShow = Form2->OnShow;
  for (int left : {100, 420}) {
    Main().SetBounds(left, 60, 1150, 831);
    // What the show handler saw and did, read the moment it has run.
    int mainLeft = 0, mainWidth = 0, boxLeft = 0, boxWidth = 0;
    Form2->OnShow = [&](TObject* Sender) {
      formShow(Sender);
      mainLeft = Main().Left(), mainWidth = Main().Width();
      boxLeft = Form2->Left(), boxWidth = Form2->Width();
    };
    bool shown = false;
    QTimer::singleShot(0, [&] {
      shown = Form2->Visible();
      PressEscape();
    });
    EXPECT_EQ(Form2->ShowModal(), mrOk);
    EXPECT_TRUE(shown);
    EXPECT_EQ(boxLeft, mainLeft + (mainWidth - boxWidth) / 2);
    EXPECT_NEAR(boxLeft, left + (1150 - boxWidth) / 2, 4) << "follows the main window";
    EXPECT_FALSE(Form2->Visible());
  }
  Form2->OnShow = formShow;
  Main().Hide();
}

TEST_F(AboutBoxTest, TheCloseBoxEndsTheModalRunAsCancel) {
  QTimer::singleShot(0, [] { Form2->Close(); });
  EXPECT_EQ(Form2->ShowModal(), mrCancel);
  EXPECT_FALSE(Form2->Visible());
}

}  // namespace
