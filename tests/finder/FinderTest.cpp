// The extension core, mostly through tessel-finder's command lines: run in-process, they show
// the menu as the file manager would and run its items, starting the stand-in host. Its
// stand-ins for the file manager's side (a preset selection, a workspace and a platform that
// record what they are asked, a notification centre that delivers a post on the poster's
// thread) are safe to use from many threads: `make test-tsan` runs this program under
// ThreadSanitizer, since the file manager calls the extension from threads of its choosing.
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "CommandLine.h"
#include "DetachedProcess.h"
#include "FaultInjectingPlatform.h"
#include "FinderSession.h"
#include "FinderSync.h"
#include "HostApplication.h"
#include "PresetFinderController.h"
#include "path/PathText.h"

namespace tessel::testing {
namespace {

using Command = FinderSync::Command;

// Records the URL of each openURLs(), whose start always succeeds, and "open <application>" for
// openApplication().
struct RecordingWorkspace final : Workspace {
  std::mutex mutex;
  std::vector<std::string> calls;  // read once the threads that call are done
  void openURLs(const std::vector<std::string>& urls, const std::string&,
                const std::vector<std::string>&, Completion completion) override {
    add(urls.at(0));
    completion(std::nullopt);
  }
  void openApplication(const std::string& application) override { add("open " + application); }
  void add(std::string call) {
    std::lock_guard lock(mutex);
    calls.push_back(std::move(call));
  }
};

// Holds the one observer a FinderSync adds, which a test runs on its own thread. It is set and
// removed with the FinderSync, while no other thread runs.
struct RecordingNotificationCenter final : NotificationCenter {
  std::function<void()> post;
  Token addObserver(const std::string& name, std::function<void()> handler) override {
    EXPECT_EQ(name, FinderSync::kSettingsChangedNotification);
    post = std::move(handler);
    return 1;
  }
  void removeObserver(Token) override { post = nullptr; }
};

// The real platform with the log captured and, when a test sets one, a location of its own.
struct LoggingPlatform final : FaultInjectingPlatform {
  std::optional<std::string> modulePathOverride;
  std::string modulePath() override {
    return modulePathOverride.value_or(FaultInjectingPlatform::modulePath());
  }
};

class FinderTest : public FinderSession {
 protected:
  FinderTest() { publish(sampleSnapshot()); }

  int run(const std::vector<std::string>& arguments) {
    out.str({});
    err.str({});
    return runTesselFinder(arguments, out, err, platform);
  }

