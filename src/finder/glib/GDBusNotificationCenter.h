// Session-wide announcements as D-Bus signals on the session bus, heard through GDBus. A
// notification "a.b.C.name" is the signal `name` of interface "a.b.C" at object path "/a/b/C",
// without arguments, from any sender.
#pragma once

#include <gio/gio.h>

#include <string>

#include "NotificationCenter.h"

namespace tessel {

class GDBusNotificationCenter final : public NotificationCenter {
 public:
  // Uses the session bus connection the process shares (Files already holds one, so this does
  // not wait). Without a session bus nothing is ever delivered.
  GDBusNotificationCenter();
  ~GDBusNotificationCenter() override;
  GDBusNotificationCenter(const GDBusNotificationCenter&) = delete;
  GDBusNotificationCenter& operator=(const GDBusNotificationCenter&) = delete;

  // Delivers on the main context of the calling thread; call it on Files' main thread.
  Token addObserver(const std::string& name, std::function<void()> handler) override;
  // Call it on the thread that added the observer. The handler's own storage is freed later,
  // once GDBus has dropped any signal it had already queued for it.
  void removeObserver(Token token) override;

 private:
  GDBusConnection* connection_ = nullptr;
};

}  // namespace tessel
