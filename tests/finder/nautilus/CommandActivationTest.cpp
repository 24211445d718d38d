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

  bool logged(const std::string& prefix) {
    return iterateUntil([&] {
      for (const std::string& line : loggedLines()) {
        if (line.rfind(prefix, 0) == 0) return true;
      }
      return false;
    });
  }

  GObject* provider = nullptr;
};

TEST_F(CommandActivationTest, MoveToFavoriteStoresTheSelectionAndWakesTheHost) {
  GList* items = fileItems(provider, {home + "/b.txt", home + "/a.txt"});
  activate(items, {"Move To", "Inbox"});
  freeItems(items);

  const std::vector<MoveRequest> requests = storedRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].sources, (std::vector<std::string>{home + "/b.txt", home + "/a.txt"}));
  EXPECT_EQ(requests[0].destination, home + "/Inbox");
  EXPECT_FALSE(requests[0].hierarchical);
  EXPECT_EQ(requests[0].operation, std::nullopt);
  EXPECT_EQ(hostArguments(1),
            "--background-command tessel://move/" + requests[0].id.string() + "\n");
  EXPECT_TRUE(loggedLines().empty());
}

TEST_F(CommandActivationTest, OpenFolderAndUndoFromTheBackgroundNeedNoSelection) {
  GList* items = backgroundItems(provider, home);
  activate(items, {"Move through Folders", "Inbox", "Open Folder"});
  freeItems(items);

  const std::vector<MoveRequest> requests = storedRequests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_TRUE(requests[0].sources.empty());
  EXPECT_EQ(requests[0].destination, home + "/Inbox");
  EXPECT_TRUE(requests[0].hierarchical);
  EXPECT_EQ(requests[0].operation, "openFolder");
  EXPECT_EQ(hostArguments(1),
            "--background-command tessel://move/" + requests[0].id.string() + "\n");
}

TEST_F(CommandActivationTest, SettingsOpensTheHostWithoutARequest) {
  GList* items = backgroundItems(provider, home);
  activate(items, {"Open Move Settings…"});
  freeItems(items);
  EXPECT_EQ(hostArguments(1), "\n");
  EXPECT_TRUE(storedRequests().empty());
}

TEST_F(CommandActivationTest, MoveChosenFromABackgroundSendsNothing) {
  // Files shows the item disabled; activating it anyway finds no selection.
  GList* items = backgroundItems(provider, home);
  activate(items, {"Move To", "Archive"});
  freeItems(items);
  EXPECT_EQ(loggedLines(), std::vector<std::string>{"Tessel selection unavailable"});
  EXPECT_TRUE(storedRequests().empty());
}

TEST_F(CommandActivationTest, HostThatCannotStartIsLoggedOnceAndTheRequestStays) {
  ::setenv("TESSEL_HOST_EXECUTABLE", folder.at("missing-host").c_str(), 1);
  GList* items = backgroundItems(provider, home);
  activate(items, {"Undo Last Move"});
  freeItems(items);
  ASSERT_TRUE(logged("Tessel host launch failed: "));
  iterateUntil([] { return false; }, std::chrono::milliseconds(100));
  EXPECT_EQ(loggedLines().size(), 1u);
  ASSERT_EQ(storedRequests().size(), 1u);
  EXPECT_EQ(storedRequests()[0].operation, "undo");
}

TEST_F(CommandActivationTest, ItemsKeepTheProviderAliveUntilFilesDropsThem) {
  GObject* second = makeProvider();
  g_object_add_weak_pointer(second, reinterpret_cast<gpointer*>(&second));
  GList* items = fileItems(second, {home + "/a.txt"});
  g_object_unref(second);
  ASSERT_NE(second, nullptr);
  activate(items, {"Move To", "Archive"});
  EXPECT_EQ(storedRequests().size(), 1u);
  freeItems(items);
  EXPECT_EQ(second, nullptr);
  hostArguments(1);
}

}  // namespace
}  // namespace tessel::testing
