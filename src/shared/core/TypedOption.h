// What a user typed for the option getopt_long(3) just refused, for the error message: the
// long name without any "=value", or the short letter.
#pragma once

#include <string>

namespace tessel {

// `argv` and `optionIndex` as getopt_long left them (optind), `shortOption` its optopt.
std::string typedOption(char* const* argv, int optionIndex, int shortOption);

}  // namespace tessel
