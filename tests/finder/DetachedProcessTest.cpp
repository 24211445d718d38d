#include "DetachedProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace tessel {
namespace {

// The caller's output streams point at a pipe, as `out=$(tessel-finder run ...)` has them, and
// it holds one more inheritable copy, as a file manager holds descriptors its own code never
// marked close-on-exec.
TEST(DetachedProcessTest, TheStartedProgramHoldsNoneOfTheCallersDescriptors) {
  int pipe[2];
  ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
  const int savedOut = ::dup(STDOUT_FILENO), savedErr = ::dup(STDERR_FILENO);
  ::dup2(pipe[1], STDOUT_FILENO);
  ::dup2(pipe[1], STDERR_FILENO);
  const int inheritable = ::dup(pipe[1]);
  ::close(pipe[1]);
  const std::optional<int> failure = startDetached("/bin/sh", {"-c", "sleep 30"});
  ::dup2(savedOut, STDOUT_FILENO);
  ::dup2(savedErr, STDERR_FILENO);
  for (const int fd : {savedOut, savedErr, inheritable}) ::close(fd);
  ASSERT_EQ(failure, std::nullopt);
  // A program that inherited the pipe would keep it open for 30 s.
  pollfd ready{pipe[0], POLLIN, 0};
  ASSERT_EQ(::poll(&ready, 1, 10'000), 1);
  char byte;
  EXPECT_EQ(::read(pipe[0], &byte, 1), 0);
  ::close(pipe[0]);
}

}  // namespace
}  // namespace tessel
