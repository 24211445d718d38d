// Which wake-up URLs name a request.
#include <gtest/gtest.h>

#include "model/WakeUpUrl.h"

namespace tessel::testing {
namespace {

const std::string kId = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";
const std::string kMove = "tessel://move/";

TEST(WakeUpUrlTest, AcceptsOnlyTesselMoveAndOneIdentifier) {
  const std::optional<Uuid> id = wakeUpRequestId(kMove + kId);
  ASSERT_TRUE(id);
  EXPECT_EQ(id->string(), kId);
  EXPECT_TRUE(wakeUpRequestId(kMove + "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0"));
  EXPECT_TRUE(wakeUpRequestId(kMove + kId + "?x=1#y"));
  for (const std::string& rejected :
       {"TESSEL://move/" + kId, "tessel://MOVE/" + kId, "tessel://undo/" + kId,
        "tessel:move/" + kId, kMove + kId + "/extra", kMove, std::string("tessel://move"),
        kMove + "not-a-uuid", "file:///move/" + kId, kMove + "/" + kId}) {
    EXPECT_FALSE(wakeUpRequestId(rejected)) << rejected;
  }
}

}  // namespace
}  // namespace tessel::testing
