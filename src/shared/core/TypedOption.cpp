#include "core/TypedOption.h"

namespace tessel {

std::string typedOption(char* const* argv, int optionIndex, int shortOption) {
  const std::string typed = argv[optionIndex - 1];
  if (typed.rfind("--", 0) == 0) return typed.substr(0, typed.find('='));
  return std::string("-") + static_cast<char>(shortOption);
}

}  // namespace tessel
