#include "DetachedProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

namespace tessel {
namespace {

// Points this process's standard output and error at a pipe for as long as it lives, the way
// `out=$(tessel-finder run ...)` does for the command, and holds one more inheritable copy of
// it, as a file manager holds descriptors its own code never marked close-on-exec.
class CapturedOutput {
 public:
  CapturedOutput() {
    EXPECT_EQ(::pipe2(pipe_, O_CLOEXEC), 0);
    saved_[0] = ::dup(STDOUT_FILENO);
    saved_[1] = ::dup(STDERR_FILENO);
    ::dup2(pipe_[1], STDOUT_FILENO);
    ::dup2(pipe_[1], STDERR_FILENO);
    inheritable_ = ::dup(pipe_[1]);
    ::close(pipe_[1]);
  }
  // Gives the streams back; from then on only a program that kept them holds the pipe open.
  int release() {
    ::dup2(saved_[0], STDOUT_FILENO);
    ::dup2(saved_[1], STDERR_FILENO);
    ::close(saved_[0]);
    ::close(saved_[1]);
    ::close(inheritable_);
    return pipe_[0];
  }

 private:
  int pipe_[2] = {-1, -1};
  int saved_[2] = {-1, -1};
  int inheritable_ = -1;
};

TEST(DetachedProcessTest, TheStartedProgramHoldsNoneOfTheCallersDescriptors) {
  CapturedOutput output;
  const std::optional<int> failure = startDetached("/bin/sh", {"-c", "sleep 30"});
  const int reader = output.release();
  ASSERT_EQ(failure, std::nullopt);
  // A program that inherited the pipe would keep it open for 30 s.
  pollfd ready{reader, POLLIN, 0};
  ASSERT_EQ(::poll(&ready, 1, 10'000), 1);
  char byte;
  EXPECT_EQ(::read(reader, &byte, 1), 0);
  ::close(reader);
}

TEST(DetachedProcessTest, AProgramThatCannotStartReportsWhy) {
  EXPECT_EQ(startDetached("/nonexistent/tessel", {}), ENOENT);
}

}  // namespace
}  // namespace tessel
