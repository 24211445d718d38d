#include "records/RecordCoding.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "ErrorText.h"
#include "core/Errors.h"

namespace tessel {
namespace {

const Uuid kId = *Uuid::parse("5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B");

MoveRequest exampleRequest() {
  return MoveRequest{kId,
                     Timestamp{786300000.25},
                     {"/Users/a/Desktop/report.pdf"},
                     "/Users/a/Documents/Archive",
                     true,
                     std::nullopt};
}

template <class T>
std::string decodeError(std::string_view json) {
  return testing::errorOf([&] { decodeJson<T>(json); });
}

TEST(RecordCoding, MoveRequestMatchesTheStoredFormByteForByte) {
  const std::string golden =
      R"({"id":"5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B","created":786300000.25,)"
      R"("sources":["\/Users\/a\/Desktop\/report.pdf"],)"
      R"("destination":"\/Users\/a\/Documents\/Archive","hierarchical":true})";
  EXPECT_EQ(encodeJson(exampleRequest()), golden);
  EXPECT_EQ(decodeJson<MoveRequest>(golden), exampleRequest());

  MoveRequest undo{kId, Timestamp{1.0}, {}, "", false, "undo"};
  EXPECT_EQ(encodeJson(undo),
            R"({"id":"5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B","created":1.0,"sources":[],)"
            R"("destination":"","hierarchical":false,"operation":"undo"})");
}

TEST(RecordCoding, EveryRecordHasItsGoldenForm) {
  const MenuDestination leaf{"2026", "/home/a/Archive/2026", {}};
  const MenuSnapshot snapshot{{"/home/a"}, {{"Archive", "/home/a/Archive", {leaf}}}, {leaf}};
  EXPECT_EQ(encodeJson(snapshot),
            R"({"roots":["\/home\/a"],"favorites":[{"name":"Archive","path":"\/home\/a\/Archive",)"
            R"("children":[{"name":"2026","path":"\/home\/a\/Archive\/2026","children":[]}]}],)"
            R"("recent":[{"name":"2026","path":"\/home\/a\/Archive\/2026","children":[]}]})");
  EXPECT_EQ(encodeJson(MenuSnapshot{}), R"({"roots":[],"favorites":[],"recent":[]})");

  const FolderGrant grant{kId, "書類", "/home/a/書類", Bytes{std::string("\x00\xffgrant", 7)}};
  EXPECT_EQ(encodeJson(grant), R"({"id":"5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B","name":"書類",)"
                               R"("path":"\/home\/a\/書類","bookmark":"AP9ncmFudA=="})");
  EXPECT_EQ(decodeJson<FolderGrant>(encodeJson(grant)), grant);

  EXPECT_EQ(encodeJson(MoveResult{3, 1, std::nullopt}), R"({"moved":3,"skipped":1})");
  EXPECT_EQ(encodeJson(MoveResult{0, 0, "Disk \"x\" full\n"}),
            R"({"moved":0,"skipped":0,"failure":"Disk \"x\" full\n"})");
}

TEST(RecordCoding, ReadsWhatOtherWritersMayProduce) {
  // Any key order, unescaped slashes, lower-case UUIDs, unknown keys.
  const MoveRequest request = decodeJson<MoveRequest>(
      R"({"hierarchical":true,"destination":"/Users/a/Documents/Archive","extra":{"x":[1]},)"
      R"("sources":["/Users/a/Desktop/report.pdf"],"created":786300000.25,)"
      R"("id":"5a0c3e2b-9d41-4f6a-8b7e-1c2d3e4f5a6b"})");
  EXPECT_EQ(request, exampleRequest());
  EXPECT_EQ(request.id.string(), "5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B");
  // An integral timestamp, and a null optional that reads as absent and is omitted again.
  const MoveRequest undo =
      decodeJson<MoveRequest>(R"({"id":"5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B","created":5,)"
                              R"("sources":[],"destination":"","hierarchical":false,)"
                              R"("operation":null})");
  EXPECT_EQ(undo.created.sinceReferenceDate, 5.0);
  EXPECT_EQ(undo.operation, std::nullopt);
  EXPECT_EQ(encodeJson(undo).find("operation"), std::string::npos);
}

TEST(RecordCoding, RefusesRecordsThatAreNotExactlyRight) {
  const std::string id = R"({"id":"5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B")";
  const std::string rest = R"("sources":[],"destination":"","hierarchical":false})";
  const auto request = [](const std::string& json) { return decodeError<MoveRequest>(json); };
  const auto snapshot = [](const std::string& json) { return decodeError<MenuSnapshot>(json); };
  const auto grant = [](const std::string& json) { return decodeError<FolderGrant>(json); };
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
      {request(R"({"id":"{5A0C3E2B-9D41-4F6A-8B7E-1C2D3E4F5A6B}","created":1,)" + rest), ""},
      {request(id + R"(,"created":1e999,)" + rest), ""},
      // Bytes must be padded Base64.
      {grant(id + R"(,"name":"a","path":"\/a","bookmark":"AP9"})"), ""},
      {grant(id + R"(,"name":"a","path":"\/a","bookmark":"A P9="})"), ""},
      // Not JSON, or not an object, at all.
      {snapshot(""), "JSON"},
      {snapshot("[]"), ""},
      {snapshot(R"({"roots":[],"favorites":[],"recent":[]} x)"), ""},
  };
  for (const auto& [error, named] : cases) {
    EXPECT_NE(error, "");
    EXPECT_NE(error.find(named), std::string::npos) << error;
  }
}

