// The application object's handling of exceptions that leave an event handler, and the
// plain message dialog.

#include <QAbstractButton>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Button.h"
#include "platform/vcl/Form.h"

namespace {

struct Box {
  TMessageKind kind;
  std::string caption, text;
};

// Collects the message boxes instead of showing them.
class BoxCatcher {
 public:
  BoxCatcher() {
    saved_ = Application->MessageHook;
    Application->MessageHook = [this](TMessageKind k, const std::string& c, const std::string& t) {
      boxes.push_back({k, c, t});
    };
  }
  ~BoxCatcher() { Application->MessageHook = saved_; }
  std::vector<Box> boxes;

 private:
  std::function<void(TMessageKind, const std::string&, const std::string&)> saved_;
};

struct TextCase {
  const char* message;
  const char* shown;
};

class ExceptionBoxTextTest : public testing::TestWithParam<TextCase> {};

TEST_P(ExceptionBoxTextTest, PeriodOnlyAfterCodesAboveThePeriod) {
  EXPECT_EQ(ExceptionBoxText(GetParam().message), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, ExceptionBoxTextTest,
    testing::Values(TextCase{"Image bitmap incorrecte", "Image bitmap incorrecte."},  // letter
                    TextCase{"Erreur JPEG #42", "Erreur JPEG #42."},                  // digit
                    TextCase{"Fichier introuvable.", "Fichier introuvable."},         // period
                    TextCase{"Extension de fichier image inconnue (.txt)", "Extension de fichier image inconnue (.txt)"},
                    TextCase{"Attention!", "Attention!"},                       // '!' is below '.'
                    TextCase{"le fichier \"a\"", "le fichier \"a\""},          // quote
                    TextCase{"fin ", "fin "},                                   // blank
                    TextCase{"", ""},                                           // empty
                    TextCase{"ligne/", "ligne/."},                              // '/' is just above '.'
                    TextCase{"Accès refusé", "Accès refusé."}));                // last byte of a UTF-8 letter

TEST(HandleException, AbortIsSilentOthersShowACriticalBoxTitledWithTheApplication) {
  BoxCatcher catcher;
  Application->SetTitle("Mirelune");
  SafeCall([] { throw EAbort(); });
  SafeCall([] { throw EAbort("autre texte"); });
  EXPECT_TRUE(catcher.boxes.empty());

  SafeCall([] { throw EInvalidGraphic("Image bitmap incorrecte"); });
  SafeCall([] { throw std::runtime_error("plain"); });
  ASSERT_EQ(catcher.boxes.size(), 2u);
  EXPECT_EQ(catcher.boxes[0].kind, TMessageKind::Critical);
  EXPECT_EQ(catcher.boxes[0].caption, "Mirelune");
  EXPECT_EQ(catcher.boxes[0].text, "Image bitmap incorrecte.");
  EXPECT_EQ(catcher.boxes[1].text, "plain.");
}

TEST(HandleException, ShowMessageIsPlainAndKeepsTheText) {
  BoxCatcher catcher;
  Application->SetTitle("Mirelune");
  ShowMessage("Fichier d'aide introuvable");
  ASSERT_EQ(catcher.boxes.size(), 1u);
  EXPECT_EQ(catcher.boxes[0].kind, TMessageKind::Plain);
  EXPECT_EQ(catcher.boxes[0].caption, "Mirelune");
  EXPECT_EQ(catcher.boxes[0].text, "Fichier d'aide introuvable");
}

TEST(HandleException, FailingHandlersOfAFormAreShownAndTheFormGoesOn) {
  BoxCatcher catcher;
  struct Failing : TForm {
    explicit Failing(TComponent* owner) : TForm(owner) {
      OnCreate = [](TObject*) { throw Exception("création"); };
      OnShow = [](TObject*) { throw Exception("affichage"); };
      button = new TButton(this);
      button->SetParent(this);
      button->OnClick = [](TObject*) { throw Exception("clic"); };
      DoCreate();
      constructed = true;
    }
    TButton* button;
    bool constructed = false;
  };
  Failing form(nullptr);
  EXPECT_TRUE(form.constructed);
  form.Show();
  EXPECT_TRUE(form.Widget()->isVisible());
  static_cast<QAbstractButton*>(form.button->Widget())->click();
  ASSERT_EQ(catcher.boxes.size(), 3u);
  EXPECT_EQ(catcher.boxes[0].text, "création.");
  EXPECT_EQ(catcher.boxes[1].text, "affichage.");
  EXPECT_EQ(catcher.boxes[2].text, "clic.");
  form.Hide();
}

TEST(Application, RunShowsTheMainWindowAndEndsWhenItCloses) {
  TForm* main = nullptr;
  Application->CreateForm(main);  // the first window created: the main window
  ASSERT_EQ(Application->MainForm(), main);
  bool shownInLoop = false;
  int closes = 0;
  main->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  QTimer::singleShot(0, [&] {
    shownInLoop = main->Widget()->isVisible();
    main->Widget()->close();  // as the close box does
  });
  Application->Run();
  EXPECT_TRUE(shownInLoop);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(main->Widget()->isVisible());
  Application->ClearTerminated();
}

TEST(Application, ParamStrAnswersTheArgumentsAsGiven) {
  Application->SetCommandLine({"/usr/bin/mirelune", "/home/a b/c.jpg"});
  EXPECT_EQ(Application->ParamCount(), 1);
  EXPECT_EQ(Application->ParamStr(1), "/home/a b/c.jpg");
  EXPECT_EQ(Application->ParamStr(2), "");
  Application->SetCommandLine({"/usr/bin/mirelune"});
  EXPECT_EQ(Application->ParamStr(1), "");
}

}  // namespace
