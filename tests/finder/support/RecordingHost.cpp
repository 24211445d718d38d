// Stands in for the host executable: appends one line with its arguments, separated by
// spaces, to the file named by $TESSEL_TEST_HOST_RECORD, and exits.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* record = std::getenv("TESSEL_TEST_HOST_RECORD");
  if (record == nullptr) return 1;
  std::string line;
  for (int i = 1; i < argc; ++i) line += (i > 1 ? " " : "") + std::string(argv[i]);
  line += '\n';
  const int fd = ::open(record, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  if (fd < 0) return 1;
  const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  ::close(fd);
  return written ? 0 : 1;
}
