#include "HostTestPlatform.h"

namespace tessel::testing {

void Gate::enterAndWait() {
  std::unique_lock lock(mutex_);
  if (open_) return;
  entered_ = true;
  changed_.notify_all();
  changed_.wait(lock, [this] { return open_; });
}

void Gate::waitUntilEntered() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return entered_; });
}

void Gate::release() {
  std::lock_guard lock(mutex_);
  open_ = true;
  changed_.notify_all();
}

HostTestPlatform::HostTestPlatform(const TempFolder& temp, bool direct)
    : home(temp.folder("home")),
      dataHome(temp.folder("data")),
      container(dataHome + "/group.test"),
      infoFile_(temp.at("tessel-info.json")) {
  writeInfo(direct);
  environmentOverride = [this](const std::string& name) -> std::optional<std::string> {
    if (name == "XDG_DATA_HOME") return dataHome;
    if (name == "TESSEL_INFO_FILE") return infoFile_;
    if (const auto found = variables.find(name); found != variables.end()) return found->second;
    return PlatformWrapper::environment(name);
  };
}

void HostTestPlatform::writeInfo(bool direct, const std::string& group) {
  writeFileAtomically(infoFile_,
                      std::string("{\"TesselDirectDistribution\":") + (direct ? "true" : "false") +
                          ",\"TesselAppGroup\":\"" + group + "\"}",
                      Durability::atomic);
}

void HostTestPlatform::holdFirstMove(const std::shared_ptr<Gate>& gate) {
  addRule([gate](const PlatformCall& call) -> std::optional<int> {
    if (call.operation == FileOperation::move) gate->enterAndWait();
    return std::nullopt;
  });
}

std::string HostTestPlatform::readFile(const std::string& path) {
  if (path == "/proc/self/mountinfo") return mountinfo;
  return FaultInjectingPlatform::readFile(path);
}

}  // namespace tessel::testing
