#include "core/DataHome.h"

#include "path/PathText.h"

namespace tessel {

std::string dataHome(Platform& platform) {
  const std::optional<std::string> configured = platform.environment("XDG_DATA_HOME");
  if (configured && !configured->empty() && configured->front() == '/') return *configured;
  return joinPath(platform.homeFolder(), ".local/share");
}

}  // namespace tessel
