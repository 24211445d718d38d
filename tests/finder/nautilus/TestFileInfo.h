// A file as Files hands it to a menu provider, for tests: only a location, which is all the
// module asks of it.
#pragma once

#include <glib-object.h>

#include <string>

namespace tessel::testing {

// A new file info (a full reference) for a local path.
GObject* fileInfoForPath(const std::string& path);
// A new file info for a location without a local path.
GObject* fileInfoForUri(const std::string& uri);

}  // namespace tessel::testing
