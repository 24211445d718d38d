#include "engine/KeepBothName.h"

#include <algorithm>
#include <array>

namespace tessel {
namespace {

// U+061C, U+200E, U+200F, U+202A to U+202E and U+2066 to U+2069 in UTF-8: marks that reorder
// how a name is shown, so text holding one is not treated as an extension.
constexpr std::array<std::string_view, 12> kBidirectionalMarks{
    "\xD8\x9C",     "\xE2\x80\x8E", "\xE2\x80\x8F", "\xE2\x80\xAA", "\xE2\x80\xAB", "\xE2\x80\xAC",
    "\xE2\x80\xAD", "\xE2\x80\xAE", "\xE2\x81\xA6", "\xE2\x81\xA7", "\xE2\x81\xA8", "\xE2\x81\xA9"};

bool canBeExtension(std::string_view text) {
  if (text.empty() || text.find(' ') != std::string_view::npos) return false;
  for (std::string_view mark : kBidirectionalMarks) {
    if (text.find(mark) != std::string_view::npos) return false;
  }
  return true;
}

// The longest prefix of `text` of at most `bytes` bytes that does not cut a UTF-8 sequence.
std::string_view wholeCharacters(std::string_view text, size_t bytes) {
  if (text.size() <= bytes) return text;
  while (bytes > 0 && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) --bytes;
  return text.substr(0, bytes);
}

}  // namespace

NameParts splitPathExtension(std::string_view name) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || dot == 0 || name.starts_with("..") ||
      !canBeExtension(name.substr(dot + 1))) {
    return {std::string(name), {}};
  }
  return {std::string(name.substr(0, dot)), std::string(name.substr(dot + 1))};
}

std::string numberedName(const NameParts& parts, long long n) {
  const std::string number = " (" + std::to_string(n) + ")";
  const std::string extension = parts.extension.empty() ? "" : "." + parts.extension;
  if (parts.stem.size() + number.size() + extension.size() <= kMaxNameBytes) {
    return parts.stem + number + extension;
  }
  // Too long for the file system: the stem gives way, so that the number and the extension
  // stay whole. An extension that leaves no room for any of the stem is cut with it instead.
  const size_t room = kMaxNameBytes - std::min(kMaxNameBytes, number.size() + extension.size());
  if (const std::string_view stem = wholeCharacters(parts.stem, room); !stem.empty()) {
    return std::string(stem) + number + extension;
  }
  const std::string whole = parts.stem + extension;
  return std::string(wholeCharacters(whole, kMaxNameBytes - number.size())) + number;
}

}  // namespace tessel
