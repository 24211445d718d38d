// A 128-bit identifier, written in the canonical upper-case 8-4-4-4-12 form and read in either
// case.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessel {

class Uuid {
 public:
  Uuid() = default;
  explicit Uuid(const std::array<std::uint8_t, 16>& bytes) : bytes_(bytes) {}

  // A new random (version 4) identifier.
  static Uuid random();
  // Parses the 36-character hyphenated form, upper or lower case; none for anything else.
  static std::optional<Uuid> parse(std::string_view text);

  std::string string() const;  // upper case
  const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }

  friend auto operator<=>(const Uuid&, const Uuid&) = default;

 private:
  std::array<std::uint8_t, 16> bytes_{};
};

}  // namespace tessel
