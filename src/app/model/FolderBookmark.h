// A folder grant's bookmark: opaque bytes that remember the picked folder's path and identity
// (device and inode), so a later run can tell whether the folder at that path is still the one
// the user granted.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "records/Values.h"

namespace tessel::FolderBookmark {

// The bookmark of the folder at `path`. Throws the platform's error when its attributes cannot
// be read.
Bytes create(const std::string& path, Platform& platform);

struct Resolution {
  std::string path;
  bool stale = false;  // another item, or no folder, now sits at the path
};

// Finds the bookmarked folder again. Throws when the bytes are not a bookmark (decoding error)
// or nothing can be found at the recorded path (the platform's error).
Resolution resolve(const Bytes& bookmark, Platform& platform);

// Whether the folder at `path` exists and can be both read and entered.
bool startAccessing(const std::string& path, Platform& platform);

}  // namespace tessel::FolderBookmark
