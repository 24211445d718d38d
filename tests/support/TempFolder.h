// A fresh folder under $TMPDIR (or /tmp) for one test, removed with everything in it at the end.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <stdexcept>
#include <string>

#include "path/PathText.h"
#include "platform/Platform.h"

namespace tessel::testing {

class TempFolder {
 public:
  TempFolder() {
    const char* base = std::getenv("TMPDIR");
    path_ = std::string(base && *base ? base : "/tmp") + "/tessel-test-XXXXXX";
    if (::mkdtemp(path_.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  }
  ~TempFolder() {
    try {
      Platform::standard().removeItem(path_);
    } catch (...) {
      // Leftovers in /tmp are harmless; a destructor must not throw.
    }
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // `relative` inside the folder.
  std::string at(const std::string& relative) const { return path_ + "/" + relative; }
  // Writes a file (making its folders) and returns its path.
  std::string file(const std::string& relative, const std::string& content = "") const {
    const std::string path = at(relative);
    Platform::standard().createDirectories(parentPath(path));
    Platform::standard().writeFileAtomically(path, content, Durability::atomic);
    return path;
  }
  std::string folder(const std::string& relative) const {
    Platform::standard().createDirectories(at(relative));
    return at(relative);
  }
  // Makes a symbolic link to `target` and returns its path.
  std::string link(const std::string& target, const std::string& relative) const {
    if (::symlink(target.c_str(), at(relative).c_str()) != 0) throw std::runtime_error(relative);
    return at(relative);
  }

 private:
  std::string path_;
};

}  // namespace tessel::testing
