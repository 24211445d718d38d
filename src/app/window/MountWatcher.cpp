#include "window/MountWatcher.h"

#include <fcntl.h>
#include <unistd.h>

namespace tessel {

MountWatcher::MountWatcher(QObject* parent) : QObject(parent) {
  fd_ = ::open("/proc/self/mountinfo", O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  // Each poll that sees a change also clears it, so one change is reported once.
  notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Exception);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &MountWatcher::mountsChanged);
}

MountWatcher::~MountWatcher() {
  notifier_.reset();
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace tessel
