// The pieces of Tessel's JSON output form: compact, "/" escaped as "\/", non-ASCII written as
// it is, numbers in their shortest exact form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tessel {

// Appends `text` as a JSON string. Throws TesselError when `text` is not valid UTF-8: JSON
// cannot carry such bytes, and replacing them would make Tessel act on a different path.
void appendJsonString(std::string& out, std::string_view text);

// The shortest decimal that reads back as `value`, never in exponent notation, with ".0" when
// it has no fraction (12.5 -> "12.5", 3 -> "3.0"). Throws TesselError for infinities and NaN.
std::string shortestDecimal(double value);

// Standard Base64 with "=" padding and no line breaks.
std::string base64Encode(std::string_view bytes);
// Strict decoding: padding required, no whitespace; false for anything else.
bool base64Decode(std::string_view text, std::string& bytes);

}  // namespace tessel
