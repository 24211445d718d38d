#include "TempFolder.h"

#include <stdlib.h>

#include <stdexcept>

#include "path/PathText.h"
#include "platform/Platform.h"

namespace tessel::testing {

TempFolder::TempFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/tessel-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempFolder::~TempFolder() {
  try {
    Platform::standard().removeItem(path_);
  } catch (...) {
    // Leftovers in /tmp are harmless; a destructor must not throw.
  }
}

std::string TempFolder::file(const std::string& relative, const std::string& content) const {
  const std::string path = at(relative);
  Platform::standard().createDirectories(parentPath(path));
  Platform::standard().writeFileAtomically(path, content, Durability::atomic);
  return path;
}

std::string TempFolder::folder(const std::string& relative) const {
  const std::string path = at(relative);
  Platform::standard().createDirectories(path);
  return path;
}

}  // namespace tessel::testing
