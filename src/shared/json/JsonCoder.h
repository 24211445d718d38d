// Writes records in Tessel's JSON form and reads them back strictly.
//
// A record becomes codable by declaring its keys in writing order:
//
//   template <> struct JsonFields<MenuDestination> {
//     static constexpr auto fields = std::tuple(jsonField("name", &MenuDestination::name), ...);
//   };
//
// Writing: compact, keys in that order, absent optionals omitted. Reading: every non-optional
// key required with its JSON type (a missing key, null or another type fails the whole
// record), a missing key or null leaves an optional absent, unknown keys are ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "json/JsonText.h"
#include "records/ConflictPolicy.h"
#include "records/Uuid.h"
#include "records/Values.h"

namespace tessel {

template <class Record, class Member>
struct JsonField {
  const char* key;
  Member Record::*member;
};

template <class Record, class Member>
constexpr JsonField<Record, Member> jsonField(const char* key, Member Record::*member) {
  return {key, member};
}

template <class Record>
struct JsonFields;

template <class T>
concept JsonRecord = requires {
  JsonFields<T>::fields;
};

// Where and why a read failed; turned into a localized DecodingError.
class JsonDecodeContext {
 public:
  enum class Problem { missingKey, nullValue, wrongType, invalidValue, tooDeep, nulCharacter };

  void enter(std::string_view key);
  void enterIndex(size_t index);
  void leave() { path_.pop_back(); }
  size_t depth() const { return path_.size(); }
  [[noreturn]] void fail(Problem problem, std::string_view expected = {}) const;

 private:
  std::vector<std::string> path_;
};

[[noreturn]] void throwMalformedJson(size_t bytePosition);
[[noreturn]] void throwNumberTooLarge();

namespace json_detail {

// Records nest (a destination's children); deeper input is refused before it can exhaust the
// stack.
constexpr size_t kMaxDepth = 64;

void write(std::string& out, const std::string& value);
void write(std::string& out, bool value);
void write(std::string& out, std::int64_t value);
void write(std::string& out, const Uuid& value);
void write(std::string& out, const Timestamp& value);
void write(std::string& out, const Bytes& value);
void write(std::string& out, ConflictPolicy value);
template <class T>
void write(std::string& out, const std::vector<T>& list);
template <JsonRecord T>
void write(std::string& out, const T& record);

void read(const nlohmann::json& j, std::string& value, JsonDecodeContext& context);
void read(const nlohmann::json& j, bool& value, JsonDecodeContext& context);
void read(const nlohmann::json& j, std::int64_t& value, JsonDecodeContext& context);
void read(const nlohmann::json& j, Uuid& value, JsonDecodeContext& context);
void read(const nlohmann::json& j, Timestamp& value, JsonDecodeContext& context);
void read(const nlohmann::json& j, Bytes& value, JsonDecodeContext& context);
void read(const nlohmann::json& j, ConflictPolicy& value, JsonDecodeContext& context);
template <class T>
void read(const nlohmann::json& j, std::vector<T>& list, JsonDecodeContext& context);
template <JsonRecord T>
void read(const nlohmann::json& j, T& record, JsonDecodeContext& context);

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

template <class T>
void write(std::string& out, const std::vector<T>& list) {
  out += '[';
  for (size_t i = 0; i < list.size(); ++i) {
    if (i > 0) out += ',';
    write(out, list[i]);
  }
  out += ']';
}

template <JsonRecord T>
void write(std::string& out, const T& record) {
  out += '{';
  bool first = true;
  std::apply(
      [&](const auto&... field) {
        const auto writeField = [&](const auto& f) {
          const auto& value = record.*(f.member);
          using Value = std::decay_t<decltype(value)>;
          if constexpr (IsOptional<Value>::value) {
            if (!value) return;
          }
          if (!first) out += ',';
          first = false;
          appendJsonString(out, f.key);
          out += ':';
          if constexpr (IsOptional<Value>::value) {
            write(out, *value);
          } else {
            write(out, value);
          }
        };
        (writeField(field), ...);
      },
      JsonFields<T>::fields);
  out += '}';
}

template <class T>
void read(const nlohmann::json& j, std::vector<T>& list, JsonDecodeContext& context) {
  if (!j.is_array()) context.fail(JsonDecodeContext::Problem::wrongType, "array");
  list.clear();
  list.reserve(j.size());
  for (size_t i = 0; i < j.size(); ++i) {
    context.enterIndex(i);
    read(j[i], list.emplace_back(), context);
    context.leave();
  }
}

template <JsonRecord T>
void read(const nlohmann::json& j, T& record, JsonDecodeContext& context) {
  if (!j.is_object()) context.fail(JsonDecodeContext::Problem::wrongType, "object");
  if (context.depth() > kMaxDepth) context.fail(JsonDecodeContext::Problem::tooDeep);
  std::apply(
      [&](const auto&... field) {
        const auto readField = [&](const auto& f) {
          auto& value = record.*(f.member);
          using Value = std::decay_t<decltype(value)>;
          const auto found = j.find(f.key);
          context.enter(f.key);
          if constexpr (IsOptional<Value>::value) {
            if (found == j.end() || found->is_null()) {
              value.reset();
            } else {
              read(*found, value.emplace(), context);
            }
          } else {
            if (found == j.end()) context.fail(JsonDecodeContext::Problem::missingKey);
            if (found->is_null()) context.fail(JsonDecodeContext::Problem::nullValue);
            read(*found, value, context);
          }
          context.leave();
        };
        (readField(field), ...);
      },
      JsonFields<T>::fields);
}

}  // namespace json_detail

// The record's JSON bytes. Throws TesselError when a string is not valid UTF-8.
template <JsonRecord T>
std::string encodeJson(const T& record) {
  std::string out;
  json_detail::write(out, record);
  return out;
}

// The record held in `bytes`. Throws DecodingError, with a localized description naming the
// offending key, when the bytes are not exactly such a record.
template <JsonRecord T>
T decodeJson(std::string_view bytes) {
  nlohmann::json document;
  try {
    document = nlohmann::json::parse(bytes);
  } catch (const nlohmann::json::parse_error& error) {
    throwMalformedJson(error.byte);
  } catch (const nlohmann::json::out_of_range&) {
    // The parser's only other failure: a number too large for any double ("1e999").
    throwNumberTooLarge();
  }
  T record{};
  JsonDecodeContext context;
  json_detail::read(document, record, context);
  return record;
}

}  // namespace tessel
