// The window tests run inside one application object, the program's own, so that
// errors leaving event handlers reach the general error display as they would there.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>

#include "app/QtServices.h"

int main(int argc, char** argv) {
  // No display is needed: the tests draw offscreen unless told otherwise.
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setStyle(QStringLiteral("Fusion"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
