// A file as Files hands it to a menu provider, for tests: only a location, which is all the
// module asks of it.
#pragma once

#include <glib-object.h>

#include <string>

namespace tessel::testing {

// A new file info (a full reference) for a local path, or for a URI ("scheme://...") of a
// location without one.
GObject* fileInfoFor(const std::string& location);

}  // namespace tessel::testing
