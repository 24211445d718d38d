#include "GDBusNotificationCenter.h"

#include <algorithm>

namespace tessel {
namespace {

struct SignalName {
  std::string interface;
  std::string member;
  std::string path;
};

SignalName signalFor(const std::string& notification) {
  const std::size_t lastDot = notification.rfind('.');
  SignalName name{notification.substr(0, lastDot), notification.substr(lastDot + 1), ""};
  name.path = "/" + name.interface;
  std::replace(name.path.begin(), name.path.end(), '.', '/');
  return name;
}

void deliver(GDBusConnection*, const char*, const char*, const char*, const char*, GVariant*,
             gpointer handler) {
  (*static_cast<std::function<void()>*>(handler))();
}

void freeHandler(gpointer handler) {
  delete static_cast<std::function<void()>*>(handler);
}

}  // namespace

GDBusNotificationCenter::GDBusNotificationCenter()
    : connection_(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr)) {}

GDBusNotificationCenter::~GDBusNotificationCenter() {
  if (connection_) g_object_unref(connection_);
}

NotificationCenter::Token GDBusNotificationCenter::addObserver(const std::string& name,
                                                               std::function<void()> handler) {
  if (!connection_ || name.find('.') == std::string::npos) return 0;
  const SignalName signal = signalFor(name);
  return g_dbus_connection_signal_subscribe(
      connection_, nullptr, signal.interface.c_str(), signal.member.c_str(), signal.path.c_str(),
      nullptr, G_DBUS_SIGNAL_FLAGS_NONE, deliver, new std::function<void()>(std::move(handler)),
      freeHandler);
}

void GDBusNotificationCenter::removeObserver(Token token) {
  // GDBus never calls the handler once this returns, even for a signal already queued.
  if (connection_ && token != 0) {
    g_dbus_connection_signal_unsubscribe(connection_, static_cast<guint>(token));
  }
}

}  // namespace tessel
