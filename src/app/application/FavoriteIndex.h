// The favourite that a Services entry names in its user data: "favorite:" and a zero-based
// index.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace tessel {

// The index when `userData` is "favorite:" followed by a decimal signed 64-bit integer (an
// optional "+" or "-", then digits only); none for anything else, including a value out of
// range.
std::optional<std::int64_t> favoriteIndex(const std::optional<QString>& userData);

}  // namespace tessel
