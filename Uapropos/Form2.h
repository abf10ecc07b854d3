#pragma once
// The about box: the program's name, version and licence terms, the credit line with its
// date, a small picture and an "Ok" button.  Created hidden at start-up, shown modally.

#include <string>

#include "picture/Image.h"
#include "platform/vcl/Button.h"
#include "platform/vcl/Form.h"
#include "platform/vcl/Label.h"

class TForm2 : public TForm {
 public:
  explicit TForm2(TComponent* AOwner);

  std::string ClassName() const override { return "TForm2"; }

  TButton* Button1 = nullptr;
  TLabel* Label1 = nullptr;
  TImage* Image1 = nullptr;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
};

// The about box, set when it is created.
extern TForm2* Form2;

// The label's three lines: the program line, an empty line, the credit line and its date.
std::string AboutText(const std::string& creditLine);

// The offset that centres a box of size `inner` on a window of size `outer`: half the
// difference, rounded toward zero.
constexpr int CentringOffset(int outer, int inner) { return (outer - inner) / 2; }
