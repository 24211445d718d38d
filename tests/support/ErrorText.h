// The text of the error a call throws, so that a table can hold a refusal next to its cause.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace tessel::testing {

// What `call` throws, as text; empty when it throws nothing.
inline std::string errorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::exception& error) {
    return error.what();
  }
  return {};
}

}  // namespace tessel::testing
