// Splitting small system text files (".hidden" lists) into their pieces.
#pragma once

#include <string_view>
#include <vector>

namespace tessel {

// The non-empty pieces of `text` between occurrences of `separator`, in order.
std::vector<std::string_view> splitText(std::string_view text, char separator);

}  // namespace tessel
