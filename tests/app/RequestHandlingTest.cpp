// Requests from the file manager: a wake-up URL names a stored request, which is consumed and
// carried out; failures of moves and undos bring the window forward.
#include "HostHarness.h"
#include "container/SharedContainer.h"
#include "core/Errors.h"
#include "model/WakeUpUrl.h"

namespace tessel::testing {
namespace {

class RequestTest : public HostHarness {
 protected:
  void SetUp() override {
    writeSettings(favoritesAt({archive}));
    start();
  }

  // Stores a request as the extension would and returns its wake-up URL.
  QString enqueue(std::vector<std::string> sources, const std::string& destination,
                  std::optional<std::string> operation = std::nullopt) {
    const MoveRequest request =
        MoveRequest::make(std::move(sources), destination, true, std::move(operation), platform);
    SharedContainer::enqueue(request, platform);
    lastRequestFile = SharedContainer::requestPath(platform.container, request.id);
    return QString::fromStdString("tessel://move/" + request.id.string());
  }
  void handleAndWait(const QString& url) {
    model->handleURL(url);
    EXPECT_TRUE(waitUntil([&] { return !model->busy(); }));
  }

  std::string archive = temp.folder("home/Archive");
  std::string lastRequestFile;
};

TEST(WakeUpUrlTest, AcceptsOnlyTesselMoveAndOneIdentifier) {
  const std::string id = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";
  const std::string move = "tessel://move/";
  EXPECT_EQ(wakeUpRequestId(move + id + "?x=1#y").value_or(Uuid{}).string(), id);
  EXPECT_TRUE(wakeUpRequestId(move + "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0"));
  for (const std::string& rejected :
       {"TESSEL://move/" + id, "tessel://MOVE/" + id, "tessel://undo/" + id, "tessel:move/" + id,
        move + id + "/extra", move, std::string("tessel://move"), move + "not-a-uuid",
        "file:///move/" + id, move + "/" + id}) {
    EXPECT_FALSE(wakeUpRequestId(rejected)) << rejected;
  }
}

TEST_F(RequestTest, RequestsAreConsumedAndCarriedOutAndOnlyFailuresShowTheWindow) {
  const std::string a = temp.file("home/Inbox/a.txt");
  model->handleURL(enqueue({a}, archive));
  EXPECT_FALSE(platform.fileExists(lastRequestFile));
  EXPECT_EQ(desktop.windowsHidden, 1);
  ASSERT_TRUE(waitUntil([&] { return !model->busy(); }));
  EXPECT_EQ(status(), "Moved 1, skipped 0. ");
  EXPECT_TRUE(platform.fileExists(archive + "/a.txt"));
  EXPECT_EQ(desktop.broughtForward, 0);

  handleAndWait(enqueue({archive + "/a.txt"}, archive, "move"));
  EXPECT_EQ(status(), "Moved 0, skipped 1. ");
  EXPECT_EQ(desktop.broughtForward, 1);

  handleAndWait(enqueue({}, "", "undo"));
  EXPECT_EQ(status(), "Undid 1 moves.");
  EXPECT_TRUE(platform.fileExists(a));
  EXPECT_EQ(desktop.broughtForward, 1);
}

TEST_F(RequestTest, UnusableRequestsAreOnlyReported) {
  const QString url = enqueue({}, archive, "settings");
  model->handleURL(url + "/more");  // names no request
  EXPECT_EQ(status(), "Ready");
  model->handleURL(url);
  EXPECT_EQ(status(), "Unknown operation.");
  EXPECT_FALSE(platform.fileExists(lastRequestFile));
  model->handleURL("tessel://move/0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0");
  EXPECT_NE(status().find("No such file or directory"), std::string::npos) << status();
  platform.fixedNow = platform.now() - 600;
  const QString expired = enqueue({temp.file("home/a.txt")}, archive);
  platform.fixedNow.reset();
  model->handleURL(expired);
  EXPECT_EQ(status(), "The move request has expired.");
  EXPECT_TRUE(platform.fileExists(lastRequestFile));
  EXPECT_FALSE(model->busy());
  EXPECT_EQ(desktop.windowsHidden + desktop.broughtForward, 0);
  model->handleURL(enqueue({}, archive, "Move"));  // operations are matched exactly
  EXPECT_EQ(status(), "Unknown operation.");
}

TEST_F(RequestTest, WhileAMoveRunsRequestsAreAnsweredWithoutWaiting) {
  const std::string a = temp.file("home/Inbox/a.txt");
  const std::string b = temp.file("home/Inbox/b.txt");
  platform.holdMoves();
  model->handleURL(enqueue({a}, archive));

  model->handleURL(enqueue({b}, archive));
  EXPECT_EQ(status(), "A move is in progress. Try again when it finishes.");
  EXPECT_FALSE(platform.fileExists(lastRequestFile));
  EXPECT_EQ(desktop.broughtForward, 1);
  model->setStatus("Moving…");
  model->handleURL(enqueue({}, "", "undo"));
  EXPECT_EQ(status(), "Moving…");
  EXPECT_EQ(desktop.broughtForward, 2);
  model->handleURL(enqueue({}, archive, "openFolder"));
  EXPECT_EQ(desktop.openedFolders, QStringList{QString::fromStdString(archive)});
  model->addFolder(fileUrl(temp.folder("home/Inbox")), true);
  EXPECT_EQ(model->settings().favorites.size(), 1u);

  finishHeldMove();
  EXPECT_TRUE(platform.fileExists(b));
  EXPECT_EQ(desktop.broughtForward, 2);
}

TEST_F(RequestTest, OpensOnlyExistingFoldersInsideAFavorite) {
  const std::string sub = temp.folder("home/Archive/2026");
  model->openFolder(QString::fromStdString(archive + "/2026/../2026"));
  EXPECT_EQ(desktop.openedFolders, QStringList{QString::fromStdString(sub)});
  const auto refusal = [&](const std::string& path) {
    try {
      model->openFolder(QString::fromStdString(path));
    } catch (const TesselError& error) {
      return std::string(error.what());
    }
    return std::string("opened");
  };
  for (const std::string& path :
       {temp.folder("home/Outside"), archive + "/deleted", temp.file("home/Archive/file.txt")}) {
    EXPECT_EQ(refusal(path), "Cannot open the registered destination folder.") << path;
  }
  desktop.openSucceeds = false;
  EXPECT_EQ(refusal(archive), "Could not open the folder in the file manager.");

  // By request, the failure goes to the status line and the window stays hidden.
  desktop.openSucceeds = true;
  model->handleURL(enqueue({}, temp.at("home/Outside"), "openFolder"));
  EXPECT_EQ(status(), "Cannot open the registered destination folder.");
  EXPECT_EQ(desktop.broughtForward, 0);
}

}  // namespace
}  // namespace tessel::testing
