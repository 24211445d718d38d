#include "FinderTestSession.h"

#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

#include "MenuText.h"
#include "container/SharedContainer.h"
#include "path/PathText.h"
#include "records/RecordCoding.h"

namespace tessel::testing {

FinderTestSession::FinderTestSession() {
  ::setenv("LANGUAGE", "en", 1);
  ::setenv("TESSEL_TEST_HOST_RECORD", folder.at("host-arguments").c_str(), 1);
  platform.variables = {{"XDG_DATA_HOME", folder.at("data")},
                        {"TESSEL_INFO_FILE", folder.file("info.json", "{}")},
                        {"TESSEL_HOST_EXECUTABLE", "/opt/tessel/bin/tessel"}};
}

MenuSnapshot FinderTestSession::sampleSnapshot() {
  const MenuDestination year{"2026", "/home/a/Archive/2026", {}};
  const MenuDestination old{"Old", "/home/a/Archive/Old", {}};
  const MenuDestination inbox{"Inbox", "/home/a/Inbox", {}};
  return MenuSnapshot{{"/home/a", "/media/b", "/home/a"},
                      {{"Archive", "/home/a/Archive", {year, old}}, inbox},
                      {inbox, year}};
}

void FinderTestSession::publish(const MenuSnapshot& snapshot) {
  SharedContainer::publish(snapshot, platform);
}

void FinderTestSession::setGroup(const std::string& identifier) {
  folder.file("info.json", nlohmann::json{{"TesselAppGroup", identifier}}.dump());
}

std::string FinderTestSession::container() const {
  return folder.at("data/group.com.quillmark.Tessel");
}

std::vector<MoveRequest> FinderTestSession::storedRequests() const {
  const std::string requests = joinPath(container(), "Requests");
  std::vector<MoveRequest> stored;
  if (!Platform::standard().fileExists(requests)) return stored;
  for (const DirectoryEntry& entry : Platform::standard().contentsOfDirectory(requests)) {
    stored.push_back(
        decodeJson<MoveRequest>(Platform::standard().readFile(joinPath(requests, entry.name))));
  }
  return stored;
}

std::string FinderTestSession::hostArguments(size_t lines) {
  const std::string record = folder.at("host-arguments");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  std::string content;
  while (std::chrono::steady_clock::now() < deadline) {
    content = platform.fileExists(record) ? platform.readFile(record) : "";
    if (static_cast<size_t>(std::count(content.begin(), content.end(), '\n')) >= lines) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return content;
}

std::string FinderTestSession::text(const Menu& menu) {
  std::ostringstream out;
  printMenuText(menu, out);
  return out.str();
}

std::unique_ptr<FinderSync> FinderTestSession::makeFinderSync(Workspace& chosenWorkspace) {
  return std::make_unique<FinderSync>(finder, notifications, chosenWorkspace, platform);
}

}  // namespace tessel::testing
