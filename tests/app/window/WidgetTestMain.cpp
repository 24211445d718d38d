// Widget tests run on Qt's offscreen platform, so they need no display; the icons come from
// the Adwaita theme and the application image from the icon the program installs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <cstdlib>

#include "window/ThemeIcons.h"

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("LANGUAGE", "en", 1);
  QApplication application(argc, argv);
  tessel::ThemeIcons::useFallbackTheme();
  QApplication::setWindowIcon(QIcon(QStringLiteral(TESSEL_APPLICATION_ICON)));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
