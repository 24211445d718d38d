// The window's changes to the settings, as plain functions of the settings.
#pragma once

#include <optional>
#include <vector>

#include "model/HostSettings.h"

namespace tessel::SettingsEdits {

// The favourites with the one at `index` and its neighbour `step` away exchanged; none when
// that neighbour does not exist.
std::optional<std::vector<FolderGrant>> reordered(const std::vector<FolderGrant>& favorites,
                                                  int index, int step);

// `grants` without every grant whose identifier is `id`, the others in their order.
std::vector<FolderGrant> without(const std::vector<FolderGrant>& grants, const Uuid& id);

}  // namespace tessel::SettingsEdits
