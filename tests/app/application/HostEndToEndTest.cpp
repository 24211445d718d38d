// The real programs end to end: the host started in the background as the file manager starts
// it, commands chosen through tessel-finder, and later starts of `tessel` handing over.
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QProcess>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "WindowTestSession.h"
#include "container/SharedContainer.h"
#include "json/JsonText.h"
#include "model/FolderBookmark.h"
#include "records/Records.h"

extern char** environ;

namespace tessel::testing {
namespace {

// A program whose standard error is a terminal, as the host's is when a person starts it:
// the host then echoes every status line there.
class TerminalProcess {
 public:
  TerminalProcess(const std::string& program, const std::vector<std::string>& arguments,
                  const std::map<std::string, std::string>& environment) {
    int terminal = -1;
    if (::openpty(&master_, &terminal, nullptr, nullptr, nullptr) != 0) return;
    ::fcntl(master_, F_SETFL, O_NONBLOCK);
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<std::string> variables;
    for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& variable : variables) envp.push_back(variable.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, terminal, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, master_);
    if (::posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
      pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(terminal);
  }

  ~TerminalProcess() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) ::close(master_);
  }

  bool running() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }

  // Asks the program to end as the session does at log-out; its exit status, or -1.
  int terminate() {
    int status = 0;
    ::kill(pid_, SIGTERM);
    const bool ended = ::waitpid(pid_, &status, 0) == pid_;
    pid_ = -1;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Everything written so far, carriage returns removed.
  std::string output() {
    char buffer[4096];
    ssize_t count;
    while ((count = ::read(master_, buffer, sizeof buffer)) > 0)
      output_.append(buffer, static_cast<size_t>(count));
    std::erase(output_, '\r');
    return output_;
  }

 private:
  pid_t pid_ = -1;
  int master_ = -1;
  std::string output_;
};

class HostEndToEndTest : public WindowTestSession {
 protected:
  HostEndToEndTest() {
    environment = {{"HOME", platform.home},
                   {"PATH", "/usr/bin:/bin"},
                   {"XDG_DATA_HOME", platform.variables["XDG_DATA_HOME"]},
                   {"XDG_RUNTIME_DIR", temp.folder("run")},
                   {"TESSEL_INFO_FILE", platform.variables["TESSEL_INFO_FILE"]},
                   {"TESSEL_HOST_EXECUTABLE", TESSEL_HOST},
                   {"QT_QPA_PLATFORM", "offscreen"},
                   {"LANGUAGE", "en"}};
    if (const char* bus = ::getenv("DBUS_SESSION_BUS_ADDRESS"))
      environment["DBUS_SESSION_BUS_ADDRESS"] = bus;
    ::chmod(temp.at("run").c_str(), 0700);
    writeSettings(favoritesAt({temp.folder("home/Archive")}));
  }

  // tessel-finder starts a `tessel` for each request, which hands it to the running host and
  // ends. One still starting when the test has stopped its host finds none and stays on as a
  // host of its own, for ever: every program of this test's session goes with the test.
  ~HostEndToEndTest() override {
    const std::string session = "XDG_RUNTIME_DIR=" + environment["XDG_RUNTIME_DIR"];
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
      const std::string pid = process.path().filename();
      if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
      std::ifstream variables(process.path() / "environ");
      for (std::string variable; std::getline(variables, variable, '\0');) {
        if (variable == session) ::kill(std::stoi(pid), SIGKILL);
      }
    }
  }

  // A host listens for hand-overs before it publishes its menu, so the menu's appearance says
  // it is ready; one left by an earlier host is removed first.
  std::unique_ptr<TerminalProcess> startHost() {
    const std::string menu = platform.container + "/menu.json";
    ::unlink(menu.c_str());
    auto host = std::make_unique<TerminalProcess>(
        TESSEL_HOST, std::vector<std::string>{"--background-command"}, environment);
    EXPECT_TRUE(waitUntil([&] { return platform.fileExists(menu); }));
    return host;
  }

  // Runs a program to its end; its exit status. It must write `error` and nothing else to
  // its standard error.
  int run(const QString& program, const QStringList& arguments, const QByteArray& error = "") {
    QProcess process;
    QProcessEnvironment variables;
    for (const auto& [name, value] : environment) {
      variables.insert(QString::fromStdString(name), QString::fromStdString(value));
    }
    process.setProcessEnvironment(variables);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(20000)) << program.toStdString();
    EXPECT_EQ(process.readAllStandardError(), error) << program.toStdString();
    return process.exitCode();
  }

  // The identifier of a request stored for a move of `file` into the favourite.
  std::string enqueueMove(const std::string& file) {
    const MoveRequest request = MoveRequest::make({file}, homePath("Archive"), false, {}, platform);
    SharedContainer::enqueue(request, platform);
    return request.id.string();
  }

  // Calls the host through org.freedesktop.Application on the session bus, as the desktop
  // does; the host must own its name first.
  static QDBusMessage callHost(const QString& method, const QVariantList& arguments) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    EXPECT_TRUE(waitUntil([&] {
      return bus.interface()->isServiceRegistered(QStringLiteral("com.quillmark.Tessel")).value();
    }));
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("com.quillmark.Tessel"), QStringLiteral("/com/quillmark/Tessel"),
        QStringLiteral("org.freedesktop.Application"), method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, 20000);
  }

  int tesselFinder(const QStringList& arguments) { return run(TESSEL_FINDER, arguments); }
  int tessel(const QStringList& arguments, const QByteArray& error = "") {
    return run(TESSEL_HOST, arguments, error);
  }

  std::map<std::string, std::string> environment;
};

