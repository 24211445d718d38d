// Where a file the file manager shows lies on this machine.
#pragma once

#include <gio/gio.h>

#include <optional>
#include <string>

namespace tessel {

// The local path of `location`, which it releases; none for no location and for locations
// without one (network shares seen through GVfs without a FUSE path, the trash, search results'
// virtual folders).
std::optional<std::string> localPath(GFile* location);

}  // namespace tessel
