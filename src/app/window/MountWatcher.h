// Tells when a volume is mounted or unmounted: the kernel marks /proc/self/mountinfo with
// POLLPRI whenever this process's mount table changes.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace tessel {

class MountWatcher : public QObject {
  Q_OBJECT

 public:
  explicit MountWatcher(QObject* parent = nullptr);
  ~MountWatcher() override;

  // False when the mount table cannot be watched (then nothing is ever reported).
  bool watching() const { return notifier_ != nullptr; }

 signals:
  void mountsChanged();

 private:
  int fd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tessel
