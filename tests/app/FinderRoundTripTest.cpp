// A move chosen in tessel-finder's menu reaches the host model as a wake-up URL and moves the
// file: the two halves agree on the snapshot, the request and the URL.
#include <cstdlib>
#include <sstream>

#include "CommandLine.h"
#include "ModelHarness.h"

namespace tessel::testing {
namespace {

using FinderRoundTripTest = ModelHarness;

// The host the extension started: the arguments it was given, once it has recorded them.
std::string startedHostArguments(const std::string& record) {
  std::string content;
  waitUntil([&] {
    content = Platform::standard().fileExists(record) ? Platform::standard().readFile(record) : "";
    return content.ends_with('\n');
  });
  return content;
}

TEST_F(FinderRoundTripTest, MoveChosenInTesselFinderIsCarriedOutByTheModel) {
  const std::string archive = temp.folder("home/Archive");
  temp.folder("home/Archive/2026");
  writeSettings(favoritesAt({archive}));
  start();

  const std::string record = temp.at("host-arguments");
  ::setenv("TESSEL_TEST_HOST_RECORD", record.c_str(), 1);
  platform.variables["TESSEL_HOST_EXECUTABLE"] = TESSEL_TEST_HOST;
  const std::string report = temp.file("home/Inbox/report.pdf", "pdf");
  std::ostringstream out, err;
  ASSERT_EQ(runTesselFinder(
                {"run", "Move through Folders > Archive > 2026 > Move Here", "--select", report},
                out, err, platform),
            0)
      << err.str();

  const std::string arguments = startedHostArguments(record);
  const std::string prefix = "--background-command ";
  ASSERT_TRUE(arguments.starts_with(prefix)) << arguments;
  model->handleURL(QString::fromStdString(
      arguments.substr(prefix.size(), arguments.size() - prefix.size() - 1)));
  ASSERT_TRUE(waitUntil([&] { return !model->busy(); }));
  EXPECT_EQ(status(), "Moved 1, skipped 0. ");
  EXPECT_TRUE(platform.fileExists(archive + "/2026/report.pdf"));
  EXPECT_EQ(model->settings().recent, (std::vector<std::string>{archive + "/2026"}));
}

}  // namespace
}  // namespace tessel::testing
