#include "window/MountWatcher.h"

#include <libmount/libmount.h>

namespace tessel {

MountWatcher::MountWatcher(QObject* parent)
    : QObject(parent), monitor_(mnt_new_monitor(), &mnt_unref_monitor) {
  if (!monitor_ || mnt_monitor_enable_kernel(monitor_.get(), 1) != 0) return;
  const int fd = mnt_monitor_get_fd(monitor_.get());
  if (fd < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
    // Taking the change clears it, so one change is reported once.
    mnt_monitor_event_cleanup(monitor_.get());
    emit mountsChanged();
  });
}

}  // namespace tessel
