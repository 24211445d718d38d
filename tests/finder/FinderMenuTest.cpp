#include <stdlib.h>

#include "FinderTestSession.h"

namespace tessel::testing {
namespace {

using Command = FinderSync::Command;

class FinderMenuTest : public FinderTestSession {};

TEST_F(FinderMenuTest, BeforeTheHostPublishesTheMenuOffersUndoAndSettings) {
  auto finderSync = makeFinderSync();
  EXPECT_EQ(text(finderSync->buildMenu()),
            "Move To\n"
            "Move through Folders\n"
            "---\n"
            "Undo Last Move  #1\n"
            "Open Move Settings…  #2\n");
  EXPECT_TRUE(finder.directoryURLs().empty());
}

TEST_F(FinderMenuTest, AnUnreadableSnapshotLeavesOnlyTheSettingsItemAndWatchesNothing) {
  publish(sampleSnapshot());
  auto finderSync = makeFinderSync();
  ASSERT_FALSE(finder.directoryURLs().empty());

  folder.file("data/group.com.quillmark.Tessel/menu.json", R"({"roots":["/home/a"]})");
  const Menu undecodable = finderSync->buildMenu();
  EXPECT_EQ(text(undecodable), "Open Move Settings…  #1\n");
  EXPECT_EQ(finderSync->command(1), Command{Command::Settings{}});
  EXPECT_TRUE(finder.directoryURLs().empty());

  setGroup("");  // no container at all
  EXPECT_EQ(text(finderSync->buildMenu()), "Open Move Settings…  #2\n");
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

  finder.setSelection(std::vector<std::string>{"/home/a/report.pdf"});
  const std::string selected = text(finderSync->buildMenu());
  EXPECT_EQ(selected.find("(disabled)"), std::string::npos) << selected;
  // Tags go on rising from one menu to the next.
  EXPECT_NE(selected.find("Open Move Settings…  #28"), std::string::npos) << selected;
}

TEST_F(FinderMenuTest, CommandsCarryTheDestinationAndWhetherItIsAFavorite) {
  publish(sampleSnapshot());
  auto finderSync = makeFinderSync();
  const Menu menu = finderSync->buildMenu();
  EXPECT_EQ(finderSync->command(1), (Command{Command::Move{"/home/a/Archive", false}}));
  EXPECT_EQ(finderSync->command(5), (Command{Command::Move{"/home/a/Archive/2026", true}}));
  EXPECT_EQ(finderSync->command(6), (Command{Command::OpenFolder{"/home/a/Archive/2026"}}));
  // A recent destination that is a favourite moves as one; one inside a favourite does not.
  EXPECT_EQ(finderSync->command(11), (Command{Command::Move{"/home/a/Inbox", false}}));
  EXPECT_EQ(finderSync->command(12), (Command{Command::Move{"/home/a/Archive/2026", true}}));
  EXPECT_EQ(finderSync->command(13), Command{Command::Undo{}});
  EXPECT_EQ(finderSync->command(14), Command{Command::Settings{}});
  EXPECT_EQ(finderSync->command(15), std::nullopt);
  // Entries that open a submenu carry no command.
  EXPECT_FALSE(menu.items[0].tag);
  EXPECT_EQ(menu.items[0].submenu->title, "Move to Favorite");
}

TEST_F(FinderMenuTest, TitlesFollowTheUsersLanguage) {
  ::setenv("LANGUAGE", "ja", 1);
  auto finderSync = makeFinderSync();
  EXPECT_EQ(text(finderSync->buildMenu()),
            "移動先\nフォルダ階層から移動\n---\n直前の移動を取り消す  #1\n移動の設定を開く…  #2\n");
  EXPECT_EQ(FinderSync::toolbarItemToolTip(), "Tesselの移動メニュー");
  ::setenv("LANGUAGE", "en", 1);
  EXPECT_EQ(FinderSync::toolbarItemToolTip(), "Tessel move menu");
}

TEST_F(FinderMenuTest, WatchedFoldersFollowTheHostsAnnouncementsUntilTheObjectEnds) {
  publish(sampleSnapshot());
  auto finderSync = makeFinderSync();
  EXPECT_EQ(finder.directoryURLs(), (std::set<std::string>{"/home/a", "/media/b"}));

  publish(MenuSnapshot{{"/srv/shared"}, {}, {}});
  notifications.post("com.quillmark.Tessel.settings");
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/srv/shared"});

  EXPECT_EQ(notifications.observers(), 1u);
  finderSync.reset();
  EXPECT_EQ(notifications.observers(), 0u);
}

TEST_F(FinderMenuTest, TheTableKeepsOnlyThe8192NewestCommands) {
  auto finderSync = makeFinderSync();
  MenuItem item;
  for (int i = 0; i < 8193; ++i) finderSync->registerCommand(Command{Command::Undo{}}, item);
  EXPECT_EQ(item.tag, 8193);
  EXPECT_EQ(finderSync->command(1), std::nullopt);
  EXPECT_EQ(finderSync->command(2), Command{Command::Undo{}});
  EXPECT_EQ(finderSync->command(8193), Command{Command::Undo{}});
}

}  // namespace
}  // namespace tessel::testing