// Each way a request reaches the running host: a later `tessel` with its URL, the desktop's
// Open on the session bus, and tessel-finder, which tries the bus first and, without one,
// starts a `tessel` that hands the request over.
TEST_F(HostEndToEndTest, AMoveReachesTheHostByEveryRouteIsJournalledAndUndone) {
  auto host = startHost();
  const auto moved = [&](const std::string& name) {
    return waitUntil([&] { return platform.fileExists(homePath("Archive/" + name)); });
  };
  const std::string first = temp.file("home/Inbox/a.txt", "a");
  const QString id = QString::fromStdString(enqueueMove(first));
  EXPECT_EQ(tessel({"tessel://move/not-a-request"}), 0);
  EXPECT_EQ(tessel({"tessel://MOVE/" + id}), 0);
  EXPECT_TRUE(platform.fileExists(first));
  EXPECT_EQ(host->output().find("tessel:"), std::string::npos) << host->output();
  EXPECT_EQ(tessel({"--background-command", "tessel://move/" + id}), 0);
  EXPECT_TRUE(moved("a.txt"));
  const QDBusMessage reply =
      callHost("Open", {QStringList{QString::fromStdString(
                            "tessel://move/" + enqueueMove(temp.file("home/Inbox/b.txt", "b")))},
                        QVariantMap{}});
  EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  EXPECT_TRUE(moved("b.txt"));
  EXPECT_TRUE(platform.contentsOfDirectory(temp.at("data/group.test/Requests")).empty());
  EXPECT_TRUE(host->running());

  host.reset();
  environment.erase("TESSEL_HOST_EXECUTABLE");
  environment["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + temp.at("no-bus");
  host = startHost();
  const std::string file = temp.file("home/Inbox/report.pdf", "figures");
  EXPECT_EQ(tesselFinder({"run", "Move To > Archive", "--select", QString::fromStdString(file)}),
            0);
  ASSERT_TRUE(moved("report.pdf"));
  EXPECT_FALSE(platform.fileExists(file));
  // JSON writes "/" as "\/".
  EXPECT_NE(journal().find(R"(Archive\/report.pdf",)"), std::string::npos) << journal();
  ASSERT_TRUE(waitUntil([&] {
    return host->output().find("tessel: Moved 1, skipped 0. \n") != std::string::npos;
  })) << host->output();
  EXPECT_EQ(tesselFinder({"run", "Undo Last Move"}), 0);
  ASSERT_TRUE(waitUntil([&] { return platform.fileExists(file); }));
  EXPECT_FALSE(platform.fileExists(homePath("Archive/report.pdf")));
  ASSERT_TRUE(waitUntil(
      [&] { return host->output().find("tessel: Undid 1 moves.\n") != std::string::npos; }));
  EXPECT_TRUE(host->running());
}

TEST_F(HostEndToEndTest, TheServicesActionOnTheBusTakesFileNamesAsBytes) {
  platform.writeInfo(false);
  const std::string archive = homePath("Archive");
  temp.file(
      "data/Tessel/settings.json",
      R"({"favorites":[{"id":"8C1D6D2A-3F0B-4C49-9E55-2B7A0F6C1D3E","name":"Archive","path":")" +
          archive + R"(","bookmark":")" +
          base64Encode(FolderBookmark::create(archive, platform).data) +
          R"("}],"roots":[],"recent":[],"policy":"keepBoth"})");
  qDBusRegisterMetaType<QByteArrayList>();
  auto host = startHost();
  // Beside each file lies a look-alike: the same text decomposed, or what a lossy decoding
  // makes of a name that is not UTF-8. That name is refused by its bytes; neither file moves.
  const struct {
    std::string name;
    std::string lookAlike;
    bool asList;
    std::string outcome;
  } cases[] = {
      {"caf\xc3\xa9.txt", "cafe\xcc\x81.txt", true, "Moved 1, skipped 0. "},
      {"bad\xff.txt", "bad\xef\xbf\xbd.txt", false, "contains a name that is not valid UTF-8"},
  };
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.name);
    const std::string file = temp.file("home/Inbox/" + entry.name, "bytes");
    const std::string lookAlike = temp.file("home/Inbox/" + entry.lookAlike, "other");
    const QByteArray path = QByteArray::fromStdString(file);
    const QVariant files =
        entry.asList ? QVariant::fromValue(QByteArrayList{path}) : QVariant(path);
    const QDBusMessage reply =
        callHost("ActivateAction",
                 {QStringLiteral("service"), QVariantList{qint64{0}, files}, QVariantMap{}});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    ASSERT_TRUE(waitUntil([&] { return host->output().find(entry.outcome) != std::string::npos; }))
        << host->output();
    const bool moved = entry.outcome.starts_with("Moved");
    EXPECT_EQ(platform.fileExists(archive + "/" + entry.name), moved);
    EXPECT_EQ(platform.fileExists(file), !moved);
    EXPECT_TRUE(platform.fileExists(lookAlike));
  }
  EXPECT_NE(host->output().find("Inbox/bad\\xFF.txt\""), std::string::npos) << host->output();

  // A caller that sends no file it can name, or an action Tessel does not have, hears why.
  const QDBusMessage nothing = callHost(
      "ActivateAction",
      {QStringLiteral("service"), QVariantList{QByteArray("relative.txt")}, QVariantMap{}});
  EXPECT_EQ(nothing.errorName(), "com.quillmark.Tessel.Error.FilesNotReceived");
  EXPECT_EQ(nothing.errorMessage(), "Could not receive files from the file manager.");
  EXPECT_EQ(callHost("ActivateAction", {QStringLiteral("quit"), QVariantList{}, QVariantMap{}})
                .errorName(),
            "org.freedesktop.DBus.Error.InvalidArgs");
}

