// How the extension reaches the host: the wake-up URL that names a stored request, and the
// host's names on the session bus. Both sides take them from here, so they cannot drift apart.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "records/Uuid.h"

namespace tessel::HostAddress {

inline constexpr const char* kBusName = "com.quillmark.Tessel";
inline constexpr const char* kObjectPath = "/com/quillmark/Tessel";
inline constexpr const char* kInterface = "com.quillmark.Tessel";
// Sent by the host after each publication of the menu snapshot, without arguments.
inline constexpr const char* kSettingsSignal = "settings";
// The same announcement as the extension observes it: interface and signal.
inline constexpr const char* kSettingsNotification = "com.quillmark.Tessel.settings";
// The error with which the host answers a wake-up it did not take up; its message is why.
inline constexpr const char* kRequestRefused = "com.quillmark.Tessel.Error.RequestRefused";

// "tessel://move/" followed by the identifier in upper case.
std::string wakeUpUrl(const Uuid& requestId);

// The request identifier when the scheme is exactly "tessel", the host exactly "move" and the
// path exactly "/" followed by a UUID (either case); none for anything else. Query and
// fragment are not looked at. Scheme and host are compared case-sensitively, which is why
// the host does not read it through QUrl: QUrl lower-cases both.
std::optional<Uuid> wakeUpRequestId(std::string_view url);

}  // namespace tessel::HostAddress
