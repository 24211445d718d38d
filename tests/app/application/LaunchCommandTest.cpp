// Reading a start's command line, its wire form, and the favourite a Services entry names; one
// host per support folder: the lock, and commands handed to the host that holds it.
#include <future>
#include <limits>

#include "HostHarness.h"
#include "application/FavoriteIndex.h"
#include "application/LaunchCommand.h"
#include "application/LaunchCommandLine.h"
#include "application/SingleInstance.h"

namespace tessel::testing {
namespace {

LaunchCommand parse(const QStringList& arguments) {
  QByteArrayList bytes;
  for (const QString& argument : arguments) bytes.append(argument.toUtf8());
  return LaunchCommand::parse(bytes, "/home/a/Inbox");
}

TEST(LaunchCommandTest, AServiceCallTakesItsUserDataAndItsFilesAsAbsoluteFileUrlsEvenOnTheWire) {
  const LaunchCommand command = parse({"--service", "favorite:1", "report.pdf", "/tmp/x y",
                                       "file:///srv/a%20b", "https://example.com/c"});
  ASSERT_TRUE(command.service);
  EXPECT_EQ(command.service->userData, "favorite:1");
  EXPECT_EQ(command.service->items,
            (QList<QUrl>{QUrl::fromLocalFile("/home/a/Inbox/report.pdf"),
                         QUrl::fromLocalFile("/tmp/x y"), QUrl::fromLocalFile("/srv/a b")}));
  const LaunchCommand unnamed = parse({"--service", "../notes.txt"});
  EXPECT_EQ(unnamed.service->userData, std::nullopt);
  EXPECT_EQ(unnamed.service->items, QList<QUrl>{QUrl::fromLocalFile("/home/a/notes.txt")});
  EXPECT_EQ(parse({"tessel://move/X", "--background-command"}),
            (LaunchCommand{true, {"tessel://move/X"}, {}}));

  // A name that is no valid UTF-8 keeps its bytes, through the wire form too.
  const QByteArray latin1Name("/tmp/caf\xe9");
  const LaunchCommand raw = LaunchCommand::parse({"--service", latin1Name}, "/");
  for (const LaunchCommand& sent :
       {parse({}), parse({"--background-command", "tessel://move/A", "tessel://move/B"}), command,
        parse({"--service", "/a/#1.txt"}), raw}) {
    EXPECT_EQ(LaunchCommand::decode(sent.encode()), sent);
  }
  EXPECT_EQ(LaunchCommand::decode("[1]"), std::nullopt);
  const QUrl item = LaunchCommand::decode(raw.encode())->service->items.value(0);
  EXPECT_EQ(QByteArray::fromPercentEncoding(item.path(QUrl::FullyEncoded).toLatin1()), latin1Name);
}

TEST(LaunchCommandLineTest, HelpVersionAndMistakesAnswerWithoutAHostAndOtherLinesReachIt) {
  const QByteArray usage = "Usage: tessel [--background-command]";
  const QByteArray tryHelp = "Try 'tessel --help' for more information.\n";
  const struct {
    QByteArrayList argv;
    int status;
    QByteArray outStart, err;
  } cases[] = {
      {{"tessel", "--help"}, 0, usage, ""},
      {{"tessel", "--version"}, 0, "tessel " TESSEL_VERSION "\n", ""},
      {{"tessel", "--bogus"}, 2, "", "tessel: Unknown option 'bogus'.\n" + tryHelp},
      {{"tessel", "--service=x"}, 2, "", "tessel: Unexpected value after '--service'.\n" + tryHelp},
  };
  for (const auto& c : cases) {
    const LaunchCommandLine line = LaunchCommandLine::read(c.argv, "/");
    EXPECT_EQ(line.command, std::nullopt) << c.argv.join(' ').constData();
    EXPECT_EQ(line.exitStatus, c.status);
    EXPECT_TRUE(line.standardOutput.startsWith(c.outStart)) << line.standardOutput.constData();
    EXPECT_EQ(line.standardError, c.err);
  }
  const LaunchCommandLine service =
      LaunchCommandLine::read({"tessel", "--service", "favorite:1", "--", "-a.txt"}, "/home/a");
  ASSERT_TRUE(service.command && service.command->service);
  EXPECT_EQ(service.command->service->items, QList<QUrl>{QUrl::fromLocalFile("/home/a/-a.txt")});
  EXPECT_EQ(LaunchCommandLine::read({"tessel"}, "/").command, LaunchCommand{});
}

TEST(FavoriteIndexTest, OnlyTheFavoritePrefixAndASigned64BitDecimalNameAFavourite) {
  using Limits = std::numeric_limits<std::int64_t>;
  for (const auto& [text, index] : std::vector<std::pair<const char*, std::int64_t>>{
           {"favorite:+1", 1},
           {"favorite:9223372036854775807", Limits::max()},
           {"favorite:-9223372036854775808", Limits::min()}}) {
    EXPECT_EQ(favoriteIndex(QString(text)), index) << text;
  }
  for (const char* unreadable :
       {"favorite:", "favorite: 1", "favorite:1 ", "favorite:+", "favorite:+-1",
        "favorite:9223372036854775808", "Favorite:1", "1"}) {
    EXPECT_EQ(favoriteIndex(QString(unreadable)), std::nullopt) << unreadable;
  }
  EXPECT_EQ(favoriteIndex(std::nullopt), std::nullopt);
}

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
  {
    SingleInstance gone(support);
    ASSERT_TRUE(gone.claim());
    ASSERT_TRUE(gone.listen([](const QByteArray&) { return QByteArray(); }));
    EXPECT_FALSE(SingleInstance(support).claim());
  }
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
