// One host per support folder: the lock, and commands handed to the host that holds it.
#include <future>

#include "HostHarness.h"
#include "application/SingleInstance.h"

namespace tessel::testing {
namespace {

using Outcome = SingleInstance::HandOver::Outcome;

class SingleInstanceTest : public ::testing::Test {
 protected:
  // Hands `command` to a host holding the support folder, which keeps every command it receives
  // in `received` and answers it. The sender blocks while it waits, so it runs beside the host's
  // event loop, which stands still until the sender gives up when `hostStopped`, as a stopped
  // host's does.
  SingleInstance::HandOver handOver(const QByteArray& command, bool hostStopped = false) {
    EXPECT_TRUE(host.claim());
    EXPECT_TRUE(host.listen([this](const QByteArray& command) {
      received.append(command);
      return "reply to " + command;
    }));
    auto sent = std::async(std::launch::async, [&] {
      return SingleInstance(support).handOver(command, hostStopped ? 1 : 10);
    });
    if (!hostStopped)
      waitUntil(
          [&] { return sent.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    return sent.get();
  }

  TempFolder temp;
  const QString support = QString::fromStdString(temp.at("data/Tessel"));
  SingleInstance host{support};
  QList<QByteArray> received;
};

TEST_F(SingleInstanceTest, OneHolderPerSupportFolderAndASenderBecomesTheHostWhenItHasGone) {
  const QString other = QString::fromStdString(temp.at("other/Tessel"));
  {
    SingleInstance gone(support);
    ASSERT_TRUE(gone.claim());
    EXPECT_TRUE(gone.claim());
    ASSERT_TRUE(gone.listen([](const QByteArray&) { return QByteArray(); }));
    EXPECT_FALSE(SingleInstance(support).claim());
    EXPECT_TRUE(SingleInstance(other).claim());
  }
  EXPECT_NE(SingleInstance::socketName(support), SingleInstance::socketName(other));
  SingleInstance sender(support);
  EXPECT_EQ(sender.handOver("tessel").outcome, Outcome::becameHost);
  EXPECT_FALSE(SingleInstance(support).claim());
}

TEST_F(SingleInstanceTest, AHandedOverCommandReachesTheHostAndItsReplyComesBack) {
  const QByteArray large(100000, 'x');
  const SingleInstance::HandOver answer = handOver(large);
  EXPECT_EQ(answer.outcome, Outcome::answered);
  EXPECT_EQ(answer.reply, "reply to " + large);
  EXPECT_EQ(received, QList<QByteArray>{large});
}

TEST_F(SingleInstanceTest, AHostThatAnswersTooLateStillGetsTheWholeCommand) {
  EXPECT_EQ(handOver("late", true).outcome, Outcome::unanswered);
  ASSERT_TRUE(waitUntil([&] { return !received.isEmpty(); }));
  EXPECT_EQ(received, QList<QByteArray>{"late"});
}

}  // namespace
}  // namespace tessel::testing
