// One log for every Tessel deliverable, under the identifier "tessel" wherever it runs: the
// systemd journal where there is one, else syslog where /dev/log exists, else standard error;
// and standard error as well when it is a terminal, so a person watching sees the line too.
#pragma once

#include <string_view>

namespace tessel::SystemLog {

inline constexpr std::string_view kIdentifier = "tessel";

// Writes one line at notice priority. Never throws: a log that cannot be written is not a
// reason to fail the work it reports on.
void write(std::string_view line);

// Whether write() copies its lines to standard error, which then need no echo of their own.
bool reachesStandardError();

}  // namespace tessel::SystemLog
