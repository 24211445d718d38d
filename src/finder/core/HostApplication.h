// How the extension reaches the host: where its executable is and how it is woken for a
// request.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace tessel::HostApplication {

// Starts the host without a window, to carry out a request.
inline constexpr std::string_view kBackgroundArgument = "--background-command";

// $TESSEL_HOST_EXECUTABLE when set and not empty: the host to start for every request, as a
// program, never reached on the session bus (tests and development use it).
std::optional<std::string> executableOverride(Platform& platform);

// The host executable, looked up anew on each call: $TESSEL_HOST_EXECUTABLE when set, else a
// "tessel" beside the running program (a build tree, or a program installed with the host),
// else the host installed with the running module, found from the module's folder.
std::string executablePath(Platform& platform);

}  // namespace tessel::HostApplication
