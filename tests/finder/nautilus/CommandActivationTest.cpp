// Choosing an item of the module's menu: a request stored in the container, then the host
// started to carry it out; failures only in the log.
#include "NautilusSession.h"

namespace tessel::testing {
namespace {

class CommandActivationTest : public NautilusSession {
 protected:
  void SetUp() override {
    publish(sampleSnapshot());
    provider = makeProvider();
  }
  void TearDown() override { g_object_unref(provider); }

  // Activates the item at `titles` of the menu for `selection`, or of home's background when
  // nothing is selected.
  void choose(const std::vector<std::string>& selection, const std::vector<std::string>& titles) {
    GList* items =
        selection.empty() ? backgroundItems(provider, home) : fileItems(provider, selection);
    activate(items, titles);
    freeItems(items);
  }

  GObject* provider = nullptr;
};

TEST_F(CommandActivationTest, EachItemStoresItsRequestThenWakesTheHostWithItsUrl) {
  const struct {
    std::vector<std::string> selection, titles;
    bool stores;
    std::optional<std::string> operation;
    std::string destination;
    bool hierarchical;
  } cases[] = {
      {{home + "/b.txt", home + "/a.txt"}, {"Move To", "Inbox"}, true, {}, home + "/Inbox", false},
      {{},
       {"Move through Folders", "Inbox", "Open Folder"},
       true,
       "openFolder",
       home + "/Inbox",
       true},
      {{}, {"Undo Last Move"}, true, "undo", "", false},
      // Settings opens the host as the user would, with no arguments.
      {{}, {"Open Move Settings…"}, false, {}, "", false},
  };
  std::size_t starts = 0;
  for (const auto& c : cases) {
    choose(c.selection, c.titles);
    const std::vector<MoveRequest> requests = takeRequests();
    const std::string started = hostStarts(++starts).back();
    ASSERT_EQ(requests.size(), c.stores ? 1u : 0u) << c.titles.back();
    if (!c.stores) {
      EXPECT_EQ(started, "");
      continue;
    }
    const MoveRequest& request = requests[0];
    EXPECT_EQ(request.sources, c.selection);
    EXPECT_EQ(std::tie(request.operation, request.destination, request.hierarchical),
              std::tie(c.operation, c.destination, c.hierarchical));
    EXPECT_EQ(started, "--background-command tessel://move/" + request.id.string());
  }
  EXPECT_TRUE(loggedLines().empty());

  // Files shows a move disabled in the background; activated anyway, it finds no selection.
  choose({}, {"Move To", "Archive"});
  EXPECT_EQ(loggedLines(), std::vector<std::string>{"Tessel selection unavailable"});
  EXPECT_TRUE(takeRequests().empty());
}

TEST_F(CommandActivationTest, HostThatCannotStartIsLoggedOnceAndTheRequestStays) {
  ::setenv("TESSEL_HOST_EXECUTABLE", folder.at("missing-host").c_str(), 1);
  choose({}, {"Undo Last Move"});
  ASSERT_TRUE(iterateUntil([] { return !loggedLines().empty(); }));
  iterateUntil([] { return false; }, std::chrono::milliseconds(100));
  ASSERT_EQ(loggedLines().size(), 1u);
  EXPECT_EQ(loggedLines()[0].rfind("Tessel host launch failed: ", 0), 0u) << loggedLines()[0];
  const std::vector<MoveRequest> stayed = takeRequests();
  ASSERT_EQ(stayed.size(), 1u);
  EXPECT_EQ(stayed[0].operation, "undo");
}

TEST_F(CommandActivationTest, ItemsKeepTheProviderAliveUntilFilesDropsThem) {
  GObject* second = makeProvider();
  g_object_add_weak_pointer(second, reinterpret_cast<gpointer*>(&second));
  GList* items = fileItems(second, {home + "/a.txt"});
  g_object_unref(second);
  ASSERT_NE(second, nullptr);
  activate(items, {"Move To", "Archive"});
  EXPECT_EQ(takeRequests().size(), 1u);
  freeItems(items);
  EXPECT_EQ(second, nullptr);
  hostStarts(1);
}

}  // namespace
}  // namespace tessel::testing