  LoggingPlatform platform;
  PresetFinderController finder;
  RecordingNotificationCenter notifications;
  RecordingWorkspace workspace;
  FinderSync sync{finder, notifications, workspace, platform};
  std::ostringstream out, err;
};

TEST_F(FinderTest, MenuAndWatchedShowWhatTheFileManagerWould) {
  EXPECT_EQ(run({"menu"}), 0);
  EXPECT_EQ(out.str(),
            "Move To\n  Archive  #1  (disabled)\n  Inbox  #2  (disabled)\nMove through Folders\n"
            "  Archive\n    Move Here  #3  (disabled)\n    Open Folder  #4\n    ---\n    2026\n"
            "      Move Here  #5  (disabled)\n      Open Folder  #6\n  Inbox\n"
            "    Move Here  #7  (disabled)\n    Open Folder  #8\nRecent Destinations\n"
            "  Inbox  #9  (disabled)\n  2026  #10  (disabled)\n---\nUndo Last Move  #11\n"
            "Open Move Settings…  #12\n");
  EXPECT_EQ(run({"menu", "--select", home + "/x", "--json"}), 0);
  const nlohmann::json menu = nlohmann::json::parse(out.str());
  EXPECT_EQ(menu["items"][0]["submenu"]["items"][0],
            (nlohmann::json{{"title", "Archive"}, {"tag", 1}, {"enabled", true}}));
  EXPECT_EQ(menu["items"][3], (nlohmann::json{{"separator", true}}));
  EXPECT_EQ(run({"watched"}), 0);
  EXPECT_EQ(out.str(), home + "\n" + media + "\n");

  // Without a container to read the snapshot from, only the settings item is left.
  setGroup("");
  EXPECT_EQ(run({"menu"}), 0);
  EXPECT_EQ(out.str(), "Open Move Settings…  #1\n");
}

TEST_F(FinderTest, RunStoresTheRequestOfTheItemNamedThenWakesTheHostWithItsIdentifier) {
  ASSERT_EQ(::chdir(home.c_str()), 0);
  const std::vector<std::string> selected{home + "/notes.txt", media + "/b"};
  const struct {
    const char* titles;
    std::optional<std::string> operation;
    std::string destination;
    bool hierarchical;
  } cases[] = {
      {"Move To > Archive", {}, home + "/Archive", false},
      {"Move through Folders > Archive > 2026 > Move Here", {}, home + "/Archive/2026", true},
      // A recent destination that is a favourite moves as one; one inside a favourite does not.
      {"Recent Destinations > Inbox", {}, home + "/Inbox", false},
      {"Recent Destinations > 2026", {}, home + "/Archive/2026", true},
      // Opening a folder and undoing ignore the selection.
      {"Move through Folders > Inbox > Open Folder", "openFolder", home + "/Inbox", true},
      {"Undo Last Move", "undo", "", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(run({"run", c.titles, "--select", "notes.txt", "-s", media + "/b"}), 0) << err.str();
    const std::vector<MoveRequest> stored = takeRequests();
    ASSERT_EQ(stored.size(), 1u) << c.titles;
    const MoveRequest& request = stored[0];
    EXPECT_EQ(request.sources, c.operation ? std::vector<std::string>{} : selected) << c.titles;
    EXPECT_EQ(std::tie(request.operation, request.destination, request.hierarchical),
              std::tie(c.operation, c.destination, c.hierarchical))
        << c.titles;
    EXPECT_EQ(nextHostStart(), "--background-command tessel://move/" + request.id.string());
  }
  // Settings stores nothing: it starts the host with no arguments, as the user would.
  EXPECT_EQ(run({"run", "Open Move Settings…"}), 0) << err.str();
  EXPECT_EQ(nextHostStart(), "");

  // English titles and the equals form work in a Japanese session: the English titles are
  // those of a second menu, which runs the commands kept from the first.
  ::setenv("LANGUAGE", "ja", 1);
  EXPECT_EQ(run({"run", "移動先 > Archive", "--select=/x"}), 0) << err.str();
  EXPECT_EQ(run({"run", "Move To > Inbox", "-s", "/y"}), 0) << err.str();
  ::setenv("LANGUAGE", "en", 1);
  std::vector<std::string> destinations;
  for (const MoveRequest& request : takeRequests()) destinations.push_back(request.destination);
  std::ranges::sort(destinations);
  EXPECT_EQ(destinations, (std::vector<std::string>{home + "/Archive", home + "/Inbox"}));

  // A host that cannot start fails the run; the request stays for a host started later.
  ::setenv("TESSEL_HOST_EXECUTABLE", folder.at("missing/tessel").c_str(), 1);
  EXPECT_EQ(run({"run", "Undo Last Move"}), 1);
  EXPECT_EQ(err.str(), "Tessel host launch failed: Cannot start \"" + folder.at("missing/tessel") +
                           "\": No such file or directory\n");
  EXPECT_EQ(takeRequests().size(), 1u);
}

TEST_F(FinderTest, CommandLinesThatCannotRunSayWhyAndRunNothing) {
  // Titles are parted by " > " only, and a separator has no title to match.
  for (const std::string titles :
       {"Move To > Nowhere", "Move To>Archive", "", "Undo Last Move > More"}) {
    EXPECT_EQ(run({"run", titles}), 1);
    EXPECT_EQ(err.str(), "tessel-finder: There is no menu item \"" + titles + "\".\n");
  }
  for (const auto& [arguments, status, problem] :
       std::vector<std::tuple<std::vector<std::string>, int, std::string>>{
           {{"run", "Move To"}, 1, "\"Move To\" opens a submenu: name an item inside it."},
           {{"run", "Move To > Archive"},
            1,
            "\"Move To > Archive\" cannot be chosen now: name the items to move with --select."},
           {{}, 2, "Name a command: menu, run or watched."},
           {{"move"}, 2, "Unknown argument \"move\"."},
           {{"run"}, 2, "run needs the titles of the item to run."},
           {{"menu", "--select"}, 2, "Option \"--select\" needs a value."},
           {{"menu", "-s"}, 2, "Option \"-s\" needs a value."},
           {{"menu", "--bogus=1"}, 2, "Unknown option \"--bogus\"."},
           {{"watched", "--json"}, 2, "Unknown argument \"--json\"."},
           {{"run", "Undo", "Again"}, 2, "Unknown argument \"Again\"."}}) {
    EXPECT_EQ(run(arguments), status) << problem;
    EXPECT_EQ(err.str(),
              "tessel-finder: " + problem +
                  (status == 2 ? "\nTry 'tessel-finder --help' for more information.\n" : "\n"));
  }
  EXPECT_EQ(run({"run", "-h"}), 0);
  EXPECT_EQ(out.str().rfind("Usage: tessel-finder menu", 0), 0u) << out.str();
  EXPECT_TRUE(takeRequests().empty());
}

TEST_F(FinderTest, CommandsThatCannotRunAreLoggedAndSendNothing) {
  sync.buildMenu();
  constexpr std::int64_t kFavoriteArchive = 1, kUndo = 11;
  // A move whose selection vanished since the menu was built.
  sync.execute(kFavoriteArchive);
  finder.setSelection(std::vector<std::string>{});
  sync.execute(kFavoriteArchive);

  // Items outlived by 8192 later commands, and tags never handed out.
  MenuItem later;
  for (std::int64_t tag = 13; tag <= 8193; ++tag)
    sync.registerCommand(Command{Command::Undo{}}, later);
  EXPECT_EQ(later.tag, 8193);
  EXPECT_EQ(sync.command(2), (Command{Command::Move{home + "/Inbox", false}}));
  finder.setSelection(std::vector<std::string>{home + "/x"});
  sync.execute(kFavoriteArchive);
  sync.execute(-1);

  // Without a container the request cannot be stored: the host is opened for the user to see
  // why.
  setGroup("..");
  sync.execute(kUndo);
  EXPECT_EQ(platform.logged,
            (std::vector<std::string>{
                "Tessel selection unavailable", "Tessel selection unavailable",
                "Tessel command unavailable (tag 1)", "Tessel command unavailable (tag -1)",
                "Tessel request failed: Cannot open Tessel’s shared folder. Check that the data "
                "folder exists and can be written."}));
  EXPECT_EQ(workspace.calls, std::vector<std::string>{"open " TESSEL_RECORDING_HOST});
  EXPECT_TRUE(takeRequests().empty());
}

TEST_F(FinderTest, TheSnapshotIsReadAgainOnlyForAnotherFileOrAfterTheHostSignals) {
  const std::string path = folder.at("data/group.com.quillmark.Tessel/menu.json");
  publish(MenuSnapshot{{"/b"}, {}, {}});
  const std::string bytesOfB = platform.readFile(path);
  publish(MenuSnapshot{{"/a"}, {}, {}});
  sync.buildMenu();
  // Rewritten in place with its size and modification time kept: the same file as before, so
  // the decoded snapshot is kept.
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  std::fstream(path, std::ios::in | std::ios::out | std::ios::binary) << bytesOfB;
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  sync.buildMenu();
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/a"});

  notifications.post();
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/b"});
  publish(MenuSnapshot{{"/c"}, {}, {}});
  sync.buildMenu();
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/c"});
  // An unreadable snapshot watches nothing.
  folder.file("data/group.com.quillmark.Tessel/menu.json", R"({"roots":["/c"]})");
  sync.buildMenu();
  EXPECT_TRUE(finder.directoryURLs().empty());
}

TEST_F(FinderTest, TheHostIsFoundByOverrideThenBesideTheProgramThenFromTheModule) {
  EXPECT_EQ(HostApplication::executablePath(platform), TESSEL_RECORDING_HOST);
  ::unsetenv("TESSEL_HOST_EXECUTABLE");
  platform.modulePathOverride = "/opt/t/lib/nautilus/extensions-4/tessel-nautilus.so";
  EXPECT_EQ(
      HostApplication::executablePath(platform),
      standardizedPath("/opt/t/lib/nautilus/extensions-4/" TESSEL_MODULE_TO_PROGRAMS "/tessel"));
  platform.modulePathOverride = folder.at("build/bin/tessel-finder");
  folder.file("build/bin/tessel");
  EXPECT_EQ(HostApplication::executablePath(platform), folder.at("build/bin/tessel"));
}

// The command items of `menu` that send a request: every move, open-folder and undo item.
void collectRequestTags(const Menu& menu, std::vector<std::int64_t>& tags) {
  for (const MenuItem& item : menu.items) {
    if (item.submenu) collectRequestTags(*item.submenu, tags);
    if (item.tag && item.title != "Open Move Settings…") tags.push_back(*item.tag);
  }
}

TEST_F(FinderTest, MenusAndCommandsFromManyThreadsKeepTagsUniqueAndLoseNoRequest) {
  constexpr int kThreads = 8, kRounds = 40;
  finder.setSelection(std::vector<std::string>{home + "/x"});
  std::atomic<bool> done = false;
  // The host republishing and announcing meanwhile: readers see the old or the new snapshot.
  std::thread host([&] {
    for (int round = 0; !done; ++round) {
      MenuSnapshot snapshot = sampleSnapshot();
      snapshot.roots.push_back("/media/round" + std::to_string(round % 2));
      publish(snapshot);
      notifications.post();
    }
  });
  std::vector<std::vector<std::int64_t>> tagsSeen(kThreads);
  std::vector<std::thread> callers;
  for (int t = 0; t < kThreads; ++t) {
    callers.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        const Menu menu = sync.buildMenu();
        if (menu.items.size() != 6) {
          ADD_FAILURE() << "a menu of " << menu.items.size() << " items";
          continue;
        }
        const size_t first = tagsSeen[t].size();
        collectRequestTags(menu, tagsSeen[t]);
        sync.execute(
            tagsSeen[t].at(first + static_cast<size_t>(round) % (tagsSeen[t].size() - first)));
      }
    });
  }
  for (std::thread& caller : callers) caller.join();
  done = true;
  host.join();

