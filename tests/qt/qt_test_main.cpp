// The Qt tests need one QApplication for the whole run; without a display
// they use Qt's offscreen platform. Like the program, they start no session
// bus of their own.
#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/session_bus.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
  pellox::PreventSessionBusAutolaunch();
  QApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
