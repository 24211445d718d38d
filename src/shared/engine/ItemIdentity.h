// How the engine recognises an item again: by its identity string "device:inode:birth", which
// a rename within one volume keeps, and by whether anything is at a path at all.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace tessel {

// "5:42:12.5": the volume, the file number and the birth time (seconds since 1970, shortest
// round-trip decimal; 0.0 when the file system keeps none). Throws the cannotIdentify refusal
// when the volume or the file number is missing.
std::string identityString(const FileAttributes& attributes);

// The identity of the item at `path` itself (a final link not followed). A failure to read its
// attributes passes through as the platform's error.
std::string fileIdentity(const std::string& path, Platform& platform);

// True when the attributes of the item at `path` can be read without following a final link,
// so a dangling link exists. Any failure counts as absence.
bool itemExists(const std::string& path, Platform& platform);

}  // namespace tessel