TEST_F(HostEndToEndTest, AServiceCallSaysWhenItReceivedNoFileWhetherItStartsTheHostOrNot) {
  platform.writeInfo(false);
  TerminalProcess host(TESSEL_HOST, {"--service", "https://example.com/a"}, environment);
  ASSERT_TRUE(waitUntil([&] {
    return host.output().find("tessel: Could not receive files from the file manager.\n") !=
           std::string::npos;
  })) << host.output();
  EXPECT_TRUE(host.running());
  // A later call hands over, and the running host's answer goes to its caller.
  EXPECT_EQ(tessel({"--service", "https://example.com/a"},
                   "tessel: Could not receive files from the file manager.\n"),
            0);
}

TEST_F(HostEndToEndTest, SigtermDuringALargeMoveEndsCleanlyWithAnUndoableJournal) {
  std::vector<std::string> files;
  QStringList arguments{"run", "Move To > Archive"};
  for (int index = 0; index < 1000; ++index) {
    files.push_back(temp.file("home/Inbox/f" + std::to_string(index), "x"));
    arguments << "--select" << QString::fromStdString(files.back());
  }
  {
    auto host = startHost();
    EXPECT_EQ(tesselFinder(arguments), 0);
    ASSERT_TRUE(
        waitUntil([&] { return !platform.contentsOfDirectory(homePath("Archive")).empty(); }));
    EXPECT_EQ(host->terminate(), 0);
  }
  EXPECT_TRUE(std::ranges::none_of(
      platform.contentsOfDirectory(temp.at("run")),
      [](const DirectoryEntry& entry) { return entry.name.ends_with(".socket"); }));
  auto host = startHost();
  EXPECT_EQ(tesselFinder({"run", "Undo Last Move"}), 0);
  ASSERT_TRUE(waitUntil([&] {
    return std::ranges::all_of(files,
                               [&](const std::string& file) { return platform.fileExists(file); });
  }));
}

}  // namespace
}  // namespace tessel::testing
