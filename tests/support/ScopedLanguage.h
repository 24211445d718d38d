// Switches the user's language for one scope: every text the code under test looks up follows
// LANGUAGE, as it does for a user.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace tessel::testing {

class ScopedLanguage {
 public:
  explicit ScopedLanguage(const char* language) {
    if (const char* current = std::getenv("LANGUAGE")) previous_ = current;
    ::setenv("LANGUAGE", language, 1);
  }
  ~ScopedLanguage() {
    if (previous_) {
      ::setenv("LANGUAGE", previous_->c_str(), 1);
    } else {
      ::unsetenv("LANGUAGE");
    }
  }
  ScopedLanguage(const ScopedLanguage&) = delete;
  ScopedLanguage& operator=(const ScopedLanguage&) = delete;

 private:
  std::optional<std::string> previous_;
};

}  // namespace tessel::testing
