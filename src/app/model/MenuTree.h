// The folder hierarchy below a favourite, as the file manager's menu shows it.
#pragma once

#include <string>

#include "model/FinderOrder.h"
#include "platform/Platform.h"
#include "records/Records.h"

namespace tessel {

// Sub-folders taken into one snapshot, across all favourites.
inline constexpr int kMenuFolderBudget = 400;
// The deepest level listed below a favourite (the favourite itself is level 0).
inline constexpr int kMenuDepthLimit = 4;

// The destination for `folder` at `depth`, with its visible sub-folders in file-manager order,
// depth first. Every sub-folder taken costs one unit of `budget`; when it runs out, nothing
// more is listed. Hidden entries (dot names and names in the folder's ".hidden" file),
// symbolic links and names that are not valid UTF-8 are left out; a folder that cannot be
// listed has no children.
MenuDestination menuTree(const std::string& folder, int depth, int& budget,
                         const FinderOrder& order, Platform& platform);

}  // namespace tessel
