// tessel-finder's command lines, run in-process against a container filled by hand.
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "CommandLine.h"
#include "FinderTestSession.h"

namespace tessel::testing {
namespace {

class TesselFinderCommandTest : public FinderTestSession {
 protected:
  TesselFinderCommandTest() {
    publish(sampleSnapshot());
    platform.variables["TESSEL_HOST_EXECUTABLE"] = TESSEL_TEST_HOST;
  }

  int run(const std::vector<std::string>& arguments) {
    out.str({});
    err.str({});
    return runTesselFinder(arguments, out, err, platform);
  }

  std::ostringstream out, err;
};

TEST_F(TesselFinderCommandTest, MenuAndWatchedPrintWhatTheFileManagerWouldShow) {
  EXPECT_EQ(run({"menu"}), 0);
  EXPECT_EQ(out.str().rfind("Move To\n  Archive  #1  (disabled)\n", 0), 0u) << out.str();
  EXPECT_EQ(run({"menu", "--select", "/home/a/x", "--json"}), 0);
  const nlohmann::json menu = nlohmann::json::parse(out.str());
  EXPECT_EQ(menu["items"][0]["submenu"]["items"][0],
            (nlohmann::json{{"title", "Archive"}, {"tag", 1}, {"enabled", true}}));
  EXPECT_EQ(menu["items"][3], (nlohmann::json{{"separator", true}}));
  EXPECT_EQ(run({"watched"}), 0);
  EXPECT_EQ(out.str(), "/home/a\n/media/b\n");
}

TEST_F(TesselFinderCommandTest, RunFindsTheItemByItsTitlesAndReportsWhetherTheHostStarted) {
  ASSERT_EQ(::chdir(folder.path().c_str()), 0);
  EXPECT_EQ(run({"run", "Move through Folders > Archive > 2026 > Move Here", "--select",
                 "notes.txt", "--select", "/home/a/b"}),
            0)
      << err.str();
  const std::vector<MoveRequest> stored = storedRequests();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].sources, (std::vector<std::string>{folder.at("notes.txt"), "/home/a/b"}));
  EXPECT_EQ(stored[0].destination, "/home/a/Archive/2026");
  EXPECT_TRUE(stored[0].hierarchical);
  // Settings starts the host with no arguments at all.
  EXPECT_EQ(run({"run", "Open Move Settings…"}), 0) << err.str();
  EXPECT_EQ(hostStarts(2), (std::vector<std::string>{
                               "--background-command tessel://move/" + stored[0].id.string(), ""}));
  EXPECT_EQ(err.str(), "");

  // A host that cannot start fails the run; the request stays for a host started later.
  platform.variables["TESSEL_HOST_EXECUTABLE"] = folder.at("missing/tessel");
  EXPECT_EQ(run({"run", "Undo Last Move"}), 1);
  EXPECT_EQ(err.str(), "Tessel host launch failed: Cannot start \"" + folder.at("missing/tessel") +
                           "\": No such file or directory\n");
  EXPECT_EQ(storedRequests().size(), 2u);
}

TEST_F(TesselFinderCommandTest, CommandLinesThatCannotRunSayWhyAndRunNothing) {
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
  EXPECT_TRUE(storedRequests().empty());
}

TEST_F(TesselFinderCommandTest, EnglishTitlesAndTheEqualsFormWorkInAJapaneseSession) {
  ::setenv("LANGUAGE", "ja", 1);
  EXPECT_EQ(run({"run", "移動先 > Archive", "--select=/home/a/x"}), 0) << err.str();
  EXPECT_EQ(run({"run", "Move To > Archive", "-s", "/home/a/y"}), 0) << err.str();
  ::unsetenv("LANGUAGE");
  const std::vector<MoveRequest> stored = storedRequests();
  ASSERT_EQ(stored.size(), 2u);
  for (const MoveRequest& request : stored) EXPECT_EQ(request.destination, "/home/a/Archive");
}

}  // namespace
}  // namespace tessel::testing
