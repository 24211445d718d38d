#include "model/DBusSettingsNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace tessel {

void DBusSettingsNotifier::postSettingsChanged() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  bus.send(QDBusMessage::createSignal(QStringLiteral("/com/quillmark/Tessel"),
                                      QStringLiteral("com.quillmark.Tessel"),
                                      QStringLiteral("settings")));
}

}  // namespace tessel
