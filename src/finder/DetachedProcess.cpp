#include "DetachedProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace tessel {
namespace {

[[noreturn]] void reportAndExit(int channel, int error) {
  [[maybe_unused]] const ssize_t written = ::write(channel, &error, sizeof error);
  ::_exit(127);
}

// The program starts as if from a fresh session: no signals blocked or ignored because this
// thread happened to, no terminal input to steal, and none of the caller's output streams. A
// caller that captures its output, `out=$(tessel-finder run ...)`, would otherwise wait until the
// long-lived program it started ends; the program logs to the journal instead. Nor does it keep
// any other descriptor the caller left inheritable: a file manager's sockets and files would
// stay open for as long as the host runs.
void prepareProgramState(int descriptorLimit) {
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::signal(SIGPIPE, SIG_DFL);
  ::signal(SIGCHLD, SIG_DFL);
  const int nothing = ::open("/dev/null", O_RDWR);
  if (nothing < 0) return;
  for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) ::dup2(nothing, stream);
  if (nothing > STDERR_FILENO) ::close(nothing);
  // Marked rather than closed: the exec-failure channel must stay open until the exec.
  if (::close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC) == 0) return;
  for (int fd = STDERR_FILENO + 1; fd < descriptorLimit; ++fd) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
}

}  // namespace

std::optional<int> startDetached(const std::string& executable,
                                 const std::vector<std::string>& arguments) {
  // Everything the children need is made before fork: in a process with threads a child may
  // only make async-signal-safe calls until it execs.
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(executable.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const long openMax = ::sysconf(_SC_OPEN_MAX);
  const int descriptorLimit = openMax > 0 && openMax < 65536 ? static_cast<int>(openMax) : 65536;

  // The grandchild reports a failed exec through this pipe; a successful exec closes it empty.
  int channel[2];
  if (::pipe2(channel, O_CLOEXEC) != 0) return errno;
  const pid_t child = ::fork();
  if (child < 0) {
    const int error = errno;
    ::close(channel[0]);
    ::close(channel[1]);
    return error;
  }
  if (child == 0) {
    ::close(channel[0]);
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild < 0) reportAndExit(channel[1], errno);
    if (grandchild > 0) ::_exit(0);
    prepareProgramState(descriptorLimit);
    ::execv(executable.c_str(), argv.data());
    reportAndExit(channel[1], errno);
  }
  ::close(channel[1]);
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t received;
  do {
    received = ::read(channel[0], &error, sizeof error);
  } while (received < 0 && errno == EINTR);
  ::close(channel[0]);
  if (received == static_cast<ssize_t>(sizeof error)) return error;
  return std::nullopt;
}

}  // namespace tessel
