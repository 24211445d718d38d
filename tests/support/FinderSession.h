// One test's desktop session for the file-manager extension, set in the process's environment,
// where the extension reads it: a data folder for the shared container holding the sample menu
// snapshot, an empty Info file, titles in English, and a stand-in host that records the
// arguments of each start.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

#include "TempFolder.h"
#include "container/SharedContainer.h"

namespace tessel::testing {

class FinderSession : public ::testing::Test {
 protected:
  FinderSession() {
    ::setenv("LANGUAGE", "en", 1);
    ::setenv("XDG_DATA_HOME", folder.at("data").c_str(), 1);
    ::setenv("TESSEL_INFO_FILE", folder.file("info.json", "{}").c_str(), 1);
    ::setenv("TESSEL_HOST_EXECUTABLE", TESSEL_RECORDING_HOST, 1);
    ::setenv("TESSEL_TEST_HOST_RECORD", folder.at("host-arguments").c_str(), 1);
    SharedContainer::publish(sample);
  }

  // The requests stored in the container, in no particular order, handed out as the host takes
  // them: by the identifier that names the file.
  std::vector<MoveRequest> takeRequests() const {
    const std::string requests = folder.at("data/group.com.quillmark.Tessel/Requests");
    std::vector<MoveRequest> taken;
    if (!Platform::standard().fileExists(requests)) return taken;
    for (const DirectoryEntry& entry : Platform::standard().contentsOfDirectory(requests)) {
      taken.push_back(SharedContainer::consume(Uuid::parse(entry.name.substr(0, 36)).value()));
    }
    return taken;
  }

  // The arguments of the host's next start, once it has started again; "(no start)" when a
  // generous time passes without. A start still writing its line is not counted yet.
  std::string nextHostStart() {
    std::vector<std::string> starts;
    waitUntil([&] {
      std::ifstream in(folder.at("host-arguments"));
      starts.clear();
      for (std::string line; std::getline(in, line) && !in.eof();) starts.push_back(line);
      return starts.size() > startsSeen;
    });
    return starts.size() > startsSeen ? starts[startsSeen++] : "(no start)";
  }

  // Pauses until `condition` holds; false when `timeout` passes first.
  bool waitUntil(const std::function<bool()>& condition,
                 std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    for (const auto end = std::chrono::steady_clock::now() + timeout; !condition(); pause()) {
      if (std::chrono::steady_clock::now() >= end) return false;
    }
    return true;
  }
  // A moment for other processes and threads; a session with an event loop runs it meanwhile.
  virtual void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(5)); }

  TempFolder folder;
  const std::string home = folder.folder("home"), media = folder.folder("media");
  // Archive (with 2026 below it) and Inbox as favourites; Inbox and 2026 as recent
  // destinations; home (twice) and media as roots.
  const MenuSnapshot sample{{home, media, home},
                            {{"Archive", home + "/Archive", {{"2026", home + "/Archive/2026", {}}}},
                             {"Inbox", home + "/Inbox", {}}},
                            {{"Inbox", home + "/Inbox", {}}, {"2026", home + "/Archive/2026", {}}}};
  std::size_t startsSeen = 0;  // by nextHostStart()
};

}  // namespace tessel::testing
