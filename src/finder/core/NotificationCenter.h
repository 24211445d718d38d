// The session-wide announcements the extension listens to (on Linux a D-Bus signal).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tessel {

class NotificationCenter {
 public:
  using Token = std::uint64_t;

  virtual ~NotificationCenter() = default;

  // Calls `handler` on the front end's main thread each time `name` is posted, by any sender.
  virtual Token addObserver(const std::string& name, std::function<void()> handler) = 0;
  // When this returns the handler is not running and is never called again.
  virtual void removeObserver(Token token) = 0;
};

// For front ends that live too briefly to hear of a change: nothing is ever delivered.
class SilentNotificationCenter final : public NotificationCenter {
 public:
  Token addObserver(const std::string&, std::function<void()>) override { return 0; }
  void removeObserver(Token) override {}
};

}  // namespace tessel
