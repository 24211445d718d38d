// The system log on machines with and without a log: a line that no log takes must reach
// standard error, and one that a log takes reaches standard error only on a terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "TempFolder.h"
#include "platform/SystemLog.h"

namespace tessel {
namespace {

// Everything waiting on a non-blocking descriptor.
std::string drain(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t count; (count = ::read(fd, buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<size_t>(count));
  return text;
}

// A syslog daemon's socket, taking datagrams as /dev/log does.
class SyslogSocket {
 public:
  explicit SyslogSocket(const std::string& path) {
    fd_ = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
    EXPECT_EQ(::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0)
        << std::strerror(errno);
  }
  ~SyslogSocket() { ::close(fd_); }
  std::string received() { return drain(fd_); }

 private:
  int fd_ = -1;
};

// Standard error as a pipe (a service, a script capturing it) or as a terminal (a person).
class StandardError {
 public:
  explicit StandardError(bool terminal) {
    if (terminal) {
      EXPECT_EQ(::openpty(&reader_, &writer_, nullptr, nullptr, nullptr), 0);
    } else {
      int ends[2];
      EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
      std::tie(reader_, writer_) = std::tie(ends[0], ends[1]);
    }
    ::fcntl(reader_, F_SETFL, O_NONBLOCK);
  }
  ~StandardError() {
    ::close(reader_);
    ::close(writer_);
  }
  int fd() const { return writer_; }
  // What was written, carriage returns of the terminal removed.
  std::string written() {
    std::string text = drain(reader_);
    std::erase(text, '\r');
    return text;
  }

 private:
  int reader_ = -1, writer_ = -1;
};

TEST(SystemLogTest, ALineNoLogTakesReachesStandardErrorAndALoggedOneOnlyATerminal) {
  enum class Syslog { missing, socket, notASocket };
  const std::string line = "Tessel selection unavailable";
  const std::string datagram = "<13>tessel[" + std::to_string(::getpid()) + "]: " + line;
  const std::string echoed = "tessel: " + line + "\n";
  for (const auto& [syslog, terminal, toStandardError, expectedSyslog, expectedStandardError] :
       std::vector<std::tuple<Syslog, bool, bool, std::string, std::string>>{
           // No journal and no syslog (a container, a CI machine): standard error, whatever it is.
           {Syslog::missing, false, true, "", echoed},
           {Syslog::missing, true, true, "", echoed},
           // Something at /dev/log that takes no datagram is no log either.
           {Syslog::notASocket, false, true, "", echoed},
           // A missing journal socket is no journal: the line goes on to syslog, and to standard
           // error only when a person watches it.
           {Syslog::socket, false, true, datagram, ""},
           {Syslog::socket, true, true, datagram, echoed},
           // A program that prints its own failures keeps the log off its standard error.
           {Syslog::missing, false, false, "", ""},
           {Syslog::socket, true, false, datagram, ""}}) {
    testing::TempFolder folder;
    const std::string syslogPath = folder.at("log");
    std::optional<SyslogSocket> daemon;
    if (syslog == Syslog::socket) daemon.emplace(syslogPath);
    if (syslog == Syslog::notASocket) folder.file("log");
    StandardError standardError(terminal);
    const std::string missingJournal = folder.at("journal/socket");
    SystemLog::write(line, {missingJournal.c_str(), syslogPath.c_str(),
                            toStandardError ? standardError.fd() : -1});
    const auto scenario = ::testing::Message()
                          << "syslog " << static_cast<int>(syslog) << ", terminal " << terminal
                          << ", standard error " << toStandardError;
    EXPECT_EQ(daemon ? daemon->received() : "", expectedSyslog) << scenario;
    EXPECT_EQ(standardError.written(), expectedStandardError) << scenario;
  }
}

}  // namespace
}  // namespace tessel
