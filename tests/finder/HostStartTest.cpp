// Starting the real host program, detached, through the Linux workspace.
#include <atomic>

#include "FinderTestSession.h"
#include "HostApplication.h"
#include "LinuxWorkspace.h"

namespace tessel::testing {
namespace {

using HostStartTest = FinderTestSession;

TEST_F(HostStartTest, TheHostStartsDetachedWithTheBackgroundArgumentThenTheURL) {
  std::atomic<int> completions = 0;
  std::optional<std::string> outcome = "not reported";
  {
    LinuxWorkspace starter;
    starter.openURLs({"tessel://move/5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B"}, TESSEL_TEST_HOST,
                     {"--background-command"}, [&](const std::optional<std::string>& error) {
                       outcome = error;
                       ++completions;
                     });
    starter.openApplication(TESSEL_TEST_HOST);
  }
  EXPECT_EQ(completions, 1);
  EXPECT_EQ(outcome, std::nullopt);
  const std::string lines = hostArguments(2);
  EXPECT_NE(lines.find("--background-command tessel://move/5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B\n"),
            std::string::npos)
      << lines;
  // The plain start records an empty line.
  EXPECT_TRUE(lines.rfind('\n', 0) == 0 || lines.find("\n\n") != std::string::npos) << lines;
}

TEST_F(HostStartTest, AFailureToStartIsReportedOnceWithTheReason) {
  const std::string notExecutable = folder.file("tessel", "#!/bin/sh\n");
  const std::vector<std::pair<std::string, std::string>> cases{
      {folder.at("missing/tessel"), "No such file or directory"},
      {notExecutable, "Permission denied"}};
  for (const auto& [executable, reason] : cases) {
    std::vector<std::optional<std::string>> outcomes;
    {
      LinuxWorkspace starter;
      starter.openURLs({"tessel://move/x"}, executable, {},
                       [&](const std::optional<std::string>& error) { outcomes.push_back(error); });
    }
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0], "Cannot start \"" + executable + "\": " + reason);
  }
}

TEST_F(HostStartTest, TheHostIsFoundByOverrideThenBesideTheProgramThenWhereItIsInstalled) {
  EXPECT_EQ(HostApplication::executablePath(platform), "/opt/tessel/bin/tessel");
  platform.variables.erase("TESSEL_HOST_EXECUTABLE");
  platform.modulePathOverride = folder.at("build/bin/tessel-finder");
  EXPECT_EQ(HostApplication::executablePath(platform), TESSEL_INSTALLED_HOST);
  folder.file("build/bin/tessel");
  EXPECT_EQ(HostApplication::executablePath(platform), folder.at("build/bin/tessel"));
}

}  // namespace
}  // namespace tessel::testing
