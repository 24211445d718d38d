// A test's own session: a data folder holding the shared container, an Info file, a file
// manager with a preset selection, and a recording desktop. Titles are in English unless a
// test asks for another language.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "FinderSync.h"
#include "PresetFinderController.h"
#include "RecordingDesktop.h"
#include "SessionPlatform.h"
#include "TempFolder.h"

namespace tessel::testing {

class FinderTestSession : public ::testing::Test {
 protected:
  FinderTestSession();

  // Archive (with 2026 and Old below it) and Inbox as favourites; Inbox and 2026 as recent
  // destinations; /home/a twice and /media/b as roots.
  static MenuSnapshot sampleSnapshot();

  void publish(const MenuSnapshot& snapshot);
  void setGroup(const std::string& identifier);
  std::string container() const;
  // The requests stored in the container, in no particular order.
  std::vector<MoveRequest> storedRequests() const;
  // What the stand-in host (TESSEL_TEST_HOST) recorded, one line per start, once it has
  // recorded `lines` starts or a generous time has passed.
  std::string hostArguments(size_t lines);
  // The menu as tessel-finder prints it.
  static std::string text(const Menu& menu);
  std::unique_ptr<FinderSync> makeFinderSync(Workspace& workspace);
  std::unique_ptr<FinderSync> makeFinderSync() { return makeFinderSync(workspace); }

  TempFolder folder;
  SessionPlatform platform;
  PresetFinderController finder;
  RecordingNotificationCenter notifications;
  RecordingWorkspace workspace;
};

}  // namespace tessel::testing
