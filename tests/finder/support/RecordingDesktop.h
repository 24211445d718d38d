// Stand-ins for the desktop around the extension, safe to use from many threads: a workspace
// that records what it was asked to start, a notification centre that delivers a post on the
// poster's thread, and the list of lines both record into.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "NotificationCenter.h"
#include "Workspace.h"

namespace tessel::testing {

class RecordedLines {
 public:
  void add(std::string line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(std::move(line));
  }
  std::vector<std::string> lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

// Records "<application> <arguments...> <urls...>" for openURLs(), whose start always succeeds,
// and "open <application>" for openApplication().
class RecordingWorkspace final : public Workspace {
 public:
  RecordedLines calls;

  void openURLs(const std::vector<std::string>& urls, const std::string& application,
                const std::vector<std::string>& arguments, Completion completion) override {
    std::string call = application;
    for (const std::string& word : arguments) call += " " + word;
    for (const std::string& url : urls) call += " " + url;
    calls.add(std::move(call));
    completion(std::nullopt);
  }
  void openApplication(const std::string& application) override {
    calls.add("open " + application);
  }
};

// Holds the one observer a FinderSync adds. A post runs it under the lock, so that
// removeObserver() cannot return while it runs.
class RecordingNotificationCenter final : public NotificationCenter {
 public:
  void post(const std::string& name) {
    std::lock_guard lock(mutex_);
    if (observer_ && observer_->first == name) observer_->second();
  }
  bool observed() {
    std::lock_guard lock(mutex_);
    return observer_.has_value();
  }

  Token addObserver(const std::string& name, std::function<void()> handler) override {
    std::lock_guard lock(mutex_);
    observer_.emplace(name, std::move(handler));
    return 1;
  }
  void removeObserver(Token) override {
    std::lock_guard lock(mutex_);
    observer_.reset();
  }

 private:
  std::mutex mutex_;
  std::optional<std::pair<std::string, std::function<void()>>> observer_;
};

}  // namespace tessel::testing
