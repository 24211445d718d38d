#include "application/FavoriteIndex.h"

#include <charconv>
#include <string>

namespace tessel {

std::optional<std::int64_t> favoriteIndex(const std::optional<QString>& userData) {
  static const QString kPrefix = QStringLiteral("favorite:");
  if (!userData || !userData->startsWith(kPrefix)) return std::nullopt;
  std::string digits = userData->mid(kPrefix.size()).toStdString();
  if (digits.empty()) return std::nullopt;
  // from_chars takes a "-" but not a "+"; a "+" may only stand before digits.
  if (digits.front() == '+') {
    digits.erase(0, 1);
    if (digits.empty() || digits.front() == '-') return std::nullopt;
  }
  std::int64_t index = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, index);
  if (error != std::errc() || stop != end) return std::nullopt;
  return index;
}

}  // namespace tessel
