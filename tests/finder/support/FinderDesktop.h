// The extension core in a test's session, with stand-ins for what surrounds it: a file manager
// with a preset selection, a workspace and a platform that record what they are asked, and a
// notification centre that delivers a post on the poster's thread. All are safe to use from
// many threads.
#pragma once

#include <memory>
#include <mutex>
#include <optional>

#include "FinderSession.h"
#include "FinderSync.h"
#include "PresetFinderController.h"

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
struct RecordingWorkspace final : Workspace {
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

// The real platform with the log captured and, when a test sets one, a location of its own.
struct LoggingPlatform final : PlatformWrapper {
  LoggingPlatform() : PlatformWrapper(Platform::standard()) {}
  RecordedLines logged;
  std::optional<std::string> modulePathOverride;  // set before the platform is shared

  void log(const std::string& line) override { logged.add(line); }
  std::string modulePath() override {
    return modulePathOverride.value_or(PlatformWrapper::modulePath());
  }
};

class FinderDesktop : public FinderSession {
 protected:
  std::unique_ptr<FinderSync> makeFinderSync() {
    return std::make_unique<FinderSync>(finder, notifications, workspace, platform);
  }

  LoggingPlatform platform;
  PresetFinderController finder;
  RecordingNotificationCenter notifications;
  RecordingWorkspace workspace;
};

}  // namespace tessel::testing
