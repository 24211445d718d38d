#include "BackgroundTasks.h"

#include <system_error>
#include <thread>

namespace tessel {

BackgroundTasks::~BackgroundTasks() {
  std::unique_lock lock(running_->mutex);
  running_->finished.wait(lock, [this] { return running_->count == 0; });
}

std::optional<int> BackgroundTasks::run(std::function<void()> task) {
  std::lock_guard lock(running_->mutex);
  try {
    std::thread([running = running_, task = std::move(task)] {
      task();
      std::lock_guard lock(running->mutex);
      --running->count;
      running->finished.notify_all();
    }).detach();
  } catch (const std::system_error& error) {
    return error.code().value();
  }
  ++running_->count;
  return std::nullopt;
}

}  // namespace tessel
