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
  EXPECT_NE(out.str().find("Move To\n  Archive  #1  (disabled)\n"), std::string::npos) << out.str();

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
  EXPECT_EQ(hostArguments(1), "--background-command tessel://move/" + stored[0].id.string() + "\n");

  // Settings starts the host with no arguments at all.
  EXPECT_EQ(run({"run", "Open Move Settings…"}), 0) << err.str();
  EXPECT_EQ(hostArguments(2),
            "--background-command tessel://move/" + stored[0].id.string() + "\n\n");
  EXPECT_EQ(err.str(), "");

  // A host that cannot start fails the run; the request stays for a host started later.
  platform.variables["TESSEL_HOST_EXECUTABLE"] = folder.at("missing/tessel");
  EXPECT_EQ(run({"run", "Undo Last Move"}), 1);
  EXPECT_EQ(err.str(), "Tessel host launch failed: Cannot start \"" + folder.at("missing/tessel") +
                           "\": No such file or directory\n");
  EXPECT_EQ(storedRequests().size(), 2u);
}

TEST_F(TesselFinderCommandTest, TitlesThatNameNoRunnableCommandFailTheRun) {
  for (const auto& [path, problem] : std::vector<std::pair<std::string, std::string>>{
           {"Move To > Nowhere", "There is no menu item \"Move To > Nowhere\"."},
           {"Undo Last Move > More", "There is no menu item \"Undo Last Move > More\"."},
           {"Move To", "\"Move To\" opens a submenu: name an item inside it."},
           {"Move To > Archive",
            "\"Move To > Archive\" cannot be chosen now: name the items to move with --select."}}) {
    EXPECT_EQ(run({"run", path}), 1);
    EXPECT_EQ(err.str(), "tessel-finder: " + problem + "\n");
  }
  EXPECT_TRUE(storedRequests().empty());
}

TEST_F(TesselFinderCommandTest, MisusedCommandLinesSayWhatIsWrongAndWhereToLearnMore) {
  for (const auto& [arguments, problem] :
       std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{}, "Name a command: menu, run or watched."},
           {{"move"}, "Unknown argument \"move\"."},
           {{"run"}, "run needs the titles of the item to run."},
           {{"menu", "--select"}, "Option \"--select\" needs a value."},
           {{"menu", "-s"}, "Option \"-s\" needs a value."},
           {{"menu", "--bogus=1"}, "Unknown option \"--bogus\"."},
           {{"watched", "--json"}, "Unknown argument \"--json\"."},
           {{"run", "Undo", "Again"}, "Unknown argument \"Again\"."}}) {
    EXPECT_EQ(run(arguments), 2);
    EXPECT_EQ(err.str(),
              "tessel-finder: " + problem + "\nTry 'tessel-finder --help' for more information.\n");
  }
}

TEST_F(TesselFinderCommandTest, HelpAndVersionPrintWithoutRunningAnything) {
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{"--help"}, {"menu", "--help"}, {"run", "-h"}}) {
    EXPECT_EQ(run(arguments), 0);
    EXPECT_EQ(out.str().rfind("Usage: tessel-finder menu", 0), 0u) << out.str();
    EXPECT_NE(out.str().find("Exit status:"), std::string::npos);
    EXPECT_NE(out.str().find("TESSEL_HOST_EXECUTABLE"), std::string::npos);
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
