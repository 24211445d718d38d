#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <map>
#include <tuple>

#include "ErrorText.h"
#include "TempFolder.h"
#include "platform/Platform.h"

namespace tessel {
namespace {

using ::testing::AllOf;
using testing::errorOf;
using ::testing::HasSubstr;

class PosixPlatformTest : public ::testing::Test {
 protected:
  Platform& platform = Platform::standard();
  testing::TempFolder folder;
};

// Moves and copies never replace a file or a folder (rename(2) would silently replace an empty
// one); a move keeps the item's identity; errors name both paths and the system's reason.
TEST_F(PosixPlatformTest, MovesAndCopiesNeverReplaceAndMovesKeepTheItem) {
  const std::string a = folder.file("a", "mine"), b = folder.file("b", "theirs");
  const std::string from = folder.folder("from"), empty = folder.folder("empty");
  const FileAttributes before = platform.attributesOfItem(a);
  for (const auto& [source, target] : {std::pair{a, b}, std::pair{from, empty}}) {
    EXPECT_THAT(errorOf([&] { platform.moveItem(source, target); }), HasSubstr("File exists"));
    EXPECT_THAT(errorOf([&] { platform.copyItem(source, target); }), HasSubstr("File exists"));
  }
  EXPECT_EQ(platform.readFile(a) + platform.readFile(b), "minetheirs");
  EXPECT_TRUE(platform.fileExists(from));
  platform.moveItem(a, folder.at("c"));
  EXPECT_FALSE(platform.fileExists(a));
  const FileAttributes after = platform.attributesOfItem(folder.at("c"));
  EXPECT_EQ(std::tie(before.device, before.inode, before.birthTime),
            std::tie(after.device, after.inode, after.birthTime));
  EXPECT_EQ(platform.readFile(folder.at("c")), "mine");
  const std::string missing = folder.at("missing"), target = folder.at("target");
  EXPECT_THAT(errorOf([&] { platform.moveItem(missing, target); }),
              AllOf(HasSubstr(missing), HasSubstr(target), HasSubstr("No such file or directory")));
}

// Probes describe a link itself, dangling or not; folders are made with their mode and never
// over a file; trees copy with their links, and writes leave no temporary file to copy.
TEST_F(PosixPlatformTest, LinksFoldersAndTreesBehaveAsTheEngineAssumes) {
  const std::string dangling = folder.link("nowhere", "dangling");
  EXPECT_EQ(platform.probeItem(dangling)->type, FileType::symbolicLink);
  EXPECT_FALSE(platform.fileExists(dangling));
  platform.createDirectories(folder.at("tree/sub"), 0700);
  platform.writeFileAtomically(folder.at("tree/one"), "1", Durability::durable);
  struct stat st;
  ASSERT_EQ(::stat(folder.at("tree/sub").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_THAT(errorOf([&] { platform.createDirectories(folder.at("tree/one"), 0755); }),
              HasSubstr("Not a directory"));
  folder.link("one", "tree/sub/link");
  platform.copyItem(folder.at("tree"), folder.at("copy"));
  EXPECT_EQ(platform.readSymbolicLink(folder.at("copy/sub/link")), "one");
  std::map<std::string, FileType> types;
  for (const DirectoryEntry& entry : platform.contentsOfDirectory(folder.at("copy")))
    types[entry.name] = entry.type;
  EXPECT_EQ(types, (std::map<std::string, FileType>{{"one", FileType::regular},
                                                    {"sub", FileType::directory}}));
}

}  // namespace
}  // namespace tessel
