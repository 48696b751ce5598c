// The real USB path's tests: restarted under umockdev's preload, then a QApplication on the
// offscreen platform for the window's scenarios, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>

#include "support/usb_bed.h"

int main(int argc, char** argv) {
  if (!qvr::test::RunUnderUmockdev(argc, argv)) return 1;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
