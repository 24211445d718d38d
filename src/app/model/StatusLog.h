// Keeps a record of what the host reported, so that what it did in the background can be read
// afterwards: every status line goes to the system log, and to stderr when that is a terminal.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace tessel {

void logStatus(const std::string& status, Platform& platform);

}  // namespace tessel
