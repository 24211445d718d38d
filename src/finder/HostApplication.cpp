#include "HostApplication.h"

#include "path/PathText.h"

#ifndef TESSEL_MODULE_TO_PROGRAMS
#define TESSEL_MODULE_TO_PROGRAMS "../../../../bin"
#endif

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
  return standardizedPath(joinPath(joinPath(folder, TESSEL_MODULE_TO_PROGRAMS), "tessel"));
}

}  // namespace tessel::HostApplication
