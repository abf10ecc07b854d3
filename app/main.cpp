// The program's entry: the application object, the main window, the message loop.

#include "platform/vcl/Application.h"
#include "test1/Form1.h"

int main(int argc, char** argv) {
  Application->Initialize(argc, argv);
  Application->SetIcon(":/MAINICON.png");
  Application->SetTitle("Mirelune");
  Application->CreateForm(Form1);
  // The about box (Form2) is created here, hidden, once it exists.
  Application->Run();
  Application->Shutdown();
  return 0;
}
