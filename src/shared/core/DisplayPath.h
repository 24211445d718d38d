// Paths are bytes on Linux and need not be valid UTF-8. Messages show such bytes as \xNN so the
// user can still tell which item is meant; nothing is silently replaced.
#pragma once

#include <string>
#include <string_view>

namespace tessel {

bool isValidUtf8(std::string_view text);

// `text` unchanged when it is valid UTF-8; otherwise each byte that is not part of a valid
// UTF-8 sequence written as \xNN (upper-case hex).
std::string displayPath(std::string_view text);

}  // namespace tessel
