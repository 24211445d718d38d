// Reading a start's command line, its wire form, and the favourite a Services entry names.
#include <gtest/gtest.h>

#include <limits>

#include "application/FavoriteIndex.h"
#include "application/LaunchCommand.h"
#include "application/LaunchCommandLine.h"

namespace tessel::testing {
namespace {

LaunchCommand parse(const QStringList& arguments) {
  QByteArrayList bytes;
  for (const QString& argument : arguments) bytes.append(argument.toUtf8());
  return LaunchCommand::parse(bytes, "/home/a/Inbox");
}

TEST(LaunchCommandTest, TheBackgroundArgumentIsAWholeCaseSensitiveWordAndTheRestAreUrls) {
  for (const QStringList& background : {QStringList{"--background-command", "tessel://move/X"},
                                        QStringList{"tessel://move/X", "--background-command"}}) {
    EXPECT_EQ(parse(background), (LaunchCommand{true, {"tessel://move/X"}, {}}));
  }
  for (const QString& near :
       QStringList{"--Background-Command", "--background-command=1", "-background-command"}) {
    EXPECT_EQ(parse({near}), (LaunchCommand{false, {near}, {}})) << near.toStdString();
  }
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

  // A name that is no valid UTF-8 keeps its bytes, through the wire form too.
  const QByteArray latin1Name("/tmp/caf\xe9");
  const LaunchCommand raw = LaunchCommand::parse({"--service", latin1Name}, "/");
  for (const LaunchCommand& sent :
       {parse({}), parse({"--background-command", "tessel://move/A", "tessel://move/B"}), command,
        parse({"--service", "/a/#1.txt"}), raw}) {
    EXPECT_EQ(LaunchCommand::decode(sent.encode()), sent);
  }
  EXPECT_EQ(LaunchCommand::decode("not json"), std::nullopt);
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
      {{"tessel", "--service", "-h"}, 0, usage, ""},
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
           {"favorite:0", 0},
           {"favorite:+1", 1},
           {"favorite:-1", -1},
           {"favorite:9223372036854775807", Limits::max()},
           {"favorite:-9223372036854775808", Limits::min()}}) {
    EXPECT_EQ(favoriteIndex(QString(text)), index) << text;
  }
  for (const char* unreadable :
       {"favorite:", "favorite:a", "favorite: 1", "favorite:1 ", "favorite:+", "favorite:+-1",
        "favorite:--1", "favorite:1.0", "favorite:9223372036854775808", "Favorite:1", "favorites:1",
        "1"}) {
    EXPECT_EQ(favoriteIndex(QString(unreadable)), std::nullopt) << unreadable;
  }
  EXPECT_EQ(favoriteIndex(std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace tessel::testing
