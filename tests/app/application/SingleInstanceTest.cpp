// One host per support folder: the lock, and commands handed to the host that holds it.
#include <functional>
#include <future>

#include "TempFolder.h"
#include "WindowTestSession.h"
#include "application/SingleInstance.h"

namespace tessel::testing {
namespace {

class SingleInstanceTest : public ::testing::Test {
 protected:
  // A host holding the support folder; every command it receives is kept in `received`.
  void listen(std::function<QByteArray(const QByteArray&)> reply) {
    ASSERT_TRUE(host.claim());
    ASSERT_TRUE(host.listen([this, reply](const QByteArray& command) {
      received.append(command);
      return reply(command);
    }));
  }

  TempFolder temp;
  const QString support = QString::fromStdString(temp.at("data/Tessel"));
  SingleInstance host{support};
  QList<QByteArray> received;
};

TEST_F(SingleInstanceTest, OnlyOneHolderOfASupportFolderAndEachFolderHasItsOwn) {
  ASSERT_TRUE(host.claim());
  EXPECT_TRUE(host.claim());
  SingleInstance second(support);
  EXPECT_FALSE(second.claim());
  SingleInstance elsewhere(QString::fromStdString(temp.at("other/Tessel")));
  EXPECT_TRUE(elsewhere.claim());
  EXPECT_NE(SingleInstance::socketName(support),
            SingleInstance::socketName(QString::fromStdString(temp.at("other/Tessel"))));
}

TEST_F(SingleInstanceTest, AHandedOverCommandReachesTheHostAndItsReplyComesBack) {
  listen([](const QByteArray& command) { return QByteArray("reply to ") + command; });

  // The sender blocks while it waits, so it runs beside the host's event loop.
  auto reply = std::async(std::launch::async, [&] {
    SingleInstance sender(support);
    return sender.handOver(QByteArray(100000, 'x'));
  });
  ASSERT_TRUE(waitUntil(
      [&] { return reply.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
  const SingleInstance::HandOver answer = reply.get();
  EXPECT_EQ(answer.outcome, SingleInstance::HandOver::Outcome::answered);
  EXPECT_EQ(answer.reply, QByteArray("reply to ") + QByteArray(100000, 'x'));
  EXPECT_EQ(received, QList<QByteArray>{QByteArray(100000, 'x')});
}

TEST_F(SingleInstanceTest, AHostThatAnswersTooLateStillGetsTheWholeCommand) {
  listen([](const QByteArray&) { return QByteArray(); });
  // The host's event loop stands still until the sender gives up, as a stopped host's does.
  const SingleInstance::HandOver handed = std::async(std::launch::async, [&] {
                                            return SingleInstance(support).handOver("late", 1);
                                          }).get();
  EXPECT_EQ(handed.outcome, SingleInstance::HandOver::Outcome::unanswered);
  ASSERT_TRUE(waitUntil([&] { return !received.isEmpty(); }));
  EXPECT_EQ(received, QList<QByteArray>{"late"});
}

TEST_F(SingleInstanceTest, WhenTheHostHasGoneTheSenderBecomesTheHost) {
  {
    SingleInstance gone(support);
    ASSERT_TRUE(gone.claim());
    ASSERT_TRUE(gone.listen([](const QByteArray&) { return QByteArray(); }));
  }
  SingleInstance sender(support);
  EXPECT_EQ(sender.handOver("tessel").outcome, SingleInstance::HandOver::Outcome::becameHost);
  EXPECT_FALSE(SingleInstance(support).claim());
}

}  // namespace
}  // namespace tessel::testing
