#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/KeepBothName.h"

namespace tessel {
namespace {

// Numbers go before the extension the desktop would show; text after the last dot is not
// always an extension (hidden files, spaces, a trailing dot, bidirectional controls).
TEST(KeepBothNameTest, NumbersGoBeforeTheVisibleExtension) {
  for (const auto& [name, second] : std::vector<std::pair<std::string, std::string>>{
           {"archive.tar.gz", "archive.tar (2).gz"},
           {"README", "README (2)"},
           {"写真.jpeg", "写真 (2).jpeg"},
           {".bashrc", ".bashrc (2)"},
           {".config.json", ".config (2).json"},
           {"notes.final draft", "notes.final draft (2)"},
           {"ends with dot.", "ends with dot. (2)"},
           {"..hidden.txt", "..hidden.txt (2)"},
           {"name.\xE2\x80\x8Etxt", "name.\xE2\x80\x8Etxt (2)"},  // U+200E
           {"name.t\xD8\x9C", "name.t\xD8\x9C (2)"},              // U+061C
       }) {
    EXPECT_EQ(numberedName(splitPathExtension(name), 2), second);
  }
  EXPECT_EQ(numberedName(splitPathExtension("a.txt"), 13), "a (13).txt");
}

}  // namespace
}  // namespace tessel
