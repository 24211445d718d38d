#include "container/SharedContainer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <functional>

#include "FaultInjectingPlatform.h"
#include "TempFolder.h"
#include "core/Errors.h"
#include "path/PathText.h"
#include "records/RecordCoding.h"

namespace tessel {
namespace {

constexpr double kNow = Timestamp::kUnixOffset + 800'000'000.0;
const std::string kNoContainer =
    "Cannot open the App Group. Check signing and provisioning settings.";

class SharedContainerTest : public ::testing::Test {
 protected:
  // Keeps the home folder inside the test's own folder.
  class ContainerTestPlatform : public testing::FaultInjectingPlatform {
   public:
    std::string home;
    std::string homeFolder() override { return home; }
  };

  testing::TempFolder folder;
  ContainerTestPlatform platform;
  std::optional<std::string> dataHome = folder.at("data");
  std::string infoFile = folder.file("info.json", "{}");

  SharedContainerTest() {
    platform.home = folder.at("home");
    platform.fixedNow = kNow;
    platform.environmentOverride = [this](const std::string& name) -> std::optional<std::string> {
      if (name == "XDG_DATA_HOME") return dataHome;
      if (name == "TESSEL_INFO_FILE") return infoFile;
      return std::nullopt;
    };
  }

  void setGroup(const std::string& json) { folder.file("info.json", json); }
  std::string container() { return folder.at("data/group.com.quillmark.Tessel"); }

  MoveRequest requestCreatedAt(double secondsFromNow) {
    return MoveRequest{Uuid::random(),
                       Timestamp::fromUnixTime(kNow + secondsFromNow),
                       {"/home/a/report.pdf"},
                       "/home/a/Archive",
                       false,
                       std::nullopt};
  }

  // The stored form of a request padded with spaces to exactly `size` bytes.
  std::string storePadded(const MoveRequest& request, size_t size) {
    std::string bytes = encodeJson(request);
    bytes.insert(1, size - bytes.size(), ' ');
    return folder.file("data/group.com.quillmark.Tessel/Requests/" + request.id.string() + ".json",
                       bytes);
  }

  // Whether the request file itself was read (the Info file is read on every call).
  bool wasRead(const Uuid& id) {
    for (const testing::PlatformCall& call : platform.calls()) {
      if (call.operation == FileOperation::read && call.path.find(id.string()) != std::string::npos)
        return true;
    }
    return false;
  }

