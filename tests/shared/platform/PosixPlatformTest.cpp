#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <map>

#include "ErrorText.h"
#include "TempFolder.h"
#include "core/Errors.h"
#include "platform/Platform.h"

namespace tessel {
namespace {

class PosixPlatformTest : public ::testing::Test {
 protected:
  Platform& platform = Platform::standard();
  testing::TempFolder folder;

  int codeOf(const std::function<void()>& call) {
    try {
      call();
    } catch (const PlatformError& error) {
      return error.code();
    }
    return 0;
  }
};

TEST_F(PosixPlatformTest, MovesNeverReplaceAFileOrAFolder) {
  const std::string a = folder.file("a", "mine");
  const std::string b = folder.file("b", "theirs");
  EXPECT_EQ(codeOf([&] { platform.moveItem(a, b); }), EEXIST);
  EXPECT_EQ(platform.readFile(a), "mine");
  EXPECT_EQ(platform.readFile(b), "theirs");

  // rename(2) would silently replace an empty folder; a move must not.
  const std::string from = folder.folder("from");
  const std::string empty = folder.folder("empty");
  EXPECT_EQ(codeOf([&] { platform.moveItem(from, empty); }), EEXIST);
  EXPECT_TRUE(platform.fileExists(from));

  platform.moveItem(a, folder.at("c"));
  EXPECT_FALSE(platform.fileExists(a));
  EXPECT_EQ(platform.readFile(folder.at("c")), "mine");

  // Errors name both paths and the system's reason.
  const std::string missing = folder.at("missing"), target = folder.at("target");
  const std::string text = testing::errorOf([&] { platform.moveItem(missing, target); });
  for (const std::string& part : {missing, target, std::string("No such file or directory")}) {
    EXPECT_NE(text.find(part), std::string::npos) << text;
  }
}

TEST_F(PosixPlatformTest, AttributesDescribeTheItemItselfAndSurviveAMove) {
  const std::string file = folder.file("f", "x");
  ASSERT_EQ(::symlink("f", folder.at("link").c_str()), 0);
  const FileAttributes before = platform.attributesOfItem(file);
  EXPECT_EQ(before.type, FileType::regular);
  EXPECT_EQ(platform.attributesOfItem(folder.at("link")).type, FileType::symbolicLink);
  ASSERT_EQ(::symlink("nowhere", folder.at("dangling").c_str()), 0);
  EXPECT_NO_THROW(platform.attributesOfItem(folder.at("dangling")));
  EXPECT_FALSE(platform.fileExists(folder.at("dangling")));
  // The probe sees what attributesOfItem sees, and answers "none" where it would throw.
  EXPECT_EQ(platform.probeItem(folder.at("link"))->type, FileType::symbolicLink);
  EXPECT_TRUE(platform.probeItem(folder.at("dangling")).has_value());
  EXPECT_FALSE(platform.probeItem(folder.at("missing")).has_value());
  EXPECT_FALSE(platform.probeItem(folder.at("f/below a file")).has_value());

  platform.moveItem(file, folder.at("g"));
  const FileAttributes after = platform.attributesOfItem(folder.at("g"));
  EXPECT_EQ(before.device, after.device);
  EXPECT_EQ(before.inode, after.inode);
  EXPECT_EQ(before.birthTime, after.birthTime);
}

TEST_F(PosixPlatformTest, AtomicWritesReplaceWholeAndLeaveNoTemporaryFiles) {
  const std::string path = folder.at("settings.json");
  platform.writeFileAtomically(path, "first", Durability::durable);
  platform.writeFileAtomically(path, "second", Durability::atomic);
  EXPECT_EQ(platform.readFile(path), "second");
  EXPECT_EQ(platform.contentsOfDirectory(folder.path()).size(), 1u);

  EXPECT_EQ(codeOf([&] {
              platform.writeFileAtomically(folder.at("no/such/folder/f"), "x", Durability::durable);
            }),
            ENOENT);
}

TEST_F(PosixPlatformTest, CreatingFoldersMakesEveryMissingOneButNotOverAFile) {
  platform.createDirectories(folder.at("a/b/c"), 0700);
  platform.createDirectories(folder.at("a/b/c"), 0700);
  struct stat st;
  ASSERT_EQ(::stat(folder.at("a/b/c").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  folder.file("plain");
  EXPECT_EQ(codeOf([&] { platform.createDirectories(folder.at("plain"), 0755); }), ENOTDIR);
  EXPECT_NE(codeOf([&] { platform.createDirectories(folder.at("plain/sub"), 0755); }), 0);
}

TEST_F(PosixPlatformTest, CopiesAndRemovesWholeTrees) {
  folder.file("tree/one", "1");
  folder.file("tree/sub/two", "2");
  ASSERT_EQ(::symlink("one", folder.at("tree/link").c_str()), 0);
  platform.copyItem(folder.at("tree"), folder.at("copy"));
  EXPECT_EQ(platform.readFile(folder.at("copy/sub/two")), "2");
  EXPECT_EQ(platform.readSymbolicLink(folder.at("copy/link")), "one");
  EXPECT_EQ(codeOf([&] { platform.copyItem(folder.at("tree"), folder.at("copy")); }), EEXIST);
  EXPECT_EQ(codeOf([&] { platform.copyItem(folder.at("tree/sub/two"), folder.at("copy/one")); }),
            EEXIST);
  EXPECT_EQ(platform.readFile(folder.at("copy/one")), "1");

  platform.removeItem(folder.at("tree"));
  EXPECT_FALSE(platform.fileExists(folder.at("tree")));
  std::map<std::string, FileType> types;
  for (const DirectoryEntry& entry : platform.contentsOfDirectory(folder.at("copy"))) {
    types[entry.name] = entry.type;
  }
  EXPECT_EQ(types, (std::map<std::string, FileType>{{"link", FileType::symbolicLink},
                                                    {"one", FileType::regular},
                                                    {"sub", FileType::directory}}));
}

}  // namespace
}  // namespace tessel
