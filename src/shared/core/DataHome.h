// The user's data folder, under which the host's support folder and the shared container lie.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace tessel {

// $XDG_DATA_HOME when it is an absolute path (the base directory rules ignore a relative one),
// otherwise ~/.local/share.
std::string dataHome(Platform& platform);

}  // namespace tessel
