#include <iostream>

#include "CommandLine.h"

int main(int argc, char** argv) {
  return tessel::runTesselFinder(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr);
}
