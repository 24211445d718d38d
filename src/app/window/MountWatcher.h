// Tells when a volume is mounted or unmounted: libmount's monitor of this process's mount
// table.
#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

struct libmnt_monitor;

namespace tessel {

class MountWatcher : public QObject {
  Q_OBJECT

 public:
  explicit MountWatcher(QObject* parent = nullptr);

  // False when the mount table cannot be watched (then nothing is ever reported).
  bool watching() const { return notifier_ != nullptr; }

 signals:
  void mountsChanged();

 private:
  std::unique_ptr<libmnt_monitor, void (*)(libmnt_monitor*)> monitor_;
  // Declared after the monitor, so it stops watching the monitor's descriptor before that closes.
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tessel
