#include "SessionPlatform.h"

namespace tessel::testing {

std::vector<std::string> SessionPlatform::logged() const {
  std::lock_guard lock(mutex_);
  return logged_;
}

std::optional<std::string> SessionPlatform::environment(const std::string& name) {
  const auto found = variables.find(name);
  if (found == variables.end()) return std::nullopt;
  return found->second;
}

std::string SessionPlatform::modulePath() {
  return modulePathOverride ? *modulePathOverride : PlatformWrapper::modulePath();
}

void SessionPlatform::log(const std::string& line) {
  std::lock_guard lock(mutex_);
  logged_.push_back(line);
}

}  // namespace tessel::testing
