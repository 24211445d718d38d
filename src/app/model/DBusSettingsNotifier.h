// Announces a new menu snapshot on the D-Bus session bus: the signal "settings" of interface
// com.quillmark.Tessel at /com/quillmark/Tessel, without arguments.
#pragma once

#include "model/Desktop.h"

namespace tessel {

class DBusSettingsNotifier final : public SettingsNotifier {
 public:
  // Without a session bus nobody can listen, so nothing is sent.
  void postSettingsChanged() override;
};

}  // namespace tessel
