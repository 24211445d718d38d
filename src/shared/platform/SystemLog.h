// One log for every Tessel deliverable, under the identifier "tessel" wherever it runs: the
// systemd journal where there is one, else syslog where /dev/log takes datagrams, else standard
// error; and standard error as well when it is a terminal, so a person watching sees the line
// too.
#pragma once

#include <unistd.h>

#include <string_view>

namespace tessel::SystemLog {

inline constexpr std::string_view kIdentifier = "tessel";

// Where lines may go. The defaults are the machine's.
struct Destinations {
  // The journal's socket. Lines reach the journal through libsystemd, which knows only the
  // standard socket and reports success when it is missing: a line counts as logged there only
  // while this exists. Another path can thus only stand for "no journal".
  const char* journalSocket = "/run/systemd/journal/socket";
  const char* syslogSocket = "/dev/log";
  int standardError = STDERR_FILENO;  // -1: never written to
};

// Writes one line at notice priority. Never throws: a log that cannot be written is not a
// reason to fail the work it reports on.
void write(std::string_view line);
// The same, to `destinations` instead of the machine's.
void write(std::string_view line, const Destinations& destinations);

// For a program that prints its own failures on standard error (tessel-finder): from now on
// write() leaves standard error alone, also when no log takes the line. Call it before any
// other thread logs.
void leaveStandardErrorAlone();

}  // namespace tessel::SystemLog
