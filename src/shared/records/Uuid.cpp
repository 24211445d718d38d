#include "records/Uuid.h"

#include <random>

namespace tessel {
namespace {

constexpr bool isHyphenPosition(size_t i) {
  return i == 8 || i == 13 || i == 18 || i == 23;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

Uuid Uuid::random() {
  // std::random_device reads the kernel's entropy; identifiers must not repeat across processes.
  thread_local std::random_device device;
  std::array<std::uint8_t, 16> bytes;
  for (size_t i = 0; i < bytes.size(); i += 4) {
    const std::uint32_t word = device();
    for (size_t k = 0; k < 4; ++k) bytes[i + k] = static_cast<std::uint8_t>(word >> (8 * k));
  }
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  return Uuid(bytes);
}

std::optional<Uuid> Uuid::parse(std::string_view text) {
  if (text.size() != 36) return std::nullopt;
  std::array<std::uint8_t, 16> bytes{};
  size_t nibble = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (isHyphenPosition(i)) {
      if (text[i] != '-') return std::nullopt;
      continue;
    }
    const int value = hexValue(text[i]);
    if (value < 0) return std::nullopt;
    bytes[nibble / 2] =
        static_cast<std::uint8_t>(bytes[nibble / 2] | (nibble % 2 ? value : value << 4));
    ++nibble;
  }
  return Uuid(bytes);
}

std::string Uuid::string() const {
  static const char kHex[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(36);
  for (size_t i = 0; i < bytes_.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    text += kHex[bytes_[i] >> 4];
    text += kHex[bytes_[i] & 0x0F];
  }
  return text;
}

}  // namespace tessel
