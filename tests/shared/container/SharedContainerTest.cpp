#include "container/SharedContainer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <tuple>

#include "ErrorText.h"
#include "FaultInjectingPlatform.h"
#include "ScopedLanguage.h"
#include "TempFolder.h"
#include "core/Errors.h"
#include "records/RecordCoding.h"

namespace tessel {
namespace {

using testing::errorOf;
using testing::ScopedLanguage;
constexpr double kNow = Timestamp::kUnixOffset + 800'000'000.0;
const std::string kNoContainer =
    "Cannot open Tessel’s shared folder. Check that the data folder exists and can be written.";
const std::string kExpired = "The move request has expired.";
const std::string kTooLarge = "The request is too large.";

class SharedContainerTest : public ::testing::Test {
 protected:
  testing::TempFolder folder;
  testing::FaultInjectingPlatform platform;
  const std::string container = folder.at("data/group.com.quillmark.Tessel");

  SharedContainerTest() {
    platform.home = folder.at("home");
    platform.fixedNow = kNow;
    platform.variables = {{"XDG_DATA_HOME", folder.at("data")},
                          {"TESSEL_INFO_FILE", folder.file("info.json", "{}")}};
    platform.inheritsEnvironment = false;
  }
  void setGroup(const std::string& json) { folder.file("info.json", json); }
  MoveRequest requestCreatedAt(double secondsFromNow) {
    MoveRequest request = MoveRequest::make({"/a/report.pdf"}, "/a/Archive", false, {}, platform);
    request.created = Timestamp::fromUnixTime(kNow + secondsFromNow);
    return request;
  }
  // The stored form of `request`, padded with spaces to `size` bytes when it is shorter.
  static std::string padded(const MoveRequest& request, size_t size = 0) {
    std::string bytes = encodeJson(request);
    return bytes.insert(1, std::max(size, bytes.size()) - bytes.size(), ' ');
  }
  // Writes `bytes` as the request file of `id` and returns its path.
  std::string store(const Uuid& id, const std::string& bytes) {
    return folder.file("data/group.com.quillmark.Tessel/Requests/" + id.string() + ".json", bytes);
  }
  // Whether a call of `operation` reached a path holding `fragment`.
  bool touched(FileOperation operation, const std::string& fragment) {
    return std::ranges::any_of(platform.calls(), [&](const testing::PlatformCall& call) {
      return call.operation == operation && call.path.find(fragment) != call.path.npos;
    });
  }
};

TEST_F(SharedContainerTest, EachUsableGroupHasOnePrivateFolderAndOtherIdentifiersNone) {
  EXPECT_EQ(SharedContainer::url(platform), container);
  struct stat st;
  ASSERT_EQ(::stat(container.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  setGroup(R"({"TesselAppGroup":42})");
  EXPECT_EQ(SharedContainer::group(platform), "group.com.quillmark.Tessel");
  // With an empty or a relative XDG_DATA_HOME the data folder lies in the home folder.
  setGroup(R"({"TesselAppGroup":"group.example.Other"})");
  for (const char* relative : {"", "relative"}) {
    platform.variables["XDG_DATA_HOME"] = relative;
    EXPECT_EQ(SharedContainer::url(platform), folder.at("home/.local/share/group.example.Other"));
  }
  for (const std::string identifier : {"", "..", ".", "a/b", "../escape"}) {
    setGroup(nlohmann::json{{"TesselAppGroup", identifier}}.dump());
    EXPECT_EQ(SharedContainer::group(platform), identifier);
    EXPECT_EQ(errorOf([&] { SharedContainer::url(platform); }), kNoContainer) << identifier;
  }
  // A usable identifier whose folder cannot be made has no container either.
  setGroup("{}");
  platform.failWhere(FileOperation::createDirectory, "group.com.quillmark.Tessel", EACCES);
  EXPECT_EQ(errorOf([&] { SharedContainer::url(platform); }), kNoContainer);
}

// Handed out once, at the edges of the age window (before and after) and of the size limit;
// refused and left in place outside them, and refused unread when too large.
TEST_F(SharedContainerTest, RequestsInsideTheLimitsAreHandedOutOnceAndOthersStayWhereTheyAre) {
  const MoveRequest enqueued = requestCreatedAt(0);
  SharedContainer::enqueue(enqueued, platform);
  EXPECT_EQ(SharedContainer::consume(enqueued.id, platform), enqueued);
  EXPECT_THROW(SharedContainer::consume(enqueued.id, platform), PlatformError);
  for (const auto& [age, size] :
       std::vector<std::pair<double, size_t>>{{-299.0, 0}, {299.9, 0}, {0.0, 999'999}}) {
    const MoveRequest request = requestCreatedAt(age);
    const std::string path = store(request.id, padded(request, size));
    EXPECT_EQ(SharedContainer::consume(request.id, platform), request) << age << " " << size;
    EXPECT_FALSE(platform.fileExists(path));
  }
  const MoveRequest large = requestCreatedAt(0), old = requestCreatedAt(-300),
                    future = requestCreatedAt(300);
  const std::string garbled = "{\"id\":";
  const std::vector<std::tuple<Uuid, std::string, std::string>> cases{
      {large.id, padded(large, 1'000'000), kTooLarge},
      {old.id, encodeJson(old), kExpired},
      {future.id, encodeJson(future), kExpired},
      {Uuid::random(), encodeJson(large),
       "The move request does not match the name it is stored under, so it was not carried out."},
      {Uuid::random(), garbled, errorOf([&] { decodeJson<MoveRequest>(garbled); })}};
  for (const auto& [id, bytes, message] : cases) {
    const std::string path = store(id, bytes);
    EXPECT_EQ(errorOf([&] { SharedContainer::consume(id, platform); }), message);
    EXPECT_EQ(Platform::standard().readFile(path), bytes) << message;
  }
  EXPECT_FALSE(touched(FileOperation::read, large.id.string()));
  // A request that grows between being measured and being read is refused all the same.
  const MoveRequest grown = requestCreatedAt(0);
  store(grown.id, encodeJson(grown));
  platform.addRule([&](const testing::PlatformCall& call) {
    if (call.operation == FileOperation::read && call.path.ends_with(grown.id.string() + ".json")) {
      store(grown.id, padded(grown, 1'000'000));
    }
    return std::optional<int>();
  });
  EXPECT_EQ(errorOf([&] { SharedContainer::consume(grown.id, platform); }), kTooLarge);
  platform.clearFaults();
  // A request that cannot be deleted is not handed out: it could be carried out twice.
  const MoveRequest stuck = requestCreatedAt(0);
  SharedContainer::enqueue(stuck, platform);
  platform.failWhere(FileOperation::remove, stuck.id.string(), EACCES);
  EXPECT_THROW(SharedContainer::consume(stuck.id, platform), PlatformError);
}

// Requests that is not a folder is not written into; a pipe, which could block the reader for
// ever, is refused unread, also behind a link.
TEST_F(SharedContainerTest, AnythingButAFolderNamedRequestsOrAFileIsRefusedUnread) {
  folder.file("data/group.com.quillmark.Tessel/Requests", "not a folder");
  EXPECT_THROW(SharedContainer::enqueue(requestCreatedAt(0), platform), PlatformError);
  EXPECT_FALSE(touched(FileOperation::write, ""));
  EXPECT_EQ(platform.readFile(container + "/Requests"), "not a folder");
  ::unlink((container + "/Requests").c_str());
  const Uuid id = Uuid::random();
  folder.folder("data/group.com.quillmark.Tessel/Requests");
  const std::string request = SharedContainer::requestPath(container, id);
  ASSERT_EQ(::mkfifo(request.c_str(), 0600), 0);
  folder.link(request, "data/group.com.quillmark.Tessel/menu.json");
  EXPECT_EQ(errorOf([&] { SharedContainer::consume(id, platform); }),
            "\"" + request + "\" cannot be read because it is not a file.");
  EXPECT_THROW(SharedContainer::snapshot(platform), TesselError);
  const ScopedLanguage japanese("ja");
  EXPECT_EQ(errorOf([&] { SharedContainer::consume(id, platform); }),
            "「" + request + "」はファイルではないため読み込めません。");
  const MoveRequest elsewhere = requestCreatedAt(0);
  const Uuid misnamed = Uuid::random();
  store(misnamed, encodeJson(elsewhere));
  EXPECT_EQ(errorOf([&] { SharedContainer::consume(misnamed, platform); }),
            "移動依頼の内容がファイル名と一致しないため、実行しませんでした。");
  EXPECT_FALSE(touched(FileOperation::read, id.string()));
}

}  // namespace
}  // namespace tessel
