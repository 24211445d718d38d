// Starting a program that lives on independently of the process that started it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessel {

// Starts `executable` with `arguments` in a session of its own: the caller may exit or never
// wait, and leaves no zombie behind. Returns the errno of a failure to start it (including a
// failed exec), none once the program runs. Safe to call from any thread.
std::optional<int> startDetached(const std::string& executable,
                                 const std::vector<std::string>& arguments);

}  // namespace tessel
