// The model needs an event loop for its queued results, so every test runs inside a
// QCoreApplication. English is the default language; tests of Japanese texts switch it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <cstdlib>

int main(int argc, char** argv) {
  ::setenv("LANGUAGE", "en", 1);
  QCoreApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
