#include "records/RecordCoding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ErrorText.h"
#include "ScopedLanguage.h"
#include "core/Errors.h"

namespace tessel {
namespace {

using ::testing::HasSubstr;
using testing::ScopedLanguage;
const std::string kIdText = "5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B";
const Uuid kId = *Uuid::parse(kIdText);
const MoveRequest kRequest{
    kId, Timestamp{786300000.25}, {"/Users/a/report.pdf"}, "/Users/a/Archive", true, {}};

template <class T>
std::string decodeError(std::string_view json) {
  return testing::errorOf([&] { decodeJson<T>(json); });
}

TEST(RecordCoding, EveryRecordHasItsGoldenForm) {
  const std::string request = R"({"id":")" + kIdText +
                              R"(","created":786300000.25,"sources":["\/Users\/a\/report.pdf"],)"
                              R"("destination":"\/Users\/a\/Archive","hierarchical":true})";
  EXPECT_EQ(encodeJson(kRequest), request);
  EXPECT_EQ(decodeJson<MoveRequest>(request), kRequest);
  EXPECT_EQ(encodeJson(MoveRequest{kId, Timestamp{1.0}, {}, "", false, "undo"}),
            R"({"id":")" + kIdText +
                R"(","created":1.0,"sources":[],)"
                R"("destination":"","hierarchical":false,"operation":"undo"})");

  const MenuDestination leaf{"2026", "/a/2026", {}};
  EXPECT_EQ(encodeJson(MenuSnapshot{{"/a"}, {{"A", "/a", {leaf}}}, {leaf}}),
            R"({"roots":["\/a"],"favorites":[{"name":"A","path":"\/a","children":[{"name":"2026",)"
            R"("path":"\/a\/2026","children":[]}]}],"recent":[{"name":"2026","path":"\/a\/2026",)"
            R"("children":[]}]})");
  const FolderGrant grant{kId, "書類", "/a/書類", Bytes{std::string("\x00\xffgrant", 7)}};
  EXPECT_EQ(
      encodeJson(grant),
      R"({"id":")" + kIdText + R"(","name":"書類","path":"\/a\/書類","bookmark":"AP9ncmFudA=="})");
  EXPECT_EQ(decodeJson<FolderGrant>(encodeJson(grant)), grant);
  EXPECT_EQ(encodeJson(MoveJournal{kId, {1.5}, {{"/a", "/b", "1:2:0.0", true}}}),
            R"({"id":")" + kIdText +
                R"(","date":1.5,"entries":[{"source":"\/a","destination":)"
                R"("\/b","identity":"1:2:0.0","pending":true}]})");
  EXPECT_EQ(encodeJson(MoveResult{3, 1, std::nullopt}), R"({"moved":3,"skipped":1})");
  EXPECT_EQ(encodeJson(MoveResult{0, 0, "Disk \"x\" full\n"}),
            R"({"moved":0,"skipped":0,"failure":"Disk \"x\" full\n"})");
  // A path that is not UTF-8 (Latin-1 bytes, as old archives hold) has no written form.
  MoveRequest latin1 = kRequest;
  latin1.sources.push_back("/home/a/caf\xe9.txt");
  EXPECT_THAT(testing::errorOf([&] { encodeJson(latin1); }), HasSubstr("/home/a/caf\\xE9.txt"));
}

