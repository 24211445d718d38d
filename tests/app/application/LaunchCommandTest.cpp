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

const auto parse = [](const QByteArrayList& args) { return LaunchCommand::parse(args, "/home/a"); };
const auto file = [](const char* path) { return QUrl::fromLocalFile(path); };

TEST(LaunchCommandTest, AServiceCallTakesItsUserDataAndItsFilesAsAbsoluteFileUrlsEvenOnTheWire) {
  const LaunchCommand command = parse({"--service", "favorite:1", "report.pdf", "/tmp/x y",
                                       "file:///srv/a%20b", "https://example.com/c"});
  EXPECT_EQ(command.service,
            (ServiceCall{"favorite:1",
                         {file("/home/a/report.pdf"), file("/tmp/x y"), file("/srv/a b")}}));
  EXPECT_EQ(parse({"--service", "../notes.txt"}).service,
            (ServiceCall{std::nullopt, {file("/home/notes.txt")}}));
  EXPECT_EQ(parse({"tessel://move/X", "--background-command"}),
            (LaunchCommand{true, {"tessel://move/X"}, {}}));

  // A name that is no valid UTF-8 keeps its bytes, through the wire form too.
  const LaunchCommand raw = parse({"--service", "/tmp/caf\xe9"});
  for (const LaunchCommand& sent :
       {parse({}), parse({"--background-command", "tessel://move/A", "tessel://move/B"}), command,
        parse({"--service", "/a/#1.txt"}), raw}) {
    EXPECT_EQ(LaunchCommand::decode(sent.encode()), sent);
  }
  EXPECT_EQ(LaunchCommand::decode("[1]"), std::nullopt);
  EXPECT_EQ(raw.service->items, QList{QUrl::fromEncoded("file:///tmp/caf%E9")});
}

TEST(LaunchCommandLineTest, HelpVersionAndMistakesAnswerWithoutAHostAndOtherLinesReachIt) {
  const QByteArray help = "Try 'tessel --help' for more information.\n";
  for (const auto& [argument, status, outStart, error] :
       std::vector<std::tuple<QByteArray, int, QByteArray, QByteArray>>{
           {"--help", 0, "Usage: tessel [--background-command]", ""},
           {"--version", 0, "tessel " TESSEL_VERSION "\n", ""},
           {"--bogus", 2, "", "tessel: Unknown option 'bogus'.\n" + help},
           {"--service=x", 2, "", "tessel: Unexpected value after '--service'.\n" + help}}) {
    const LaunchCommandLine line = LaunchCommandLine::read({"tessel", argument}, "/");
    EXPECT_EQ(line.command, std::nullopt) << argument.constData();
    EXPECT_EQ(line.exitStatus, status);
    EXPECT_TRUE(line.standardOutput.startsWith(outStart)) << line.standardOutput.constData();
    EXPECT_EQ(line.standardError, error);
  }
  EXPECT_EQ(
      LaunchCommandLine::read({"tessel", "--service", "favorite:1", "--", "-a.txt"}, "/home/a")
          .command->service,
      (ServiceCall{"favorite:1", {file("/home/a/-a.txt")}}));
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
using namespace std::chrono_literals;

// A sender that finds the holder gone becomes the host. The host keeps every command it
// receives and answers it; one whose event loop stands still, as a stopped host's does, answers
// too late but still gets the whole command.
TEST(SingleInstanceTest, OneHostPerSupportFolderGetsEveryHandedOverCommandWholeAndAnswersIt) {
  TempFolder temp;
  const QString support = QString::fromStdString(temp.at("data/Tessel"));
  {
    SingleInstance gone(support);
    ASSERT_TRUE(gone.claim());
    ASSERT_TRUE(gone.listen([](const QByteArray&) { return QByteArray(); }));
    EXPECT_FALSE(SingleInstance(support).claim());
  }
  SingleInstance host(support);
  EXPECT_EQ(host.handOver("tessel").outcome, Outcome::becameHost);
  EXPECT_FALSE(SingleInstance(support).claim());
  QList<QByteArray> received;
  ASSERT_TRUE(host.listen([&](const QByteArray& command) {
    received.append(command);
    return "reply to " + command;
  }));
  // The sender blocks while it waits, so it runs beside the host's event loop.
  const auto handOver = [&](const QByteArray& command, bool hostStopped) {
    auto sent = std::async(std::launch::async, [&] {
      return SingleInstance(support).handOver(command, hostStopped ? 1 : 10);
    });
    if (!hostStopped) waitUntil([&] { return sent.wait_for(0s) == std::future_status::ready; });
    return sent.get();
  };
  const QByteArray large(100000, 'x');
  const SingleInstance::HandOver answer = handOver(large, false);
  EXPECT_EQ(answer.outcome, Outcome::answered);
  EXPECT_EQ(answer.reply, "reply to " + large);
  EXPECT_EQ(handOver("late", true).outcome, Outcome::unanswered);
  ASSERT_TRUE(waitUntil([&] { return received.size() == 2; }));
  EXPECT_EQ(received, (QList<QByteArray>{large, "late"}));
}

}  // namespace
}  // namespace tessel::testing
