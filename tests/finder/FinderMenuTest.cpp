#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>

#include "FinderTestSession.h"

namespace tessel::testing {
namespace {

using Command = FinderSync::Command;

class FinderMenuTest : public FinderTestSession {};

TEST_F(FinderMenuTest, BeforeTheHostPublishesTheMenuOffersUndoAndSettingsInTheUsersLanguage) {
  auto finderSync = makeFinderSync();
  EXPECT_EQ(text(finderSync->buildMenu()),
            "Move To\nMove through Folders\n---\nUndo Last Move  #1\nOpen Move Settings…  #2\n");
  ::setenv("LANGUAGE", "ja", 1);
  EXPECT_EQ(text(finderSync->buildMenu()),
            "移動先\nフォルダ階層から移動\n---\n直前の移動を取り消す  #3\n移動の設定を開く…  #4\n");
}

TEST_F(FinderMenuTest, FullMenuInBuildOrderWithMovesDisabledWithoutASelection) {
  publish(sampleSnapshot());
  auto finderSync = makeFinderSync();
  EXPECT_EQ(text(finderSync->buildMenu()),
            "Move To\n"
            "  Archive  #1  (disabled)\n"
            "  Inbox  #2  (disabled)\n"
            "Move through Folders\n"
            "  Archive\n"
            "    Move Here  #3  (disabled)\n"
            "    Open Folder  #4\n"
            "    ---\n"
            "    2026\n"
            "      Move Here  #5  (disabled)\n"
            "      Open Folder  #6\n"
            "    Old\n"
            "      Move Here  #7  (disabled)\n"
            "      Open Folder  #8\n"
            "  Inbox\n"
            "    Move Here  #9  (disabled)\n"
            "    Open Folder  #10\n"
            "Recent Destinations\n"
            "  Inbox  #11  (disabled)\n"
            "  2026  #12  (disabled)\n"
            "---\n"
            "Undo Last Move  #13\n"
            "Open Move Settings…  #14\n");
  EXPECT_EQ(finderSync->command(1), (Command{Command::Move{"/home/a/Archive", false}}));
  // A recent destination that is a favourite moves as one; one inside a favourite does not.
  EXPECT_EQ(finderSync->command(11), (Command{Command::Move{"/home/a/Inbox", false}}));
  EXPECT_EQ(finderSync->command(12), (Command{Command::Move{"/home/a/Archive/2026", true}}));

  finder.setSelection(std::vector<std::string>{"/home/a/report.pdf"});
  const std::string selected = text(finderSync->buildMenu());
  EXPECT_EQ(selected.find("(disabled)"), std::string::npos) << selected;
  // Tags go on rising from one menu to the next.
  EXPECT_NE(selected.find("Open Move Settings…  #28"), std::string::npos) << selected;
}

TEST_F(FinderMenuTest, WatchedFoldersFollowTheSnapshotUntilTheObjectEnds) {
  publish(sampleSnapshot());
  auto finderSync = makeFinderSync();
  EXPECT_EQ(finder.directoryURLs(), (std::set<std::string>{"/home/a", "/media/b"}));
  publish(MenuSnapshot{{"/srv/shared"}, {}, {}});
  notifications.post("com.quillmark.Tessel.settings");
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/srv/shared"});

  // An unreadable snapshot, or none at all, watches nothing and leaves only the settings item.
  folder.file("data/group.com.quillmark.Tessel/menu.json", R"({"roots":["/home/a"]})");
  EXPECT_EQ(text(finderSync->buildMenu()), "Open Move Settings…  #1\n");
  EXPECT_TRUE(finder.directoryURLs().empty());
  setGroup("");
  EXPECT_EQ(text(finderSync->buildMenu()), "Open Move Settings…  #2\n");

  EXPECT_TRUE(notifications.observed());
  finderSync.reset();
  EXPECT_FALSE(notifications.observed());
}

TEST_F(FinderMenuTest, TheSnapshotIsDecodedAgainOnlyForAnotherFileOrAfterTheHostSignals) {
  const std::string path = folder.at("data/group.com.quillmark.Tessel/menu.json");
  publish(MenuSnapshot{{"/home/b"}, {}, {}});
  const std::string bytesOfB = platform.readFile(path);
  publish(MenuSnapshot{{"/home/a"}, {}, {}});
  auto finderSync = makeFinderSync();
  // Rewritten in place with its size and modification time kept: the same file as before, so
  // the decoded snapshot is kept.
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  std::fstream(path, std::ios::in | std::ios::out | std::ios::binary) << bytesOfB;
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  finderSync->buildMenu();
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/home/a"});

  notifications.post("com.quillmark.Tessel.settings");
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/home/b"});
  publish(MenuSnapshot{{"/home/c"}, {}, {}});
  finderSync->buildMenu();
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/home/c"});
}

}  // namespace
}  // namespace tessel::testing
