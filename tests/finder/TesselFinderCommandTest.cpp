// tessel-finder's command lines, run in-process against a container filled by hand.
#include <stdlib.h>

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

TEST_F(TesselFinderCommandTest, MenuPrintsTitlesTagsAndEnabledStatesAsTextOrJson) {
  EXPECT_EQ(run({"menu"}), 0);
  EXPECT_NE(out.str().find("Move To\n  Archive  #1  (disabled)\n"), std::string::npos) << out.str();

  EXPECT_EQ(run({"menu", "--select", "/home/a/x", "--json"}), 0);
  const nlohmann::json menu = nlohmann::json::parse(out.str());
  EXPECT_EQ(menu["title"], "Tessel");
  EXPECT_EQ(menu["items"][0]["submenu"]["items"][0],
            (nlohmann::json{{"title", "Archive"}, {"tag", 1}, {"enabled", true}}));
  EXPECT_EQ(menu["items"][3], (nlohmann::json{{"separator", true}}));
  EXPECT_EQ(menu["items"][0].count("tag"), 0u);
}

TEST_F(TesselFinderCommandTest, WatchedPrintsEachFolderOnce) {
  EXPECT_EQ(run({"watched"}), 0);
  EXPECT_EQ(out.str(), "/home/a\n/media/b\n");
}

TEST_F(TesselFinderCommandTest, RunFindsTheItemByItsTitlesAndSendsItsRequest) {
  ::chdir(folder.path().c_str());
  EXPECT_EQ(run({"run", "Move through Folders > Archive > 2026 > Move Here", "--select",
                 "notes.txt", "--select", "/home/a/b"}),
            0)
      << err.str();
  const std::vector<MoveRequest> stored = storedRequests();
  ASSERT_EQ(stored.size(), 1u);
  EXPECT_EQ(stored[0].sources, (std::vector<std::string>{folder.at("notes.txt"), "/home/a/b"}));
  EXPECT_EQ(stored[0].destination, "/home/a/Archive/2026");
  EXPECT_TRUE(stored[0].hierarchical);
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(hostArguments(1), "--background-command tessel://move/" + stored[0].id.string() + "\n");
}

TEST_F(TesselFinderCommandTest, TitlesThatNameNoCommandAreClearErrors) {
  EXPECT_EQ(run({"run", "Move To > Nowhere"}), 1);
  EXPECT_EQ(err.str(), "tessel-finder: There is no menu item \"Move To > Nowhere\".\n");
  EXPECT_EQ(run({"run", "Move To"}), 1);
  EXPECT_EQ(err.str(), "tessel-finder: \"Move To\" opens a submenu: name an item inside it.\n");
  EXPECT_EQ(run({"run", "Undo Last Move > More"}), 1);
  EXPECT_EQ(run({"run", "Move To > Archive"}), 1);
  EXPECT_NE(err.str().find("--select"), std::string::npos);
  EXPECT_TRUE(storedRequests().empty());

  ::setenv("LANGUAGE", "ja", 1);
  EXPECT_EQ(run({"run", "移動先 > Nowhere"}), 1);
  EXPECT_EQ(err.str(), "tessel-finder: メニュー項目「移動先 > Nowhere」はありません。\n");
}

TEST_F(TesselFinderCommandTest, MisusedCommandLinesShowTheUsage) {
  for (const std::vector<std::string>& arguments :
       std::vector<std::vector<std::string>>{{},
                                             {"move"},
                                             {"run"},
                                             {"menu", "--select"},
                                             {"watched", "--json"},
                                             {"run", "Undo", "Again"}}) {
    EXPECT_EQ(run(arguments), 2);
    EXPECT_NE(err.str().find("Usage: tessel-finder menu"), std::string::npos);
  }
}

TEST_F(TesselFinderCommandTest, AFailureOfTheCommandIsShownAndFailsTheRun) {
  platform.variables["TESSEL_HOST_EXECUTABLE"] = folder.at("missing/tessel");
  EXPECT_EQ(run({"run", "Undo Last Move"}), 1);
  EXPECT_EQ(err.str(), "Tessel host launch failed: Cannot start \"" + folder.at("missing/tessel") +
                           "\": No such file or directory\n");
  // The request stays for a host started later.
  EXPECT_EQ(storedRequests().size(), 1u);
}

}  // namespace
}  // namespace tessel::testing
