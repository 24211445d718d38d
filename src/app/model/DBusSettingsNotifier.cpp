#include "model/DBusSettingsNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>

#include "request/HostAddress.h"

namespace tessel {

void DBusSettingsNotifier::postSettingsChanged() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  const auto text = [](std::string_view name) {
    return QString::fromUtf8(name.data(), name.size());
  };
  bus.send(QDBusMessage::createSignal(text(HostAddress::kObjectPath), text(HostAddress::kInterface),
                                      text(HostAddress::kSettingsSignal)));
}

}  // namespace tessel
