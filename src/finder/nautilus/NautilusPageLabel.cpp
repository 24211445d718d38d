#include "NautilusPageLabel.h"

#include <atomic>
#include <cstdint>

namespace tessel {

std::string nautilusPageLabel(const std::string& title) {
  static std::atomic<std::uint64_t> pages{0};
  std::string label = title;
  for (std::uint64_t number = ++pages; number; number >>= 1) {
    label += number & 1 ? "\u2060" : "\u200B";
  }
  return label;
}

}  // namespace tessel
