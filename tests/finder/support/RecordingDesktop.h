// Stand-ins for the desktop around the extension: a workspace that records what it was asked
// to open, and a notification centre that delivers posts on the poster's thread. Both may be
// used from many threads at once.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "NotificationCenter.h"
#include "Workspace.h"

namespace tessel::testing {

class RecordingWorkspace final : public Workspace {
 public:
  struct Open {
    std::vector<std::string> urls;
    std::string application;
    std::vector<std::string> arguments;
  };

  // Reported to every completion when set.
  std::optional<std::string> failure;

  std::vector<Open> opens() const;
  std::vector<std::string> applicationsOpened() const;

  void openURLs(const std::vector<std::string>& urls, const std::string& application,
                const std::vector<std::string>& arguments, Completion completion) override;
  void openApplication(const std::string& application) override;

 private:
  mutable std::mutex mutex_;
  std::vector<Open> opens_;
  std::vector<std::string> applications_;
};

class RecordingNotificationCenter final : public NotificationCenter {
 public:
  void post(const std::string& name);
  size_t observers() const;

  Token addObserver(const std::string& name, std::function<void()> handler) override;
  void removeObserver(Token token) override;

 private:
  mutable std::mutex mutex_;
  Token next_ = 1;
  std::map<Token, std::pair<std::string, std::function<void()>>> observers_;
};

}  // namespace tessel::testing