TEST(RecordCoding, RefusesRecordsThatAreNotExactlyRight) {
  const std::string id = R"({"id":")" + kIdText + R"(")";
  const std::string rest = R"("sources":[],"destination":"","hierarchical":false})";
  const auto request = [](const std::string& json) { return decodeError<MoveRequest>(json); };
  const auto snapshot = [](const std::string& json) { return decodeError<MenuSnapshot>(json); };
  const auto grant = [](const std::string& json) { return decodeError<FolderGrant>(json); };
  // Menus nested 32 deep (64 keys and indices) read; one more does not.
  const auto nested = [](int levels) {
    std::string json = R"({"name":"a","path":"\/a","children":[]})";
    for (int i = 0; i < levels; ++i)
      json = R"({"name":"a","path":"\/a","children":[)" + json + "]}";
    return decodeError<MenuDestination>(json);
  };
  // Each case: the error, and a part it must name ("" when any error will do).
  const std::vector<std::pair<std::string, std::string>> cases{
      // Missing, null and wrong-typed required keys fail the whole record.
      {snapshot(R"({"roots":[],"favorites":[]})"), "\"recent\""},
      {snapshot(R"({"roots":[],"favorites":[],"recent":null})"), ""},
      {decodeError<MenuDestination>(R"({"name":"a","path":"\/a"})"), ""},
      {request(id + R"(,"created":1,"sources":[],"destination":"","hierarchical":"true"})"), ""},
      {request(id + R"(,"created":1,"sources":["\/a",7],"destination":"","hierarchical":false})"),
       "sources[1]"},
      // Timestamps are numbers only; identifiers are the 36-character form only.
      {request(id + R"(,"created":"2026-01-01T00:00:00Z",)" + rest), ""},
      {request(R"({"id":"5A0C3E2B9D414F6A8B7E1C2D3E4F5A6B","created":1,)" + rest), ""},
      {request(R"({"id":"5A0C3E2B-9D41-4F6A-8B7E+1C2D3E4F5A6B","created":1,)" + rest), ""},
      {request(R"({"id":"{5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B}","created":1,)" + rest), ""},
      {request(id + R"(,"created":1e999,)" + rest),
       "The data couldn’t be read because it isn’t in the correct format: it holds a number too "
       "large to read."},
      // A NUL would cut the path short where the system reads it.
      {request(id + R"(,"created":1,"sources":["\/a.txt\u0000x"],"destination":"",)"
                    R"("hierarchical":false})"),
       "The data couldn’t be read because it isn’t in the correct format: \"sources[0]\" "
       "contains a NUL character."},
      {decodeError<MoveJournal>(id + R"(,"date":1,"entries":[{"source":"\/a","destination":)"
                                     R"("\/b\u0000","identity":"1:2:0.0","pending":true}]})"),
       "\"entries[0].destination\" contains a NUL"},
      {grant(id + R"(,"name":"a","path":"\/a\u0000","bookmark":""})"), "\"path\" contains a NUL"},
      // Bytes must be padded Base64.
      {grant(id + R"(,"name":"a","path":"\/a","bookmark":"AP9"})"), ""},
      {grant(id + R"(,"name":"a","path":"\/a","bookmark":"A P9="})"), ""},
      // Not JSON, not an object, or nested deeper than any menu.
      {snapshot(""), "JSON"},
      {snapshot("[]"), ""},
      {snapshot(R"({"roots":[],"favorites":[],"recent":[]} x)"), ""},
      {nested(33), "nested"},
  };
  for (const auto& [error, named] : cases) {
    EXPECT_NE(error, "");
    EXPECT_THAT(error, HasSubstr(named));
  }
  EXPECT_EQ(nested(32), "");
  const ScopedLanguage japanese("ja");
  EXPECT_EQ(
      request(id + R"(,"created":1,"sources":["\u0000"],"destination":"",)"
                   R"("hierarchical":false})"),
      "データの形式が正しくないため読み込めません: 「sources[0]」にNUL文字が含まれています。");
  EXPECT_EQ(request(id + R"(,"created":-1e999,)" + rest),
            "データの形式が正しくないため読み込めません: 読み取れないほど大きな数値があります。");
}

TEST(RecordCoding, ConflictPolicyIsReadOnlyFromItsExactRawValue) {
  EXPECT_EQ(conflictPolicyFromRawValue("keepBoth"), ConflictPolicy::keepBoth);
  EXPECT_EQ(conflictPolicyFromRawValue("skip"), ConflictPolicy::skip);
  for (const char* raw : {"Skip", "keepboth", "skip ", "replace"}) {
    EXPECT_FALSE(conflictPolicyFromRawValue(raw).has_value()) << raw;
  }
}

TEST(JsonText, StringsNumbersAndBytesAreWrittenExactlyAsStored) {
  std::string out;
  appendJsonString(out, "a/b\"c\\d\x01\x1F\t é→");
  EXPECT_EQ(out, "\"a\\/b\\\"c\\\\d\\u0001\\u001f\\t é→\"");
  // Only well-formed UTF-8 is written: no overlong forms, surrogates or code points past U+10FFFF.
  EXPECT_NO_THROW(appendJsonString(out, "\xF0\x9F\x99\x82 \xF4\x8F\xBF\xBF"));
  for (const char* invalid : {"\xC0\xAF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80",
                              "\xF5\x80\x80\x80", "\xE2\x82"}) {
    EXPECT_THROW(appendJsonString(out, invalid), TesselError) << invalid;
  }
  for (const auto& [number, text] :
       std::vector<std::pair<double, std::string>>{{12.5, "12.5"},
                                                   {3, "3.0"},
                                                   {0.1, "0.1"},
                                                   {1767225600.123456, "1767225600.123456"},
                                                   {1e21, "1000000000000000000000.0"},
                                                   {1e-7, "0.0000001"}}) {
    EXPECT_EQ(shortestDecimal(number), text);
  }
  EXPECT_THROW(shortestDecimal(1.0 / 0.0), TesselError);
  std::string bytes, decoded;
  for (int length = 0; length < 10; ++length) {
    ASSERT_TRUE(base64Decode(base64Encode(bytes), decoded));
    EXPECT_EQ(decoded, bytes);
    bytes += static_cast<char>(0xF0 + length);
  }
  EXPECT_EQ(base64Encode("Ma"), "TWE=");
  EXPECT_FALSE(base64Decode("TW=u", decoded));
  EXPECT_FALSE(base64Decode("TWE=TWFu", decoded));
}

}  // namespace
}  // namespace tessel
