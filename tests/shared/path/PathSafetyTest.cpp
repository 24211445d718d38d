#include "path/PathSafety.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

#include "TempFolder.h"
#include "path/PathText.h"

namespace tessel {
namespace {

using PathSafety::canonical;
using PathSafety::contains;

TEST(PathText, StandardisesLexically) {
  for (const auto& [written, standard] :
       std::vector<std::pair<std::string, std::string>>{{standardizedPath("/a//b/./c/"), "/a/b/c"},
                                                        {standardizedPath("/a/b/../c"), "/a/c"},
                                                        {standardizedPath("/../.."), "/"},
                                                        {standardizedPath("a/../../b"), "../b"},
                                                        {standardizedPath("../../b"), "../../b"},
                                                        {parentPath("/a"), "/"},
                                                        {parentPath("/a/b/"), "/a"},
                                                        {lastComponent("/a/b/"), "b"},
                                                        {joinPath("/", "a"), "/a"},
                                                        {joinPath("/x/", "a"), "/x/a"}}) {
    EXPECT_EQ(written, standard);
  }
}

// Component-wise on the written paths when nothing exists; the root holds every absolute path.
TEST(PathSafety, ContainmentIsComponentWise) {
  const std::string base = "/nonexistent-tessel-root";
  for (const auto& [root, path, inside] : std::vector<std::tuple<std::string, std::string, bool>>{
           {base + "/a/b", base + "/a/b", true},
           {base + "/a/b", base + "/a/b/c/d", true},
           {base + "/a/b", base + "/a/bc", false},
           {base + "/a/b/c", base + "/a/b", false},
           {base + "/a/b/", base + "/a/b/c", true},
           {base + "/a//b", base + "/a/b/./c", true},
           {base + "/a/b", base + "/a/b/../c", false},
           {"/", "/anything/at/all", true},
           {"//", "/x", true},
           {"/", "relative/path", false}}) {
    EXPECT_EQ(contains(root, path), inside) << root << " " << path;
  }
}

// Links, relative, looping or chained, are resolved before containment is judged; the missing
// tail of a path is kept as written. Like the kernel, it follows 40 links at most: the 41st of
// a chain is kept as written.
TEST(PathSafety, LinksAreResolvedBeforeContainmentIsJudged) {
  testing::TempFolder folder;
  // The temporary folder itself may sit behind a link (/tmp on some systems).
  const std::string root = canonical(folder.path());
  folder.folder("x");
  folder.file("y/file");
  folder.link(root + "/y", "x/link");
  folder.link("../y", "x/up");
  folder.link("loop2", "loop1");
  folder.link("loop1", "loop2");
  for (int i = 1; i <= 41; ++i)
    folder.link(i == 41 ? "y" : "c" + std::to_string(i + 1), "c" + std::to_string(i));
  EXPECT_EQ(canonical(root + "/x/link/file"), root + "/y/file");
  EXPECT_EQ(canonical(root + "/x/link/not here/yet"), root + "/y/not here/yet");
  EXPECT_EQ(canonical(root + "/x/up/file"), root + "/y/file");
  EXPECT_EQ(canonical(root + "/c2/file"), root + "/y/file");
  EXPECT_EQ(canonical(root + "/c1/file"), root + "/c41/file");
  EXPECT_TRUE(contains(root + "/x/link", root + "/y/file"));
  EXPECT_FALSE(contains(root + "/x", root + "/x/link/file"));
  EXPECT_TRUE(contains(root + "/y", root + "/x/link/missing/deeper"));
  EXPECT_FALSE(contains(root + "/y", canonical(root + "/loop1/inside")));
  // "Café" precomposed (U+00E9) and decomposed (e + U+0301): two entries on Linux.
  const std::string composed = folder.folder("Caf\xC3\xA9");
  const std::string decomposed = folder.folder("Cafe\xCC\x81");
  EXPECT_NE(canonical(composed), canonical(decomposed));
  EXPECT_FALSE(contains(composed, decomposed + "/secret"));
  EXPECT_TRUE(contains(decomposed, decomposed + "/secret"));
}

}  // namespace
}  // namespace tessel
