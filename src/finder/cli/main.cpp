#include <iostream>

#include "CommandLine.h"
#include "platform/SystemLog.h"

int main(int argc, char** argv) {
  // tessel-finder prints every failure on standard error itself, whatever the log does with it.
  tessel::SystemLog::leaveStandardErrorAlone();
  return tessel::runTesselFinder(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr);
}
