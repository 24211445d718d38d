#include "HostApplication.h"

#include "core/Bundle.h"
#include "path/PathText.h"

namespace tessel::HostApplication {

std::optional<std::string> executableOverride(Platform& platform) {
  std::optional<std::string> overridden = platform.environment("TESSEL_HOST_EXECUTABLE");
  if (overridden && overridden->empty()) return std::nullopt;
  return overridden;
}

std::string executablePath(Platform& platform) {
  if (std::optional<std::string> overridden = executableOverride(platform)) return *overridden;
  const std::string folder = parentPath(platform.modulePath());
  const std::string beside = joinPath(folder, "tessel");
  if (platform.fileExists(beside)) return beside;
  return standardizedPath(joinPath(joinPath(folder, Bundle::moduleToPrograms()), "tessel"));
}

}  // namespace tessel::HostApplication
