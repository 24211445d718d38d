// Builds the menu snapshot the file-manager extension shows, from the settings and the file
// system of this moment.
#pragma once

#include <string>
#include <vector>

#include "model/FolderAccess.h"
#include "model/HostSettings.h"
#include "platform/Platform.h"
#include "records/Records.h"

namespace tessel {

// The folders in which the extension offers its menu. A store build offers it in the granted
// source folders; a direct build in the home folder, "/Users/Shared" and the mounted volumes,
// sorted by plain byte order. Throws when a grant cannot be resolved.
std::vector<std::string> menuRoots(const HostSettings& settings, const FolderAccess& access,
                                   Platform& platform);

// The whole snapshot: roots, each favourite's folder tree (sharing one folder budget), and the
// recent destinations that still lie inside a favourite and exist. Throws when a grant cannot
// be resolved; nothing else fails it.
MenuSnapshot buildMenuSnapshot(const HostSettings& settings, const FolderAccess& access,
                               Platform& platform);

}  // namespace tessel
