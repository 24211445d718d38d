#include "model/DBusSettingsNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include "request/HostAddress.h"

namespace tessel {

void DBusSettingsNotifier::postSettingsChanged() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  bus.send(QDBusMessage::createSignal(QString::fromLatin1(HostAddress::kObjectPath),
                                      QString::fromLatin1(HostAddress::kInterface),
                                      QString::fromLatin1(HostAddress::kSettingsSignal)));
}

}  // namespace tessel
