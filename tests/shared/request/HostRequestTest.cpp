#include "request/HostRequest.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "records/RecordCoding.h"
#include "request/HostAddress.h"

namespace tessel {
namespace {

// Each request in the stored form peers rely on (identifier and time aside), and back.
TEST(HostRequestTest, EachRequestKeepsItsStoredFormAndReadsBackAsItself) {
  const std::vector<std::pair<HostRequest, std::string>> cases{
      {{HostRequest::Move{{"/h/a", "/h/b"}, "/h/Archive", true}},
       R"("sources":["\/h\/a","\/h\/b"],"destination":"\/h\/Archive","hierarchical":true})"},
      {{HostRequest::Move{{"/h/a"}, "/h/Archive", false}},
       R"("sources":["\/h\/a"],"destination":"\/h\/Archive","hierarchical":false})"},
      {{HostRequest::OpenFolder{"/h/Archive"}},
       R"("sources":[],"destination":"\/h\/Archive","hierarchical":true,"operation":"openFolder"})"},
      {{HostRequest::Undo{}},
       R"("sources":[],"destination":"","hierarchical":false,"operation":"undo"})"},
      {{HostRequest::Choose{{"/h/a"}}},
       R"("sources":["\/h\/a"],"destination":"","hierarchical":false,"operation":"choose"})"},
  };
  for (const auto& [request, stored] : cases) {
    const MoveRequest made = storedRequest(request, Platform::standard());
    const std::string json = encodeJson(made);
    EXPECT_EQ(json.substr(json.find("\"sources\"")), stored);
    EXPECT_EQ(hostRequest(made), request) << stored;
  }
  MoveRequest named = storedRequest({HostRequest::Move{{"/a"}, "/b", false}}, Platform::standard());
  named.operation = "move";
  EXPECT_EQ(hostRequest(named), (HostRequest{HostRequest::Move{{"/a"}, "/b", false}}));
  named.operation = "settings";
  EXPECT_EQ(hostRequest(named), std::nullopt);
}

TEST(HostRequestTest, TheWakeUpUrlNamesOnlyTesselMoveAndOneIdentifier) {
  const std::string id = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";
  const std::string move = "tessel://move/";
  EXPECT_EQ(HostAddress::wakeUpUrl(*Uuid::parse(id)), move + id);
  EXPECT_EQ(HostAddress::wakeUpRequestId(move + id + "?x=1#y").value_or(Uuid{}).string(), id);
  EXPECT_TRUE(HostAddress::wakeUpRequestId(move + "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0"));
  for (const std::string& rejected :
       {"TESSEL://move/" + id, "tessel://MOVE/" + id, "tessel://undo/" + id, "tessel:move/" + id,
        move + id + "/extra", move, std::string("tessel://move"), move + "not-a-uuid",
        move + "/" + id}) {
    EXPECT_FALSE(HostAddress::wakeUpRequestId(rejected)) << rejected;
  }
}

}  // namespace
}  // namespace tessel
