#include "Uapropos/Form2.h"

#include <QFile>

#include <vector>

#include "Uapropos/Nompas.h"
#include "platform/rtl/Stream.h"
#include "platform/vcl/Application.h"
#include "platform/vcl/Graphics.h"

#ifndef MIRELUNE_VERSION
#define MIRELUNE_VERSION "0"
#endif

TForm2* Form2 = nullptr;

namespace {

// The picture kept in the window's design, in the container's stored form.
void LoadDesignPicture(TPicture& picture) {
  QFile file(QStringLiteral(":/Uapropos/Image1.picture"));
  if (!file.open(QIODevice::ReadOnly)) return;
  const QByteArray bytes = file.readAll();
  TMemoryStream stream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  picture.ReadData(stream);
}

}  // namespace

std::string AboutText(const std::string& creditLine) {
  return "Mirelune " MIRELUNE_VERSION " - graticiel, copie libre\r\n\r\n" + creditLine + " novembre 2004.";
}

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner) {
  Form2 = this;
  SetName("Form2");
  SetCaption("A Propos");
  SetBorderStyle(TFormBorderStyle::bsToolWindow);
  SetClientWidth(265);
  SetClientHeight(103);
  SetColor(vcl::clBtnFace);
  Font().SetName("MS Sans Serif");
  Font().SetHeight(-11);
  Font().SetCharset(TFontCharset::DEFAULT_CHARSET);
  Font().SetColor(vcl::clWindowText);
  SetShowHint(true);

  Label1 = new TLabel(this);  // owned by the window
  Label1->SetName("Label1");
  Label1->SetAutoSize(false);
  Label1->SetBounds(12, 11, 242, 40);
  Label1->SetAlignment(TAlignment::taCenter);
  Label1->SetWordWrap(false);
  Label1->SetParentFont(false);
  Label1->Font().SetName("MS Sans Serif");
  Label1->Font().SetHeight(-11);
  Label1->Font().SetBold(true);
  Label1->Font().SetColor(vcl::clBlue);
  Label1->Font().SetCharset(TFontCharset::DEFAULT_CHARSET);
  Label1->SetParent(this);

  Image1 = new TImage(this);  // owned by the window
  Image1->SetName("Image1");
  Image1->SetBounds(219, 59, 40, 40);
  Image1->SetParent(this);
  Image1->SetLoading(true);  // being read from the design: no palette work yet
  Image1->SetAutoSize(true);
  Image1->SetTransparent(true);
  LoadDesignPicture(Image1->Picture());
  Image1->SetLoading(false);

  Button1 = new TButton(this);  // owned by the window
  Button1->SetName("Button1");
  Button1->SetBounds(95, 70, 75, 25);
  Button1->SetCaption("Ok");
  Button1->SetHint("Ferme cette fenêtre.");
  Button1->SetCancel(true);
  Button1->SetModalResult(mrOk);
  Button1->SetTabOrder(0);
  Button1->SetParent(this);

  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  DoCreate();
}

void TForm2::FormCreate(TObject*) {
  CreditLine = BuildCreditLine();
  Label1->SetCaption(AboutText(CreditLine));
}

void TForm2::FormShow(TObject*) {
  // Centred on the main window, wherever it stands now.
  const TForm* main = Application->MainForm();
  if (!main || main == this) return;
  SetBounds(main->Left() + CentringOffset(main->Width(), Width()), main->Top() + CentringOffset(main->Height(), Height()),
            Width(), Height());
}
