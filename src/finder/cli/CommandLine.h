// tessel-finder: the extension's menu and commands for file managers other than GNOME Files
// (custom actions, service menus) and for scripts.
//
//   tessel-finder menu [--select PATH]... [--json]
//   tessel-finder run "TITLE > TITLE > ..." [--select PATH]...
//   tessel-finder watched
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tessel {

enum ExitStatus {
  kExitSuccess = 0,
  kExitFailure = 1,  // the item could not be run, or running it logged a failure
  kExitUsage = 2,
};

// Runs one invocation (`arguments` without the program name) and returns its exit status.
// The extension's log lines go to the system log and to `err` as well.
int runTesselFinder(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    Platform& platform = Platform::standard());

}  // namespace tessel
