// What the module offers Files: the menu tree for items and for a folder's background, and
// where it is offered at all.
#include <nautilus-extension.h>

#include <set>

#include "LoadedModule.h"
#include "NautilusSession.h"

namespace tessel::testing {
namespace {

class MenuProviderTest : public NautilusSession {};

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

TEST_F(MenuProviderTest, ModuleListsOneMenuProvider) {
  const std::vector<GType>& types = moduleTypes();
  ASSERT_EQ(types.size(), 1u);
  EXPECT_TRUE(g_type_is_a(types.front(), G_TYPE_OBJECT));
  EXPECT_TRUE(g_type_is_a(types.front(), NAUTILUS_TYPE_MENU_PROVIDER));
}

TEST_F(MenuProviderTest, SelectedItemsGetTheWholeTreeWithMovesEnabled) {
  publish(sampleSnapshot());
  GObject* provider = makeProvider();
  GList* items = fileItems(provider, {home + "/a.txt", home + "/b"});
  // The core's separators are left out: each stands between a run of submenus and a run of
  // commands, which Files sets apart by the submenu arrows.
  EXPECT_EQ(text(items),
            "Move To ›\n"
            "  Archive\n"
            "  Inbox\n"
            "Move through Folders ›\n"
            "  Archive ›\n"
            "    Move Here\n"
            "    Open Folder\n"
            "    2026 ›\n"
            "      Move Here\n"
            "      Open Folder\n"
            "  Inbox ›\n"
            "    Move Here\n"
            "    Open Folder\n"
            "Recent Destinations ›\n"
            "  Inbox\n"
            "  2026\n"
            "Undo Last Move\n"
            "Open Move Settings…\n");
  // Files' popover names a page after each submenu's label and keeps pages across menus: no
  // two submenus share a label, not even those of another menu with the same titles.
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

TEST_F(MenuProviderTest, BackgroundHasNoSelectionSoMovesAreDisabled) {
  MenuSnapshot snapshot = sampleSnapshot();
  snapshot.favorites.pop_back();
  snapshot.recent.clear();
  publish(snapshot);
  GObject* provider = makeProvider();
  GList* items = backgroundItems(provider, home);
  EXPECT_EQ(text(items),
            "Move To ›\n"
            "  Archive (off)\n"
            "Move through Folders ›\n"
            "  Archive ›\n"
            "    Move Here (off)\n"
            "    Open Folder\n"
            "    2026 ›\n"
            "      Move Here (off)\n"
            "      Open Folder\n"
            "Undo Last Move\n"
            "Open Move Settings…\n");
  freeItems(items);
  g_object_unref(provider);
}

TEST_F(MenuProviderTest, EmptySubmenusAreDisabledItemsOfTheirOwn) {
  // Files cannot show a submenu without items.
  publish(MenuSnapshot{{home}, {}, {}});
  GObject* provider = makeProvider();
  GList* items = fileItems(provider, {home + "/a.txt"});
  EXPECT_EQ(text(items),
            "Move To (off)\n"
            "Move through Folders (off)\n"
            "Undo Last Move\n"
            "Open Move Settings…\n");
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
  EXPECT_FALSE(offered(fileItems(provider, {"tessel-test:///x"})));
  EXPECT_FALSE(offered(backgroundItems(provider, "tessel-test:///")));
  g_object_unref(provider);
}

}  // namespace
}  // namespace tessel::testing
