#include "RecordingDesktop.h"

namespace tessel::testing {

std::vector<std::string> RecordingWorkspace::calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

void RecordingWorkspace::openURLs(const std::vector<std::string>& urls,
                                  const std::string& application,
                                  const std::vector<std::string>& arguments,
                                  Completion completion) {
  std::string call = application;
  for (const auto* list : {&arguments, &urls}) {
    for (const std::string& word : *list) call += " " + word;
  }
  {
    std::lock_guard lock(mutex_);
    calls_.push_back(call);
  }
  completion(failure);
}

void RecordingWorkspace::openApplication(const std::string& application) {
  std::lock_guard lock(mutex_);
  calls_.push_back("open " + application);
}

void RecordingNotificationCenter::post(const std::string& name) {
  // Delivered under the lock, so that removeObserver() cannot return while a handler runs.
  std::lock_guard lock(mutex_);
  for (const auto& [token, observer] : observers_) {
    if (observer.first == name) observer.second();
  }
}

size_t RecordingNotificationCenter::observers() const {
  std::lock_guard lock(mutex_);
  return observers_.size();
}

NotificationCenter::Token RecordingNotificationCenter::addObserver(const std::string& name,
                                                                   std::function<void()> handler) {
  std::lock_guard lock(mutex_);
  observers_.emplace(next_, std::make_pair(name, std::move(handler)));
  return next_++;
}

void RecordingNotificationCenter::removeObserver(Token token) {
  std::lock_guard lock(mutex_);
  observers_.erase(token);
}

}  // namespace tessel::testing
