// Every host test runs inside a Qt application, since the model needs an event loop for its
// queued results, and in English unless it switches the language. The widget programs run on
// Qt's offscreen platform, so they need no display; their icons come from the Adwaita theme and
// the application image from the icon the program installs.
#include <gtest/gtest.h>

#include <cstdlib>

#ifdef TESSEL_APPLICATION_ICON
#include <QApplication>
#include <QIcon>

#include "window/ThemeIcons.h"
#else
#include <QCoreApplication>
#endif

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::setenv("LANGUAGE", "en", 1);
#ifdef TESSEL_APPLICATION_ICON
  QApplication application(argc, argv);
  tessel::ThemeIcons::useFallbackTheme();
  QApplication::setWindowIcon(QIcon(QStringLiteral(TESSEL_APPLICATION_ICON)));
#else
  QCoreApplication application(argc, argv);
#endif
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
