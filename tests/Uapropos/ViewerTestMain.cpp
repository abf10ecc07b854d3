// Test entry for the viewer's windows: the application object (and with it the toolkit)
// exists for the whole run; message boxes go to a hook that tests may replace.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include "platform/vcl/Application.h"
#include "tests/PrivateConfigFolder.h"

int main(int argc, char** argv) {
  // Windows shown and closed here keep their settings file out of the user's folder.
  const PrivateConfigFolder config;
  // Test discovery runs the binary at build time, without a display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  Application->Initialize(argc, argv);
  Application->SetTitle("Mirelune");
  Application->MessageHook = [](TMessageKind, const std::string& caption, const std::string& text) {
    ADD_FAILURE() << "unexpected message box \"" << caption << "\": " << text;
  };
  const int result = RUN_ALL_TESTS();
  Application->MessageHook = nullptr;
  Application->Shutdown();
  return result;
}
