// Test entry for everything that builds windows: the application object (and with it the
// toolkit) exists for the whole run; message boxes go to a hook instead of the screen.

#include <QByteArray>
#include <QtGlobal>
#include <gtest/gtest.h>

#include "platform/vcl/Application.h"
#include "tests/PrivateConfigFolder.h"

int main(int argc, char** argv) {
  // Windows shown and closed here keep their settings file out of the user's folder.
  const PrivateConfigFolder config;
  testing::InitGoogleTest(&argc, argv);
  // Windows without a display unless a test run asks for one.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  Application->Initialize(argc, argv);
  Application->MessageHook = [](TMessageKind, const std::string& caption, const std::string& text) {
    ADD_FAILURE() << "unexpected message box \"" << caption << "\": " << text;
  };
  const int result = RUN_ALL_TESTS();
  Application->MessageHook = nullptr;
  Application->Shutdown();
  return result;
}
