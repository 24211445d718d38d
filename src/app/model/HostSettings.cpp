#include "model/HostSettings.h"

#include <algorithm>

namespace tessel {

void rememberRecent(std::vector<std::string>& recent, const std::string& destination) {
  std::erase(recent, destination);
  recent.insert(recent.begin(), destination);
  if (recent.size() > kRecentLimit) recent.resize(kRecentLimit);
}

}  // namespace tessel
