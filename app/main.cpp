// The program's entry: the application object, the main window, the message loop.

#include "jpeg/JpegModule.h"
#include "Uapropos/Form2.h"
#include "platform/vcl/Application.h"
#include "test1/Form1.h"

int main(int argc, char** argv) {
  // First of all: the JPEG kind joins the picture registry (and leaves it at the end).
  const TJpegModule jpegModule;
  Application->Initialize(argc, argv);
  Application->SetIcon(":/MAINICON.png");
  Application->SetTitle("Mirelune");
  Application->CreateForm(Form1);
  Application->CreateForm(Form2);  // the about box, hidden until asked for
  Application->Run();
  Application->Shutdown();
  return 0;
}
