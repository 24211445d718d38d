// What the module offers Files: the menu tree for items and for a folder's background, and
// where it is offered at all.
#include <nautilus-extension.h>

#include <set>

#include "NautilusSession.h"

namespace tessel::testing {
namespace {

using MenuProviderTest = NautilusSession;

TEST_F(MenuProviderTest, ItemsGetTheWholeTreeAndABackgroundGetsItWithMovesOff) {
  MenuSnapshot oneFavorite = sampleSnapshot();
  oneFavorite.favorites.pop_back();
  oneFavorite.recent.clear();
  // The core's separators are left out: each stands between a run of submenus and a run of
  // commands, which Files sets apart by the submenu arrows. Files cannot show a submenu
  // without items, so an empty one is a disabled item of its own.
  const struct {
    MenuSnapshot snapshot;
    bool background;
    const char* text;
  } cases[] = {
      {sampleSnapshot(), false,
       "Move To ›\n  Archive\n  Inbox\n"
       "Move through Folders ›\n"
       "  Archive ›\n    Move Here\n    Open Folder\n"
       "    2026 ›\n      Move Here\n      Open Folder\n"
       "  Inbox ›\n    Move Here\n    Open Folder\n"
       "Recent Destinations ›\n  Inbox\n  2026\n"
       "Undo Last Move\nOpen Move Settings…\n"},
      {oneFavorite, true,
       "Move To ›\n  Archive (off)\n"
       "Move through Folders ›\n"
       "  Archive ›\n    Move Here (off)\n    Open Folder\n"
       "    2026 ›\n      Move Here (off)\n      Open Folder\n"
       "Undo Last Move\nOpen Move Settings…\n"},
      {MenuSnapshot{{home}, {}, {}}, false,
       "Move To (off)\nMove through Folders (off)\nUndo Last Move\nOpen Move Settings…\n"},
  };
  for (const auto& c : cases) {
    publish(c.snapshot);
    GObject* provider = makeProvider();
    GList* items = c.background ? backgroundItems(provider, home)
                                : fileItems(provider, {home + "/a.txt", home + "/b"});
    EXPECT_EQ(text(items), c.text);
    freeItems(items);
    g_object_unref(provider);
  }
}

void collectSubmenuLabels(GList* items, std::vector<std::string>& labels) {
  for (GList* entry = items; entry; entry = entry->next) {
    char* label = nullptr;
    NautilusMenu* menu = nullptr;
    g_object_get(entry->data, "label", &label, "menu", &menu, nullptr);
    if (menu) {
      labels.emplace_back(label);
      GList* children = nautilus_menu_get_items(menu);
      collectSubmenuLabels(children, labels);
      freeItems(children);
      g_object_unref(menu);
    }
    g_free(label);
  }
}

// Files' popover names a page after each submenu's label and keeps pages across menus: no two
// submenus share a label, not even those of another menu with the same titles.
TEST_F(MenuProviderTest, NoTwoSubmenusShareALabelAcrossMenus) {
  publish(sampleSnapshot());
  GObject* provider = makeProvider();
  GList* items = fileItems(provider, {home + "/a.txt", home + "/b"});
  GList* again = fileItems(provider, {home + "/a.txt"});
  std::vector<std::string> labels;
  collectSubmenuLabels(items, labels);
  collectSubmenuLabels(again, labels);
  EXPECT_EQ(labels.size(), 12u);
  EXPECT_EQ(std::set<std::string>(labels.begin(), labels.end()).size(), labels.size());
  freeItems(again);
  freeItems(items);
  g_object_unref(provider);
}

TEST_F(MenuProviderTest, MenuIsOfferedOnlyInsideWatchedFolders) {
  publish(sampleSnapshot());
  GObject* provider = makeProvider();
  const auto offered = [](GList* items) {
    const bool any = items != nullptr;
    freeItems(items);
    return any;
  };
  EXPECT_TRUE(offered(fileItems(provider, {home + "/deep/down/x.txt"})));
  EXPECT_TRUE(offered(fileItems(provider, {media + "/x", home + "/y"})));
  EXPECT_TRUE(offered(backgroundItems(provider, home)));
  EXPECT_TRUE(offered(backgroundItems(provider, home + "/Archive")));

  EXPECT_FALSE(offered(fileItems(provider, {folder.at("elsewhere/x.txt")})));
  EXPECT_FALSE(offered(fileItems(provider, {home + "/y", folder.at("elsewhere/x")})));
  // A watched folder itself is shown by its parent, which is not watched.
  EXPECT_FALSE(offered(fileItems(provider, {home})));
  // A sibling whose name merely begins like a watched folder's.
  EXPECT_FALSE(offered(fileItems(provider, {home + "2/x"})));
  EXPECT_FALSE(offered(backgroundItems(provider, home + "2")));
  EXPECT_FALSE(offered(backgroundItems(provider, folder.path())));
  // Locations without a local path.
  EXPECT_FALSE(offered(fileItems(provider, {home + "/y", "tessel-test:///x"})));
  EXPECT_FALSE(offered(backgroundItems(provider, "tessel-test:///")));
  g_object_unref(provider);
}

}  // namespace
}  // namespace tessel::testing