TEST(RecordCoding, RefusesNestingDeeperThanAnyMenu) {
  std::string deep;
  for (int i = 0; i < 200; ++i) deep += R"({"name":"a","path":"\/a","children":[)";
  deep += R"({"name":"a","path":"\/a","children":[]})";
  for (int i = 0; i < 200; ++i) deep += "]}";
  EXPECT_NE(decodeError<MenuDestination>(deep).find("nested"), std::string::npos);
}

TEST(RecordCoding, ConflictPolicyIsReadOnlyFromItsExactRawValue) {
  EXPECT_EQ(conflictPolicyFromRawValue("keepBoth"), ConflictPolicy::keepBoth);
  EXPECT_EQ(conflictPolicyFromRawValue("skip"), ConflictPolicy::skip);
  for (const char* unknown : {"Skip", "keepboth", "skip ", "replace"}) {
    EXPECT_EQ(conflictPolicyFromRawValue(unknown), std::nullopt) << unknown;
  }
}

TEST(RecordCoding, APathThatIsNotUtf8CannotBeWrittenAndIsNamedInTheError) {
  MoveRequest request = exampleRequest();
  request.sources.push_back("/home/a/caf\xe9.txt");  // Latin-1 bytes, as old archives hold
  EXPECT_NE(testing::errorOf([&] { encodeJson(request); }).find("/home/a/caf\\xE9.txt"),
            std::string::npos);
}

TEST(JsonText, StringsAreEscapedExactlyAsStored) {
  std::string out;
  appendJsonString(out, "a/b\"c\\d\x01\x1F\t é→");
  EXPECT_EQ(out, "\"a\\/b\\\"c\\\\d\\u0001\\u001f\\t é→\"");
}

TEST(JsonText, DecimalsAreShortestWithoutExponent) {
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
}

TEST(JsonText, Base64RoundTripsEveryLength) {
  std::string bytes;
  for (int length = 0; length < 10; ++length) {
    std::string decoded;
    ASSERT_TRUE(base64Decode(base64Encode(bytes), decoded));
    EXPECT_EQ(decoded, bytes);
    bytes += static_cast<char>(0xF0 + length);
  }
  EXPECT_EQ(base64Encode("Ma"), "TWE=");
  std::string ignored;
  EXPECT_FALSE(base64Decode("TW=u", ignored));
  EXPECT_FALSE(base64Decode("TWE=TWFu", ignored));
}

}  // namespace
}  // namespace tessel
