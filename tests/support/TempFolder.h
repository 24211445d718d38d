// A fresh folder under $TMPDIR (or /tmp) for one test, removed with everything in it at the end.
#pragma once

#include <string>

namespace tessel::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  // `relative` inside the folder.
  std::string at(const std::string& relative) const { return path_ + "/" + relative; }
  // Writes a file (making its folders) and returns its path.
  std::string file(const std::string& relative, const std::string& content = "") const;
  std::string folder(const std::string& relative) const;

 private:
  std::string path_;
};

}  // namespace tessel::testing
