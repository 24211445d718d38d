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

TEST(LaunchCommandTest, TheBackgroundArgumentIsAWholeCaseSensitiveWord) {
  EXPECT_TRUE(parse({"--background-command", "tessel://move/X"}).background);
  EXPECT_EQ(parse({"--background-command", "tessel://move/X"}).urls,
            QStringList{"tessel://move/X"});
  EXPECT_TRUE(parse({"tessel://move/X", "--background-command"}).background);
  for (const QString& near :
       QStringList{"--Background-Command", "--background-command=1", "-background-command"}) {
    const LaunchCommand command = parse({near});
    EXPECT_FALSE(command.background) << near.toStdString();
    EXPECT_EQ(command.urls, QStringList{near});
  }
  const LaunchCommand plain = parse({});
  EXPECT_FALSE(plain.background);
  EXPECT_TRUE(plain.urls.isEmpty());
  EXPECT_FALSE(plain.service);
}

TEST(LaunchCommandTest, AServiceCallTakesItsUserDataAndItsFilesAsAbsoluteFileUrls) {
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
  EXPECT_TRUE(parse({"--service"}).service->items.isEmpty());

  // A name that is no valid UTF-8 keeps its bytes, through the wire form too.
  const QByteArray latin1Name("/tmp/caf\xe9");
  const LaunchCommand raw = LaunchCommand::parse({"--service", latin1Name}, "/");
  const QUrl item = LaunchCommand::decode(raw.encode())->service->items.value(0);
  EXPECT_EQ(QByteArray::fromPercentEncoding(item.path(QUrl::FullyEncoded).toLatin1()), latin1Name);
}

TEST(LaunchCommandTest, TheWireFormCarriesEveryPartAndRefusesOtherBytes) {
  for (const LaunchCommand& command :
       {parse({}), parse({"--background-command", "tessel://move/A", "tessel://move/B"}),
        parse({"--service", "favorite:0", "/a/b.txt"}), parse({"--service", "/a/#1.txt"})}) {
    EXPECT_EQ(LaunchCommand::decode(command.encode()), command);
  }
  EXPECT_EQ(LaunchCommand::decode("not json"), std::nullopt);
  EXPECT_EQ(LaunchCommand::decode("[1]"), std::nullopt);
}

TEST(LaunchCommandLineTest, HelpVersionAndMistakesAnswerWithoutAHostAndOtherLinesReachIt) {
  struct Case {
    QByteArrayList argv;
    int status;
    QByteArray outStart;
    QByteArray err;
  };
  const QByteArray tryHelp = "Try 'tessel --help' for more information.\n";
  for (const Case& c : std::vector<Case>{
           {{"tessel", "--help"}, 0, "Usage: tessel [--background-command]", ""},
           {{"tessel", "--service", "-h"}, 0, "Usage: tessel [--background-command]", ""},
           {{"tessel", "--version"}, 0, "tessel " TESSEL_VERSION "\n", ""},
           {{"tessel", "--bogus"}, 2, "", "tessel: Unknown option 'bogus'.\n" + tryHelp},
           {{"tessel", "--service=x"},
            2,
            "",
            "tessel: Unexpected value after '--service'.\n" + tryHelp}}) {
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
  EXPECT_EQ(favoriteIndex(QString("favorite:0")), 0);
  EXPECT_EQ(favoriteIndex(QString("favorite:+1")), 1);
  EXPECT_EQ(favoriteIndex(QString("favorite:-1")), -1);
  EXPECT_EQ(favoriteIndex(QString("favorite:9223372036854775807")),
            std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(favoriteIndex(QString("favorite:-9223372036854775808")),
            std::numeric_limits<std::int64_t>::min());
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
