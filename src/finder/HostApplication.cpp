#include "HostApplication.h"

#include "path/PathText.h"

#ifndef TESSEL_INSTALLED_HOST
#define TESSEL_INSTALLED_HOST "/usr/bin/tessel"
#endif

namespace tessel::HostApplication {

std::string wakeUpURL(const Uuid& requestId) {
  return "tessel://move/" + requestId.string();
}

std::string executablePath(Platform& platform) {
  if (auto overridden = platform.environment("TESSEL_HOST_EXECUTABLE");
      overridden && !overridden->empty()) {
    return *overridden;
  }
  const std::string beside = joinPath(parentPath(platform.modulePath()), "tessel");
  if (platform.fileExists(beside)) return beside;
  return TESSEL_INSTALLED_HOST;
}

}  // namespace tessel::HostApplication