  static std::string messageOf(const std::function<void()>& call) {
    try {
      call();
    } catch (const std::exception& error) {
      return error.what();
    }
    return "no error";
  }
};

TEST_F(SharedContainerTest, EveryDeliverableFindsOnePrivateFolderPerGroup) {
  EXPECT_EQ(SharedContainer::group(platform), "group.com.quillmark.Tessel");
  EXPECT_EQ(SharedContainer::url(platform), container());
  struct stat st;
  ASSERT_EQ(::stat(container().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  setGroup(R"({"TesselAppGroup":42})");
  EXPECT_EQ(SharedContainer::group(platform), "group.com.quillmark.Tessel");
  setGroup(R"({"TesselAppGroup":"group.example.Other"})");
  EXPECT_EQ(SharedContainer::url(platform), folder.at("data/group.example.Other"));

  // Without XDG_DATA_HOME, or with a relative one, the data folder lies in the home folder.
  for (const std::optional<std::string>& unset : {std::optional<std::string>(), {"relative"}}) {
    dataHome = unset;
    EXPECT_EQ(SharedContainer::url(platform), folder.at("home/.local/share/group.example.Other"));
  }
}

TEST_F(SharedContainerTest, AnIdentifierThatNamesNoSingleFolderHasNoContainer) {
  for (const std::string identifier : {"", "..", ".", "a/b", "../escape"}) {
    setGroup(nlohmann::json{{"TesselAppGroup", identifier}}.dump());
    EXPECT_EQ(SharedContainer::group(platform), identifier);
    EXPECT_EQ(messageOf([&] { SharedContainer::url(platform); }), kNoContainer) << identifier;
  }
  // Every operation reports the same missing container.
  EXPECT_EQ(messageOf([&] { SharedContainer::publish({}, platform); }), kNoContainer);
  EXPECT_EQ(messageOf([&] { SharedContainer::snapshot(platform); }), kNoContainer);
  EXPECT_EQ(messageOf([&] { SharedContainer::enqueue(requestCreatedAt(0), platform); }),
            kNoContainer);
  EXPECT_EQ(messageOf([&] { SharedContainer::consume(Uuid::random(), platform); }), kNoContainer);
  EXPECT_EQ(platform.count(FileOperation::write), 0);

  // A usable identifier whose folder cannot be made has no container either.
  setGroup("{}");
  platform.failWhere(FileOperation::createDirectory, "group.com.quillmark.Tessel", EACCES);
  EXPECT_EQ(messageOf([&] { SharedContainer::url(platform); }), kNoContainer);
}

TEST_F(SharedContainerTest, SnapshotIsEmptyUntilPublishedAndThenTheLatestOne) {
  EXPECT_EQ(SharedContainer::snapshot(platform), MenuSnapshot{});

  const MenuSnapshot first{{"/home/a"}, {{"Archive", "/home/a/Archive", {}}}, {}};
  const MenuSnapshot second{{"/home/b"}, {}, {{"Inbox", "/home/b/Inbox", {}}}};
  SharedContainer::publish(first, platform);
  SharedContainer::publish(second, platform);
  EXPECT_EQ(SharedContainer::snapshot(platform), second);
  EXPECT_EQ(platform.readFile(container() + "/menu.json"), encodeJson(second));

  // A failed write keeps the old snapshot whole.
  platform.failWhere(FileOperation::write, "menu.json", ENOSPC);
  EXPECT_THROW(SharedContainer::publish(first, platform), PlatformError);
  EXPECT_EQ(SharedContainer::snapshot(platform), second);

  folder.file("data/group.com.quillmark.Tessel/menu.json", R"({"roots":[],"favorites":[]})");
  EXPECT_THROW(SharedContainer::snapshot(platform), DecodingError);
}

TEST_F(SharedContainerTest, EnqueuedRequestIsStoredUnderItsUpperCaseIdentifierAndConsumedOnce) {
  const MoveRequest request = requestCreatedAt(0);
  SharedContainer::enqueue(request, platform);
  const std::string path = container() + "/Requests/" + request.id.string() + ".json";
  EXPECT_EQ(platform.readFile(path), encodeJson(request));

  EXPECT_EQ(SharedContainer::consume(request.id, platform), request);
  EXPECT_FALSE(platform.fileExists(path));
  try {
    SharedContainer::consume(request.id, platform);
    FAIL() << "a request was handed out twice";
  } catch (const PlatformError& error) {
    EXPECT_EQ(error.code(), ENOENT);
  }
}

TEST_F(SharedContainerTest, EnqueueIntoAPlainFileNamedRequestsWritesNothing) {
  folder.file("data/group.com.quillmark.Tessel/Requests", "not a folder");
  EXPECT_THROW(SharedContainer::enqueue(requestCreatedAt(0), platform), PlatformError);
  EXPECT_EQ(platform.count(FileOperation::write), 0);
  EXPECT_EQ(platform.readFile(container() + "/Requests"), "not a folder");
}

TEST_F(SharedContainerTest, SizeLimitAdmitsExactly999999Bytes) {
  const MoveRequest fits = requestCreatedAt(0);
  storePadded(fits, 999'999);
  EXPECT_EQ(SharedContainer::consume(fits.id, platform), fits);

  const MoveRequest tooLarge = requestCreatedAt(0);
  const std::string path = storePadded(tooLarge, 1'000'000);
  EXPECT_EQ(messageOf([&] { SharedContainer::consume(tooLarge.id, platform); }),
            "The request is too large.");
  // Refused from its size alone, without reading it, and left where it is.
  EXPECT_FALSE(wasRead(tooLarge.id));
  EXPECT_EQ(platform.attributesOfItem(path).size, 1'000'000u);
}

TEST_F(SharedContainerTest, AgeWindowIsUnder300SecondsEitherWay) {
  for (const double offset : {-299.0, 200.0, 299.9}) {
    const MoveRequest request = requestCreatedAt(offset);
    SharedContainer::enqueue(request, platform);
    EXPECT_NO_THROW(SharedContainer::consume(request.id, platform)) << offset;
  }
  for (const double offset : {-300.0, 300.0, -86400.0}) {
    const MoveRequest request = requestCreatedAt(offset);
    SharedContainer::enqueue(request, platform);
    EXPECT_EQ(messageOf([&] { SharedContainer::consume(request.id, platform); }),
              "The move request has expired.")
        << offset;
    EXPECT_TRUE(platform.fileExists(SharedContainer::requestPath(container(), request.id)));
  }
}

TEST_F(SharedContainerTest, RefusedRequestsStayWhereTheyAre) {
  // Stored under one identifier while holding another: refused, even when fresh.
  const MoveRequest stored = requestCreatedAt(0);
  const Uuid other = Uuid::random();
  const std::string misfiled = folder.file(
      "data/group.com.quillmark.Tessel/Requests/" + other.string() + ".json", encodeJson(stored));
  EXPECT_EQ(messageOf([&] { SharedContainer::consume(other, platform); }),
            "The move request has expired.");
  EXPECT_TRUE(platform.fileExists(misfiled));

  const Uuid garbled = Uuid::random();
  const std::string undecodable = folder.file(
      "data/group.com.quillmark.Tessel/Requests/" + garbled.string() + ".json", "{\"id\":");
  EXPECT_THROW(SharedContainer::consume(garbled, platform), DecodingError);
  EXPECT_TRUE(platform.fileExists(undecodable));

  // A request that cannot be deleted is not handed out: it could be carried out twice.
  const MoveRequest stuck = requestCreatedAt(0);
  SharedContainer::enqueue(stuck, platform);
  platform.failWhere(FileOperation::remove, stuck.id.string(), EACCES);
  EXPECT_THROW(SharedContainer::consume(stuck.id, platform), PlatformError);
}

TEST_F(SharedContainerTest, APipeInPlaceOfAFileIsRefusedWithoutBlocking) {
  const Uuid id = Uuid::random();
  folder.folder("data/group.com.quillmark.Tessel/Requests");
  const std::string request = SharedContainer::requestPath(container(), id);
  ASSERT_EQ(::mkfifo(request.c_str(), 0600), 0);
  // Also behind a link.
  ASSERT_EQ(::symlink(request.c_str(), (container() + "/menu.json").c_str()), 0);
  EXPECT_THROW(SharedContainer::consume(id, platform), PlatformError);
  EXPECT_THROW(SharedContainer::snapshot(platform), PlatformError);
  EXPECT_FALSE(wasRead(id));
}

}  // namespace
}  // namespace tessel
