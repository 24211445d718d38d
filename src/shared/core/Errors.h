// The error types that cross Tessel's code. Every failure is thrown; what() is the text shown
// to the user (already in the user's language) and written to the log.
#pragma once

#include <stdexcept>
#include <string>

namespace tessel {

// Tessel's own failures: one case, `invalid`, carrying a message already chosen with
// localizedText() where the error is raised.
class TesselError : public std::runtime_error {
 public:
  static TesselError invalid(const std::string& message) { return TesselError(message); }

 private:
  explicit TesselError(const std::string& message) : std::runtime_error(message) {}
};

// A failure of the operating system, with its errno and a description that names the path(s)
// involved and ends with the strerror text. Never wrapped in TesselError.
class PlatformError : public std::runtime_error {
 public:
  PlatformError(int code, const std::string& description)
      : std::runtime_error(description), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

// Stored JSON that cannot be read as the record it should hold.
class DecodingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tessel
