#include "LinuxWorkspace.h"

#include <cstring>

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
  const std::optional<int> noThread = starts_.run([executable, arguments, completion] {
    const std::optional<int> error = startDetached(executable, arguments);
    if (completion) {
      completion(error ? std::optional(startFailure(executable, *error)) : std::nullopt);
    }
  });
  // No thread to start it on: the outcome is still reported once.
  if (noThread && completion) completion(startFailure(executable, *noThread));
}

}  // namespace tessel
