// Starting the host application, as the desktop does it.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessel {

class Workspace {
 public:
  // The outcome of a start: none when it went through, else the error's description.
  using Completion = std::function<void(const std::optional<std::string>& error)>;

  virtual ~Workspace() = default;

  // Hands `urls` to the application at `application`, starting it with `arguments` when it is
  // not running. Returns at once; `completion` is called exactly once, later, on a thread of
  // the workspace's choosing.
  virtual void openURLs(const std::vector<std::string>& urls, const std::string& application,
                        const std::vector<std::string>& arguments, Completion completion) = 0;
  // Opens the application as the user would: a running one shows itself. Failures are not
  // reported.
  virtual void openApplication(const std::string& application) = 0;
};

}  // namespace tessel
