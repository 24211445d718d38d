// Work that runs on threads of its own, each to its end, while the caller goes on.
#pragma once

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

namespace tessel {

class BackgroundTasks {
 public:
  BackgroundTasks() = default;
  // Waits for the tasks still running, so that a short-lived front end reports their outcome
  // before it exits.
  ~BackgroundTasks();
  BackgroundTasks(const BackgroundTasks&) = delete;
  BackgroundTasks& operator=(const BackgroundTasks&) = delete;

  // Runs `task` on a new thread. Returns the error code when no thread could be started, and
  // `task` then never runs.
  std::optional<int> run(std::function<void()> task);

 private:
  struct Running {
    std::mutex mutex;
    std::condition_variable finished;
    int count = 0;
  };

  // Shared with the threads, which may finish after this object has begun to go away.
  std::shared_ptr<Running> running_ = std::make_shared<Running>();
};

}  // namespace tessel
