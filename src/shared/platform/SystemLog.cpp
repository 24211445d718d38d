#include "platform/SystemLog.h"

// Lines carry no source location: the journal's CODE_FILE would only name this file.
#define SD_JOURNAL_SUPPRESS_LOCATION
#include <systemd/sd-journal.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <syslog.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

namespace tessel::SystemLog {
namespace {

constexpr int kPriority = LOG_NOTICE;

std::atomic<bool> standardErrorLeftAlone{false};

// sd_journal_send() reports success without a word when the journal's socket is missing (a
// container, a system without systemd), so the line counts as logged only where it is there.
bool toJournal(std::string_view line, const char* socket) {
  return ::sd_journal_send("MESSAGE=%.*s", static_cast<int>(line.size()), line.data(),
                           "PRIORITY=%i", kPriority, "SYSLOG_IDENTIFIER=%s", kIdentifier.data(),
                           nullptr) >= 0 &&
         ::access(socket, W_OK) == 0;
}

// syslog(3) names lines after openlog()'s identifier or the program; inside the file manager
// openlog() would rename the file manager's own lines, so the datagram is written by hand.
bool toSyslog(std::string_view line, const char* socket) {
  if (::access(socket, W_OK) != 0) return false;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, socket, sizeof(address.sun_path) - 1);
  const std::string message = "<" + std::to_string(LOG_USER | kPriority) + ">" +
                              std::string(kIdentifier) + "[" + std::to_string(::getpid()) +
                              "]: " + std::string(line);
  const bool sent = ::sendto(fd, message.data(), message.size(), MSG_NOSIGNAL,
                             reinterpret_cast<const sockaddr*>(&address), sizeof(address)) >= 0;
  ::close(fd);
  return sent;
}

// One write(2), so that lines of several threads or processes do not interleave.
void toStandardError(std::string_view line, int fd) {
  const std::string text = std::string(kIdentifier) + ": " + std::string(line) + "\n";
  for (size_t written = 0; written < text.size();) {
    const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return;
    written += static_cast<size_t>(count);
  }
}

}  // namespace

void write(std::string_view line) {
  Destinations destinations;
  if (standardErrorLeftAlone.load()) destinations.standardError = -1;
  write(line, destinations);
}

void write(std::string_view line, const Destinations& destinations) {
  const bool logged =
      toJournal(line, destinations.journalSocket) || toSyslog(line, destinations.syslogSocket);
  const int fd = destinations.standardError;
  if (fd >= 0 && (!logged || ::isatty(fd))) toStandardError(line, fd);
}

void leaveStandardErrorAlone() {
  standardErrorLeftAlone.store(true);
}

}  // namespace tessel::SystemLog
