#include <gtest/gtest.h>

#include "engine/KeepBothName.h"

namespace tessel {
namespace {

std::string second(const std::string& name) {
  return numberedName(splitPathExtension(name), 2);
}

TEST(KeepBothNameTest, NumbersGoBeforeTheExtensionTheDesktopWouldShow) {
  EXPECT_EQ(second("report.pdf"), "report (2).pdf");
  EXPECT_EQ(second("archive.tar.gz"), "archive.tar (2).gz");
  EXPECT_EQ(second("README"), "README (2)");
  EXPECT_EQ(second("Photos"), "Photos (2)");
  EXPECT_EQ(second("写真.jpeg"), "写真 (2).jpeg");
  EXPECT_EQ(numberedName(splitPathExtension("a.txt"), 13), "a (13).txt");
}

TEST(KeepBothNameTest, TextAfterTheLastDotIsNotAlwaysAnExtension) {
  EXPECT_EQ(second(".bashrc"), ".bashrc (2)");
  EXPECT_EQ(second(".config.json"), ".config (2).json");
  EXPECT_EQ(second("notes.final draft"), "notes.final draft (2)");
  EXPECT_EQ(second("ends with dot."), "ends with dot. (2)");
  EXPECT_EQ(second("..hidden.txt"), "..hidden.txt (2)");
  EXPECT_EQ(second("name.\xE2\x80\x8Etxt"), "name.\xE2\x80\x8Etxt (2)");  // U+200E
  EXPECT_EQ(second("name.t\xD8\x9C"), "name.t\xD8\x9C (2)");              // U+061C
  EXPECT_EQ(second("name.\xE2\x81\xA9x"), "name.\xE2\x81\xA9x (2)");      // U+2069
}

}  // namespace
}  // namespace tessel
