#include "LinuxWorkspace.h"

#include <cstring>
#include <system_error>
#include <thread>

#include "DetachedProcess.h"
#include "core/DisplayPath.h"
#include "core/Localization.h"

namespace tessel {
namespace {

std::string startFailure(const std::string& executable, int code) {
  char buffer[256];
  // GNU strerror_r returns a pointer that may or may not be `buffer`.
  const std::string reason = strerror_r(code, buffer, sizeof buffer);
  return formatText(localizedText("「%@」を起動できません: %@", "Cannot start \"%@\": %@"),
                    {displayPath(executable), reason});
}

}  // namespace

LinuxWorkspace::~LinuxWorkspace() {
  std::unique_lock lock(starts_->mutex);
  starts_->finished.wait(lock, [this] { return starts_->running == 0; });
}

void LinuxWorkspace::openURLs(const std::vector<std::string>& urls, const std::string& application,
                              const std::vector<std::string>& arguments, Completion completion) {
  std::vector<std::string> all = arguments;
  all.insert(all.end(), urls.begin(), urls.end());
  start(application, std::move(all), std::move(completion));
}

void LinuxWorkspace::openApplication(const std::string& application) {
  start(application, {}, nullptr);
}

void LinuxWorkspace::start(std::string executable, std::vector<std::string> arguments,
                           Completion completion) {
  std::unique_lock lock(starts_->mutex);
  try {
    std::thread([starts = starts_, executable, arguments = std::move(arguments), completion] {
      const std::optional<int> error = startDetached(executable, arguments);
      if (completion) {
        completion(error ? std::optional(startFailure(executable, *error)) : std::nullopt);
      }
      std::lock_guard lock(starts->mutex);
      --starts->running;
      starts->finished.notify_all();
    }).detach();
  } catch (const std::system_error& error) {
    // No thread to start it on: the outcome is still reported once.
    lock.unlock();
    if (completion) completion(startFailure(executable, error.code().value()));
    return;
  }
  ++starts_->running;
}

}  // namespace tessel
