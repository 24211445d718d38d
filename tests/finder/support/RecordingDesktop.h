// Stand-ins for the desktop around the extension, safe to use from many threads: a workspace
// that records what it was asked to start, and a notification centre that delivers a post on
// the poster's thread.
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
  // Reported to every completion when set.
  std::optional<std::string> failure;

  // One line per call: "<application> <arguments...> <urls...>" for openURLs(),
  // "open <application>" for openApplication().
  std::vector<std::string> calls() const;

  void openURLs(const std::vector<std::string>& urls, const std::string& application,
                const std::vector<std::string>& arguments, Completion completion) override;
  void openApplication(const std::string& application) override;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
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
