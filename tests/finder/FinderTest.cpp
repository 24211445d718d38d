// The extension core, mostly through tessel-finder's command lines: run in-process, they show
// the menu as the file manager would and run its items, starting the stand-in host.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "CommandLine.h"
#include "FinderDesktop.h"
#include "HostApplication.h"

namespace tessel::testing {
namespace {

using Command = FinderSync::Command;

class FinderTest : public FinderDesktop {
 protected:
  FinderTest() { publish(sampleSnapshot()); }

  int run(const std::vector<std::string>& arguments) {
    out.str({});
    err.str({});
    return runTesselFinder(arguments, out, err, platform);
  }

  std::ostringstream out, err;
};

TEST_F(FinderTest, MenuAndWatchedShowWhatTheFileManagerWould) {
  EXPECT_EQ(run({"menu"}), 0);
  EXPECT_EQ(out.str(),
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
            "  Inbox\n"
            "    Move Here  #7  (disabled)\n"
            "    Open Folder  #8\n"
            "Recent Destinations\n"
            "  Inbox  #9  (disabled)\n"
            "  2026  #10  (disabled)\n"
            "---\n"
            "Undo Last Move  #11\n"
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
  const std::string tryHelp = "\nTry 'tessel-finder --help' for more information.";
  for (const auto& [arguments, status, problem] :
       std::vector<std::tuple<std::vector<std::string>, int, std::string>>{
           {{"run", "Move To > Nowhere"}, 1, "There is no menu item \"Move To > Nowhere\"."},
           // Titles are parted by " > " only, and a separator has no title to match.
           {{"run", "Move To>Archive"}, 1, "There is no menu item \"Move To>Archive\"."},
           {{"run", ""}, 1, "There is no menu item \"\"."},
           {{"run", "Undo Last Move > More"},
            1,
            "There is no menu item \"Undo Last Move > More\"."},
           {{"run", "Move To"}, 1, "\"Move To\" opens a submenu: name an item inside it."},
           {{"run", "Move To > Archive"},
            1,
            "\"Move To > Archive\" cannot be chosen now: name the items to move with --select."},
           {{}, 2, "Name a command: menu, run or watched." + tryHelp},
           {{"move"}, 2, "Unknown argument \"move\"." + tryHelp},
           {{"run"}, 2, "run needs the titles of the item to run." + tryHelp},
           {{"menu", "--select"}, 2, "Option \"--select\" needs a value." + tryHelp},
           {{"menu", "-s"}, 2, "Option \"-s\" needs a value." + tryHelp},
           {{"menu", "--bogus=1"}, 2, "Unknown option \"--bogus\"." + tryHelp},
           {{"watched", "--json"}, 2, "Unknown argument \"--json\"." + tryHelp},
           {{"run", "Undo", "Again"}, 2, "Unknown argument \"Again\"." + tryHelp}}) {
    EXPECT_EQ(run(arguments), status) << problem;
    EXPECT_EQ(err.str(), "tessel-finder: " + problem + "\n");
  }
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"--help"}, {"menu", "--help"}, {"run", "-h"}}) {
    EXPECT_EQ(run(arguments), 0);
    EXPECT_EQ(out.str().rfind("Usage: tessel-finder menu", 0), 0u) << out.str();
  }
  EXPECT_EQ(run({"--version"}), 0);
  EXPECT_EQ(out.str(), "tessel-finder " TESSEL_VERSION "\n");
  EXPECT_TRUE(takeRequests().empty());
}

TEST_F(FinderTest, CommandsThatCannotRunAreLoggedAndSendNothing) {
  auto finderSync = makeFinderSync();
  finderSync->buildMenu();
  constexpr std::int64_t kFavoriteArchive = 1, kUndo = 11;
  // A move whose selection vanished since the menu was built.
  finderSync->execute(kFavoriteArchive);
  finder.setSelection(std::vector<std::string>{});
  finderSync->execute(kFavoriteArchive);

  // Items outlived by 8192 later commands, and tags never handed out.
  MenuItem later;
  for (std::int64_t tag = 13; tag <= 8193; ++tag) {
    finderSync->registerCommand(Command{Command::Undo{}}, later);
  }
  EXPECT_EQ(later.tag, 8193);
  EXPECT_EQ(finderSync->command(2), (Command{Command::Move{home + "/Inbox", false}}));
  finder.setSelection(std::vector<std::string>{home + "/x"});
  finderSync->execute(kFavoriteArchive);
  finderSync->execute(-1);

  // Without a container the request cannot be stored: the host is opened for the user to see
  // why.
  setGroup("..");
  finderSync->execute(kUndo);
  EXPECT_EQ(platform.logged.lines(),
            (std::vector<std::string>{
                "Tessel selection unavailable", "Tessel selection unavailable",
                "Tessel command unavailable (tag 1)", "Tessel command unavailable (tag -1)",
                "Tessel request failed: Cannot open Tessel’s shared folder. Check that the data "
                "folder exists and can be written."}));
  EXPECT_EQ(workspace.calls.lines(), std::vector<std::string>{"open " TESSEL_RECORDING_HOST});
  EXPECT_TRUE(takeRequests().empty());
}

TEST_F(FinderTest, TheSnapshotIsReadAgainOnlyForAnotherFileOrAfterTheHostSignals) {
  const std::string path = folder.at("data/group.com.quillmark.Tessel/menu.json");
  publish(MenuSnapshot{{"/b"}, {}, {}});
  const std::string bytesOfB = platform.readFile(path);
  publish(MenuSnapshot{{"/a"}, {}, {}});
  auto finderSync = makeFinderSync();
  // Rewritten in place with its size and modification time kept: the same file as before, so
  // the decoded snapshot is kept.
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  std::fstream(path, std::ios::in | std::ios::out | std::ios::binary) << bytesOfB;
  const timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  finderSync->buildMenu();
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/a"});

  notifications.post("com.quillmark.Tessel.settings");
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/b"});
  publish(MenuSnapshot{{"/c"}, {}, {}});
  finderSync->buildMenu();
  EXPECT_EQ(finder.directoryURLs(), std::set<std::string>{"/c"});
  // An unreadable snapshot watches nothing.
  folder.file("data/group.com.quillmark.Tessel/menu.json", R"({"roots":["/c"]})");
  finderSync->buildMenu();
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

}  // namespace
}  // namespace tessel::testing
