// Counts the D-Bus signals delivered to it.
#pragma once

#include <QDBusMessage>
#include <QObject>

namespace tessel::testing {

class SignalCounter : public QObject {
  Q_OBJECT

 public:
  int count = 0;
  qsizetype lastArgumentCount = -1;

 public slots:
  void received(const QDBusMessage& message) {
    ++count;
    lastArgumentCount = message.arguments().size();
  }
};

}  // namespace tessel::testing
