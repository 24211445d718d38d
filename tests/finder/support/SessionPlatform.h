// The real platform with a private environment (data folder, Info file, host executable) and a
// captured system log. Unlike FaultInjectingPlatform it may be used from many threads at once.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tessel::testing {

class SessionPlatform final : public PlatformWrapper {
 public:
  SessionPlatform() : PlatformWrapper(Platform::standard()) {}

  // Set before the platform is shared between threads.
  std::map<std::string, std::string> variables;
  std::optional<std::string> modulePathOverride;

  std::vector<std::string> logged() const;

  std::optional<std::string> environment(const std::string& name) override;
  std::string modulePath() override;
  void log(const std::string& line) override;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> logged_;
};

}  // namespace tessel::testing
