#include "path/PathSafety.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "TempFolder.h"
#include "path/PathText.h"

namespace tessel {
namespace {

using PathSafety::canonical;
using PathSafety::contains;

TEST(PathText, StandardisesLexically) {
  EXPECT_EQ(standardizedPath("/a//b/./c/"), "/a/b/c");
  EXPECT_EQ(standardizedPath("/a/b/../c"), "/a/c");
  EXPECT_EQ(standardizedPath("/../.."), "/");
  EXPECT_EQ(standardizedPath("a/../../b"), "../b");
  EXPECT_EQ(standardizedPath("../../b"), "../../b");
  EXPECT_EQ(parentPath("/a"), "/");
  EXPECT_EQ(parentPath("/a/b/"), "/a");
  EXPECT_EQ(lastComponent("/a/b/"), "b");
  EXPECT_EQ(joinPath("/", "a"), "/a");
  EXPECT_EQ(joinPath("/x/", "a"), "/x/a");
}

TEST(PathSafety, ContainmentIsComponentWiseOnWrittenPathsWhenNothingExists) {
  const std::string base = "/nonexistent-tessel-root";
  EXPECT_TRUE(contains(base + "/a/b", base + "/a/b"));
  EXPECT_TRUE(contains(base + "/a/b", base + "/a/b/c/d"));
  EXPECT_FALSE(contains(base + "/a/b", base + "/a/bc"));
  EXPECT_FALSE(contains(base + "/a/b/c", base + "/a/b"));
  EXPECT_TRUE(contains(base + "/a/b/", base + "/a/b/c"));
  EXPECT_TRUE(contains(base + "/a//b", base + "/a/b/./c"));
  EXPECT_FALSE(contains(base + "/a/b", base + "/a/b/../c"));
}

TEST(PathSafety, TheRootContainsEveryAbsolutePath) {
  EXPECT_TRUE(contains("/", "/anything/at/all"));
  EXPECT_TRUE(contains("//", "/x"));
  EXPECT_FALSE(contains("/", "relative/path"));
}

class PathSafetyOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    // The temporary folder itself may sit behind a link (/tmp on some systems).
    root = canonical(folder.path());
    folder.folder("x");
    folder.folder("y");
    folder.file("y/file");
    ASSERT_EQ(::symlink((root + "/y").c_str(), (root + "/x/link").c_str()), 0);
  }
  testing::TempFolder folder;
  std::string root;
};

TEST_F(PathSafetyOnDisk, LinksAreResolvedBeforeContainmentIsJudged) {
  EXPECT_EQ(canonical(root + "/x/link/file"), root + "/y/file");
  EXPECT_TRUE(contains(root + "/x/link", root + "/y/file"));
  EXPECT_FALSE(contains(root + "/x", root + "/x/link/file"));
  EXPECT_TRUE(contains(root + "/y", root + "/x/link/missing/deeper"));
  // The missing tail is kept as written.
  EXPECT_EQ(canonical(root + "/x/link/not here/yet"), root + "/y/not here/yet");
}

TEST_F(PathSafetyOnDisk, RelativeAndLoopingLinksResolveWithoutHanging) {
  ASSERT_EQ(::symlink("../y", (root + "/x/up").c_str()), 0);
  EXPECT_EQ(canonical(root + "/x/up/file"), root + "/y/file");
  ASSERT_EQ(::symlink("loop2", (root + "/loop1").c_str()), 0);
  ASSERT_EQ(::symlink("loop1", (root + "/loop2").c_str()), 0);
  const std::string looped = canonical(root + "/loop1/inside");
  EXPECT_FALSE(contains(root + "/y", looped));
  // Like the kernel, it follows 40 links at most: the 41st of a chain is kept as written.
  for (int i = 1; i <= 41; ++i) {
    const std::string target = i == 41 ? "y" : "c" + std::to_string(i + 1);
    ASSERT_EQ(::symlink(target.c_str(), (root + "/c" + std::to_string(i)).c_str()), 0);
  }
  EXPECT_EQ(canonical(root + "/c2/file"), root + "/y/file");
  EXPECT_EQ(canonical(root + "/c1/file"), root + "/c41/file");
}

TEST_F(PathSafetyOnDisk, NamesDifferingOnlyInCompositionAreDifferentFolders) {
  // "Café" precomposed (U+00E9) and decomposed (e + U+0301): two entries on Linux.
  const std::string composed = folder.folder("Caf\xC3\xA9");
  const std::string decomposed = folder.folder("Cafe\xCC\x81");
  folder.file("Cafe\xCC\x81/secret");
  EXPECT_NE(canonical(composed), canonical(decomposed));
  EXPECT_FALSE(contains(composed, decomposed + "/secret"));
  EXPECT_TRUE(contains(decomposed, decomposed + "/secret"));
}

}  // namespace
}  // namespace tessel