  std::vector<std::int64_t> all;
  for (const auto& tags : tagsSeen) all.insert(all.end(), tags.begin(), tags.end());
  std::ranges::sort(all);
  EXPECT_EQ(std::ranges::adjacent_find(all), all.end()) << "a tag was handed out twice";
  EXPECT_EQ(takeRequests().size(), static_cast<size_t>(kThreads * kRounds));
  EXPECT_EQ(workspace.calls.size(), static_cast<size_t>(kThreads * kRounds));
  EXPECT_TRUE(platform.logged.empty());
}

// The caller's output streams point at a pipe, as `out=$(tessel-finder run ...)` has them, and
// it holds one more inheritable copy, as a file manager holds descriptors its own code never
// marked close-on-exec.
TEST(DetachedProcessTest, TheStartedProgramHoldsNoneOfTheCallersDescriptors) {
  int pipe[2];
  ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
  const int savedOut = ::dup(STDOUT_FILENO), savedErr = ::dup(STDERR_FILENO);
  ::dup2(pipe[1], STDOUT_FILENO);
  ::dup2(pipe[1], STDERR_FILENO);
  const int inheritable = ::dup(pipe[1]);
  ::close(pipe[1]);
  const std::optional<int> failure = startDetached("/bin/sh", {"-c", "sleep 30"});
  ::dup2(savedOut, STDOUT_FILENO);
  ::dup2(savedErr, STDERR_FILENO);
  for (const int fd : {savedOut, savedErr, inheritable}) ::close(fd);
  ASSERT_EQ(failure, std::nullopt);
  // A program that inherited the pipe would keep it open for 30 s.
  pollfd ready{pipe[0], POLLIN, 0};
  ASSERT_EQ(::poll(&ready, 1, 10'000), 1);
  char byte;
  EXPECT_EQ(::read(pipe[0], &byte, 1), 0);
  ::close(pipe[0]);
}

}  // namespace
}  // namespace tessel::testing
