// A later start of `tessel` reaching the running host on the session bus: its command becomes
// the call the desktop makes (Activate, Open, or the "service" action), so the host takes it
// up as it takes the desktop's.
#pragma once

#include <QDBusConnection>
#include <optional>

#include "application/LaunchCommand.h"
#include "application/SingleInstance.h"

namespace tessel {

// Calls the owner of the host's name through `bus`, waiting up to `seconds` for its answer.
// None when no host owns the name there (or there is no bus): the caller then takes the lock's
// socket instead.
std::optional<SingleInstance::HandOver> handOverOnBus(const LaunchCommand& command,
                                                      const QDBusConnection& bus, int seconds = 10);

}  // namespace tessel
