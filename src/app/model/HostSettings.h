// The host's one settings record, stored as "settings.json" in the support folder.
#pragma once

#include <string>
#include <vector>

#include "records/ConflictPolicy.h"
#include "records/RecordCoding.h"
#include "records/Records.h"

namespace tessel {

struct HostSettings {
  std::vector<FolderGrant> favorites;  // destinations, in the order the menu shows them
  std::vector<FolderGrant> roots;      // granted source folders (used by the store build)
  std::vector<std::string> recent;     // destination paths, most recent first
  ConflictPolicy policy = ConflictPolicy::keepBoth;

  friend bool operator==(const HostSettings&, const HostSettings&) = default;
};

// How many recent destinations are kept and offered.
inline constexpr size_t kRecentLimit = 20;

// Puts `destination` at the front of `recent`, removing earlier copies of it and keeping at
// most kRecentLimit entries.
void rememberRecent(std::vector<std::string>& recent, const std::string& destination);

template <>
struct JsonFields<HostSettings> {
  static constexpr auto fields = std::tuple(
      jsonField("favorites", &HostSettings::favorites), jsonField("roots", &HostSettings::roots),
      jsonField("recent", &HostSettings::recent), jsonField("policy", &HostSettings::policy));
};

}  // namespace tessel
