#include "json/JsonText.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "core/DisplayPath.h"
#include "core/Errors.h"
#include "core/Localization.h"

namespace tessel {
namespace {

constexpr char kBase64Alphabet[] =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

}  // namespace

void appendJsonString(std::string& out, std::string_view text) {
  if (!isValidUtf8(text)) {
    throw TesselError::invalid(
        formatText(localizedText("「%@」はUTF-8で表せない名前を含むため、Tesselでは扱えません。",
                                 "\"%@\" contains a name that is not valid UTF-8, so Tessel "
                                 "cannot handle it."),
                   {displayPath(text)}));
  }
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '/':
        out += "\\/";
        break;
      case '\b':
        out += "\\b";
        break;
      case '\f':
        out += "\\f";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

std::string shortestDecimal(double value) {
  if (!std::isfinite(value)) {
    throw TesselError::invalid(
        localizedText("数値を保存できません。", "The number cannot be stored."));
  }
  char buffer[400];  // fixed notation of the largest double needs 309 digits
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text(buffer, result.ptr);
  if (text.find('.') == std::string::npos) text += ".0";
  return text;
}

std::string base64Encode(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned n = static_cast<unsigned char>(bytes[i]) << 16 |
                       static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kBase64Alphabet[n >> 18];
    out += kBase64Alphabet[(n >> 12) & 63];
    out += kBase64Alphabet[(n >> 6) & 63];
    out += kBase64Alphabet[n & 63];
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kBase64Alphabet[n >> 18];
    out += kBase64Alphabet[(n >> 12) & 63];
    out += rest == 2 ? kBase64Alphabet[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

bool base64Decode(std::string_view text, std::string& bytes) {
  if (text.size() % 4 != 0) return false;
  bytes.clear();
  bytes.reserve(text.size() / 4 * 3);
  for (size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    const size_t padding = last ? (text[i + 3] == '=') + (text[i + 2] == '=') : 0;
    if (padding == 1 && text[i + 2] == '=') return false;  // "x=y=" is not padding
    unsigned n = 0;
    for (size_t k = 0; k < 4; ++k) {
      const bool padded = k >= 4 - padding;
      const int value = padded ? 0 : base64Value(text[i + k]);
      if (value < 0) return false;
      n = n << 6 | static_cast<unsigned>(value);
    }
    bytes += static_cast<char>(n >> 16);
    if (padding < 2) bytes += static_cast<char>((n >> 8) & 0xFF);
    if (padding < 1) bytes += static_cast<char>(n & 0xFF);
  }
  return true;
}

}  // namespace tessel
