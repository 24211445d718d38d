#include "platform/SystemLog.h"

// Lines carry no source location: the journal's CODE_FILE would only name this file.
#define SD_JOURNAL_SUPPRESS_LOCATION
#include <systemd/sd-journal.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace tessel::SystemLog {
namespace {

constexpr int kPriority = LOG_NOTICE;
constexpr const char* kSyslogSocket = "/dev/log";

bool toJournal(std::string_view line) {
  return ::sd_journal_send("MESSAGE=%.*s", static_cast<int>(line.size()), line.data(),
                           "PRIORITY=%i", kPriority, "SYSLOG_IDENTIFIER=%s", kIdentifier.data(),
                           nullptr) >= 0;
}

// syslog(3) names lines after openlog()'s identifier or the program; inside the file manager
// openlog() would rename the file manager's own lines, so the datagram is written by hand.
bool toSyslog(std::string_view line) {
  if (::access(kSyslogSocket, W_OK) != 0) return false;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, kSyslogSocket, sizeof(address.sun_path) - 1);
  const std::string message = "<" + std::to_string(LOG_USER | kPriority) + ">" +
                              std::string(kIdentifier) + "[" + std::to_string(::getpid()) +
                              "]: " + std::string(line);
  const bool sent = ::sendto(fd, message.data(), message.size(), MSG_NOSIGNAL,
                             reinterpret_cast<const sockaddr*>(&address), sizeof(address)) >= 0;
  ::close(fd);
  return sent;
}

void toStandardError(std::string_view line) {
  std::fprintf(stderr, "%s: %.*s\n", kIdentifier.data(), static_cast<int>(line.size()),
               line.data());
}

bool systemLogAvailable() {
  return ::access("/run/systemd/journal/socket", W_OK) == 0 || ::access(kSyslogSocket, W_OK) == 0;
}

}  // namespace

void write(std::string_view line) {
  const bool logged = toJournal(line) || toSyslog(line);
  if (!logged || ::isatty(STDERR_FILENO)) toStandardError(line);
}

bool reachesStandardError() {
  return ::isatty(STDERR_FILENO) || !systemLogAvailable();
}

}  // namespace tessel::SystemLog
