#include "json/JsonCoder.h"

#include <cmath>

#include "core/Errors.h"
#include "core/Localization.h"

namespace tessel {
namespace {

[[noreturn]] void throwDecodingError(const std::string& detail) {
  throw DecodingError(formatText(
      localizedText("データの形式が正しくないため読み込めません: %@。",
                    "The data couldn’t be read because it isn’t in the correct format: %@."),
      {detail}));
}

}  // namespace

void JsonDecodeContext::enter(std::string_view key) {
  path_.push_back(path_.empty() ? std::string(key) : "." + std::string(key));
}

void JsonDecodeContext::enterIndex(size_t index) {
  path_.push_back("[" + std::to_string(index) + "]");
}

void JsonDecodeContext::fail(Problem problem, std::string_view expected) const {
  std::string where;
  for (const std::string& part : path_) where += part;
  if (where.empty()) where = localizedText("最上位", "top level");
  switch (problem) {
    case Problem::missingKey:
      throwDecodingError(formatText(
          localizedText("キー「%@」がありません", "the key \"%@\" is missing"), {where}));
    case Problem::nullValue:
      throwDecodingError(formatText(localizedText("「%@」がnullです", "\"%@\" is null"), {where}));
    case Problem::wrongType:
      throwDecodingError(
          formatText(localizedText("「%@」は%@であるべきです", "\"%@\" should be of type %@"),
                     {where, std::string(expected)}));
    case Problem::invalidValue:
      throwDecodingError(formatText(
          localizedText("「%@」の値が正しくありません", "\"%@\" has an invalid value"), {where}));
    case Problem::tooDeep:
      throwDecodingError(formatText(
          localizedText("「%@」の入れ子が深すぎます", "\"%@\" is nested too deeply"), {where}));
    case Problem::nulCharacter:
      throwDecodingError(formatText(
          localizedText("「%@」にNUL文字が含まれています", "\"%@\" contains a NUL character"),
          {where}));
  }
  throwDecodingError(where);
}

void throwMalformedJson(size_t bytePosition) {
  throwDecodingError(formatText(
      localizedText("%@バイト目でJSONとして正しくありません", "it is not valid JSON at byte %@"),
      {std::to_string(bytePosition)}));
}

void throwNumberTooLarge() {
  throwDecodingError(
      localizedText("読み取れないほど大きな数値があります", "it holds a number too large to read"));
}

namespace json_detail {

using Problem = JsonDecodeContext::Problem;

void write(std::string& out, const std::string& value) {
  appendJsonString(out, value);
}
void write(std::string& out, bool value) {
  out += value ? "true" : "false";
}
void write(std::string& out, std::int64_t value) {
  out += std::to_string(value);
}
void write(std::string& out, const Uuid& value) {
  appendJsonString(out, value.string());
}
void write(std::string& out, const Timestamp& value) {
  out += shortestDecimal(value.sinceReferenceDate);
}
void write(std::string& out, const Bytes& value) {
  appendJsonString(out, base64Encode(value.data));
}
void write(std::string& out, ConflictPolicy value) {
  appendJsonString(out, rawValue(value));
}

void read(const nlohmann::json& j, std::string& value, JsonDecodeContext& context) {
  if (!j.is_string()) context.fail(Problem::wrongType, "string");
  value = j.get<std::string>();
  // No name or path holds NUL: the system would read such a path only up to it, and act on
  // another item than the one stored.
  if (value.find('\0') != std::string::npos) context.fail(Problem::nulCharacter);
}

void read(const nlohmann::json& j, bool& value, JsonDecodeContext& context) {
  if (!j.is_boolean()) context.fail(Problem::wrongType, "boolean");
  value = j.get<bool>();
}

void read(const nlohmann::json& j, std::int64_t& value, JsonDecodeContext& context) {
  if (j.is_number_unsigned()) {
    const auto number = j.get<std::uint64_t>();
    if (number > static_cast<std::uint64_t>(INT64_MAX)) context.fail(Problem::invalidValue);
    value = static_cast<std::int64_t>(number);
  } else if (j.is_number_integer()) {
    value = j.get<std::int64_t>();
  } else if (j.is_number_float()) {
    // 5.0 is an integer written as a double; 5.5 and 1e300 are not integers.
    const double number = j.get<double>();
    if (!(std::trunc(number) == number && std::fabs(number) < 9.2e18)) {
      context.fail(Problem::invalidValue);
    }
    value = static_cast<std::int64_t>(number);
  } else {
    context.fail(Problem::wrongType, "number");
  }
}

void read(const nlohmann::json& j, Uuid& value, JsonDecodeContext& context) {
  if (!j.is_string()) context.fail(Problem::wrongType, "string");
  const std::optional<Uuid> parsed = Uuid::parse(j.get_ref<const std::string&>());
  if (!parsed) context.fail(Problem::invalidValue);
  value = *parsed;
}

void read(const nlohmann::json& j, Timestamp& value, JsonDecodeContext& context) {
  if (!j.is_number()) context.fail(Problem::wrongType, "number");
  const double seconds = j.get<double>();
  if (!std::isfinite(seconds)) context.fail(Problem::invalidValue);
  value = Timestamp{seconds};
}

void read(const nlohmann::json& j, Bytes& value, JsonDecodeContext& context) {
  if (!j.is_string()) context.fail(Problem::wrongType, "string");
  if (!base64Decode(j.get_ref<const std::string&>(), value.data)) {
    context.fail(Problem::invalidValue);
  }
}

void read(const nlohmann::json& j, ConflictPolicy& value, JsonDecodeContext& context) {
  if (!j.is_string()) context.fail(Problem::wrongType, "string");
  const std::optional<ConflictPolicy> policy =
      conflictPolicyFromRawValue(j.get_ref<const std::string&>());
  if (!policy) context.fail(Problem::invalidValue);
  value = *policy;
}

}  // namespace json_detail
}  // namespace tessel
