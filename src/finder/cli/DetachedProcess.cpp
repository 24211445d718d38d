#include "DetachedProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

namespace tessel {

std::optional<int> startDetached(const std::string& executable,
                                 const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(executable.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  // The program starts as if from a fresh session: no signals blocked or ignored because this
  // thread happened to, no terminal input to steal, and none of the caller's output streams. A
  // caller that captures its output, `out=$(tessel-finder run ...)`, would otherwise wait until
  // the long-lived program it started ends; the program logs to the journal instead. Nor does it
  // keep any other descriptor the caller left inheritable: a file manager's sockets and files
  // would stay open for as long as the host runs.
  sigset_t none, all;
  ::sigemptyset(&none);
  ::sigfillset(&all);
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  ::posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  ::posix_spawnattr_setsigmask(&attributes, &none);
  ::posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawn_file_actions_t streams;
  ::posix_spawn_file_actions_init(&streams);
  ::posix_spawn_file_actions_addopen(&streams, STDIN_FILENO, "/dev/null", O_RDWR, 0);
  ::posix_spawn_file_actions_adddup2(&streams, STDIN_FILENO, STDOUT_FILENO);
  ::posix_spawn_file_actions_adddup2(&streams, STDIN_FILENO, STDERR_FILENO);
  ::posix_spawn_file_actions_addclosefrom_np(&streams, STDERR_FILENO + 1);
  pid_t child = 0;
  // glibc reports a failed exec here too.
  const int error =
      ::posix_spawn(&child, executable.c_str(), &streams, &attributes, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&streams);
  ::posix_spawnattr_destroy(&attributes);
  if (error != 0) return error;

  // The program is this process's child: a thread of its own waits for it, so that it leaves no
  // zombie however long this process lives. Without a thread it stays one until this process
  // ends.
  try {
    std::thread([child] {
      while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  } catch (const std::system_error&) {
  }
  return std::nullopt;
}

}  // namespace tessel
