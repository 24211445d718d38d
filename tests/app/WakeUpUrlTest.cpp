// Which wake-up URLs name a request.
#include <gtest/gtest.h>

#include "model/WakeUpUrl.h"

namespace tessel::testing {
namespace {

constexpr const char* kId = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";

TEST(WakeUpUrlTest, AcceptsOnlyTesselMoveAndOneIdentifier) {
  const std::optional<Uuid> id = wakeUpRequestId(std::string("tessel://move/") + kId);
  ASSERT_TRUE(id);
  EXPECT_EQ(id->string(), kId);
  EXPECT_TRUE(wakeUpRequestId("tessel://move/0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0"));
  EXPECT_TRUE(wakeUpRequestId(std::string("tessel://move/") + kId + "?x=1#y"));

  for (const std::string& rejected :
       {std::string("TESSEL://move/") + kId, std::string("tessel://MOVE/") + kId,
        std::string("tessel://undo/") + kId, std::string("tessel:move/") + kId,
        std::string("tessel://move/") + kId + "/extra", std::string("tessel://move/"),
        std::string("tessel://move"), std::string("tessel://move/not-a-uuid"),
        std::string("file:///move/") + kId, std::string("tessel://move//") + kId}) {
    EXPECT_FALSE(wakeUpRequestId(rejected)) << rejected;
  }
}

}  // namespace
}  // namespace tessel::testing
