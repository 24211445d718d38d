// A test's own session: a data folder holding the shared container, an Info file, a file
// manager with a preset selection, and a recording desktop. Titles are in English unless a
// test asks for another language.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

#include "FinderSync.h"
#include "HostRecords.h"
#include "MenuText.h"
#include "PresetFinderController.h"
#include "RecordingDesktop.h"
#include "TempFolder.h"
#include "container/SharedContainer.h"

namespace tessel::testing {

// The real platform with a private environment (data folder, Info file, host executable) and a
// captured system log. Unlike FaultInjectingPlatform it may be used from many threads at once.
class SessionPlatform final : public PlatformWrapper {
 public:
  SessionPlatform() : PlatformWrapper(Platform::standard()) {}

  // Set before the platform is shared between threads.
  std::map<std::string, std::string> variables;
  std::optional<std::string> modulePathOverride;
  RecordedLines logged;

  std::optional<std::string> environment(const std::string& name) override {
    const auto found = variables.find(name);
    return found == variables.end() ? std::nullopt : std::optional(found->second);
  }
  std::string modulePath() override {
    return modulePathOverride.value_or(PlatformWrapper::modulePath());
  }
  void log(const std::string& line) override { logged.add(line); }
};

class FinderTestSession : public ::testing::Test {
 protected:
  FinderTestSession() {
    ::setenv("LANGUAGE", "en", 1);
    ::setenv("TESSEL_TEST_HOST_RECORD", folder.at("host-arguments").c_str(), 1);
    platform.variables = {{"XDG_DATA_HOME", folder.at("data")},
                          {"TESSEL_INFO_FILE", folder.file("info.json", "{}")},
                          {"TESSEL_HOST_EXECUTABLE", "/opt/tessel/bin/tessel"}};
  }

  // Archive (with 2026 and Old below it) and Inbox as favourites; Inbox and 2026 as recent
  // destinations; /home/a twice and /media/b as roots.
  static MenuSnapshot sampleSnapshot() {
    const MenuDestination year{"2026", "/home/a/Archive/2026", {}};
    const MenuDestination old{"Old", "/home/a/Archive/Old", {}};
    const MenuDestination inbox{"Inbox", "/home/a/Inbox", {}};
    return MenuSnapshot{{"/home/a", "/media/b", "/home/a"},
                        {{"Archive", "/home/a/Archive", {year, old}}, inbox},
                        {inbox, year}};
  }

  void publish(const MenuSnapshot& snapshot) { SharedContainer::publish(snapshot, platform); }
  void setGroup(const std::string& identifier) {
    folder.file("info.json", nlohmann::json{{"TesselAppGroup", identifier}}.dump());
  }
  std::string container() const { return folder.at("data/group.com.quillmark.Tessel"); }

  std::vector<MoveRequest> storedRequests() {
    return testing::storedRequests(container(), platform);
  }

  // The arguments of each start of the stand-in host (TESSEL_TEST_HOST), once it has started
  // `count` times or a generous time has passed.
  std::vector<std::string> hostStarts(std::size_t count) {
    std::vector<std::string> starts;
    for (int attempt = 0; attempt < 2000 && starts.size() < count; ++attempt) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      starts = recordedLines(folder.at("host-arguments"));
    }
    return starts;
  }

  // The menu as tessel-finder prints it.
  static std::string text(const Menu& menu) {
    std::ostringstream out;
    printMenuText(menu, out);
    return out.str();
  }

  std::unique_ptr<FinderSync> makeFinderSync() {
    return std::make_unique<FinderSync>(finder, notifications, workspace, platform);
  }

  TempFolder folder;
  SessionPlatform platform;
  PresetFinderController finder;
  RecordingNotificationCenter notifications;
  RecordingWorkspace workspace;
};

}  // namespace tessel::testing
