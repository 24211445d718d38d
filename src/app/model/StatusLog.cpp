#include "model/StatusLog.h"

#include <unistd.h>

#include <cstdio>

namespace tessel {

void logStatus(const std::string& status, Platform& platform) {
  platform.log(status);
  static const bool terminal = ::isatty(STDERR_FILENO) == 1;
  if (terminal) std::fprintf(stderr, "tessel: %s\n", status.c_str());
}

}  // namespace tessel
