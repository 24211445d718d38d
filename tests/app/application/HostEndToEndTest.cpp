// The real programs end to end: the host started in the background as the file
// manager starts it, commands chosen through tessel-finder, and later starts of
// `tessel` handing over.
#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QProcess>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "HostHarness.h"
#include "container/SharedContainer.h"
#include "records/Records.h"

namespace tessel::testing {
namespace {

using Words = std::vector<std::string>;
using Environment = std::map<std::string, std::string>;

// A program on a terminal, as the host is when a person starts it: the host
// then echoes every status line on its standard error. The test runs threads:
// the child only replaces itself, its output going nowhere.
class TerminalProcess {
 public:
  TerminalProcess(const char* program, Words words, const Environment& environment) {
    words.insert(words.begin(), program);
    Words variables;
    for (const auto& [name, value] : environment) variables.push_back(name + "=" + value);
    const auto pointers = [](std::vector<std::string>& strings) {
      std::vector<char*> result;
      for (std::string& string : strings) result.push_back(string.data());
      result.push_back(nullptr);
      return result;
    };
    std::vector<char*> argv = pointers(words), envp = pointers(variables);
    pid_ = ::forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      ::dup2(::open("/dev/null", O_WRONLY), STDOUT_FILENO);
      ::execve(program, argv.data(), envp.data());
      ::_exit(127);
    }
    ::fcntl(master_, F_SETFL, O_NONBLOCK);
  }
  ~TerminalProcess() {
    if (pid_ > 0) terminate();
    ::close(master_);
  }

  // Asks the program to end as the session does at log-out; its exit status, or
  // -1.
  int terminate() {
    int status = 0;
    ::kill(pid_, SIGTERM);
    const bool ended = ::waitpid(std::exchange(pid_, -1), &status, 0) > 0;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Waits until the program has written `text`. A move has ended only once the
  // host says so: a request that comes earlier finds it busy.
  bool said(const std::string& text) {
    const bool heard = waitUntil([&] { return output().find(text) != std::string::npos; });
    EXPECT_TRUE(heard) << output_;
    return heard;
  }
  // Everything written so far, carriage returns removed.
  std::string output() {
    char buffer[4096];
    for (ssize_t count; (count = ::read(master_, buffer, sizeof buffer)) > 0;)
      output_.append(buffer, static_cast<size_t>(count));
    std::erase(output_, '\r');
    return output_;
  }

 private:
  pid_t pid_ = -1;
  int master_ = -1;
  std::string output_;
};

class HostEndToEndTest : public HostHarness {
 protected:
  // The data folder and Info file of the harness, and a session of the test's own.
  HostEndToEndTest() : environment(platform.variables) {
    environment.insert({{"HOME", platform.home},
                        {"PATH", "/usr/bin:/bin"},
                        {"XDG_RUNTIME_DIR", temp.folder("run")},
                        {"TESSEL_HOST_EXECUTABLE", TESSEL_HOST},
                        {"QT_QPA_PLATFORM", "offscreen"},
                        {"LANGUAGE", "en"}});
    if (const char* bus = ::getenv("DBUS_SESSION_BUS_ADDRESS"))
      environment["DBUS_SESSION_BUS_ADDRESS"] = bus;
    ::chmod(temp.at("run").c_str(), 0700);
    writeSettings(favoritesAt({temp.folder("home/Archive")}));
  }

  // tessel-finder starts a `tessel` for each request, which hands it to the
  // running host and ends. One still starting when the test has stopped its
  // host finds none and stays on as a host of its own, for ever: every program
  // of this test's session goes with the test.
  ~HostEndToEndTest() override {
    const std::string session = "XDG_RUNTIME_DIR=" + environment["XDG_RUNTIME_DIR"];
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
      std::ifstream variables(process.path() / "environ");
      for (std::string variable; std::getline(variables, variable, '\0');)
        if (variable == session) ::kill(std::stoi(process.path().filename()), SIGKILL);
    }
  }

  // A host listens for hand-overs before it publishes its menu, so the menu's
  // appearance says it is ready; one left by an earlier host is removed first.
  std::unique_ptr<TerminalProcess> startHost() {
    const std::string menu = platform.container + "/menu.json";
    ::unlink(menu.c_str());
    auto host =
        std::make_unique<TerminalProcess>(TESSEL_HOST, Words{"--background-command"}, environment);
    EXPECT_TRUE(waitUntil([&] { return platform.fileExists(menu); }));
    return host;
  }

  // Starts a program in the test's session, its output on pipes.
  std::unique_ptr<QProcess> start(const char* program, const QStringList& arguments) {
    auto process = std::make_unique<QProcess>();
    QStringList variables;
    for (const auto& [name, value] : environment)
      variables << QString::fromStdString(name + "=" + value);
    process->setEnvironment(variables);
    process->start(program, arguments);
    return process;
  }

  // Runs a program to its end; its exit status. It must write `error` and
  // nothing else to its standard error.
  int run(const char* program, const QStringList& arguments, const QByteArray& error = "") {
    const std::unique_ptr<QProcess> process = start(program, arguments);
    EXPECT_TRUE(process->waitForFinished(20000)) << program;
    EXPECT_EQ(process->readAllStandardError(), error) << program;
    return process->exitCode();
  }

  // The wake-up URL of a request stored for a move of `file` into the
  // favourite.
  QString enqueueMove(const std::string& file) {
    const MoveRequest request = MoveRequest::make({file}, homePath("Archive"), false, {}, platform);
    SharedContainer::enqueue(request, platform);
    return QString::fromStdString("tessel://move/" + request.id.string());
  }

  // Calls the host through org.freedesktop.Application on the session bus, as
  // the desktop does; the host must own its name first.
  static bool hostOwnsItsName() {
    return waitUntil([] {
      return QDBusConnection::sessionBus().interface()->isServiceRegistered("com.quillmark.Tessel");
    });
  }
  static QDBusMessage callHost(const QString& method, const QVariantList& arguments) {
    EXPECT_TRUE(hostOwnsItsName());
    QDBusInterface host("com.quillmark.Tessel", "/com/quillmark/Tessel",
                        "org.freedesktop.Application");
    host.setTimeout(20000);
    return host.callWithArgumentList(QDBus::Block, method, arguments);
  }
  static QDBusMessage activate(const char* action, const QVariantList& parameters) {
    return callHost("ActivateAction", {QString(action), parameters, QVariantMap{}});
  }

  Environment environment;
};

// Each way a request reaches the running host: a later `tessel` with its URL,
// the desktop's Open on the session bus, and tessel-finder, which tries the bus
// first and, without one, starts a `tessel` that hands the request over.
TEST_F(HostEndToEndTest, AMoveReachesTheHostByEveryRouteIsJournalledAndUndone) {
  auto host = startHost();
  ASSERT_TRUE(hostOwnsItsName());
  const std::string moved = "tessel: Moved 1, skipped 0. \n";
  const std::string a = temp.file("home/Inbox/a.txt", "a");
  EXPECT_EQ(run(TESSEL_HOST, {"--background-command", enqueueMove(a)}), 0);
  ASSERT_TRUE(host->said(moved));
  EXPECT_EQ(host->output().find(moved), host->output().rfind(moved)) << "a line twice";
  const QString b = enqueueMove(temp.file("home/Inbox/b.txt", "b"));
  EXPECT_EQ(callHost("Open", {QStringList{b}, QVariantMap{}}).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(waitUntil([&] { return platform.fileExists(homePath("Archive/b.txt")); }));

  host.reset();
  environment.erase("TESSEL_HOST_EXECUTABLE");
  environment["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + temp.at("no-bus");
  host = startHost();
  const std::string file = temp.file("home/Inbox/report.pdf", "figures");
  EXPECT_EQ(run(TESSEL_FINDER, {"run", "Move To > Archive", "--select", file.c_str()}), 0);
  ASSERT_TRUE(host->said(moved));
  EXPECT_EQ(run(TESSEL_FINDER, {"run", "Undo Last Move"}), 0);
  ASSERT_TRUE(host->said("tessel: Undid 1 moves.\n"));
  EXPECT_TRUE(platform.fileExists(file));
}

// The Services entry of a store build: a start of `tessel` that receives no
// file says so, and so does the running host to a later start that hands the
// call over. On the bus the entry takes file names as bytes, one as a list of
// names, the other as a name alone: beside each file lies a look-alike, the
// same text decomposed or what a lossy decoding makes of a name that is not
// UTF-8. That name is refused by its bytes.
TEST_F(HostEndToEndTest, TheServicesEntryTakesFileNamesAsBytesAndSaysWhenItReceivedNone) {
  platform.writeInfo(false);
  const std::string none = "tessel: Could not receive files from the file manager.\n";
  TerminalProcess host(TESSEL_HOST, {"--service", "https://example.com/a"}, environment);
  ASSERT_TRUE(host.said(none));
  EXPECT_EQ(run(TESSEL_HOST, {"--service", "https://example.com/a"}, none.c_str()), 0);

  qDBusRegisterMetaType<QByteArrayList>();
  for (const auto& [name, lookAlike, moves, outcome] :
       std::vector<std::tuple<std::string, std::string, bool, std::string>>{
           {"caf\xc3\xa9.txt", "cafe\xcc\x81.txt", true, "Moved 1, skipped 0. "},
           {"bad\xff.txt", "bad\xef\xbf\xbd.txt", false,
            "Inbox/bad\\xFF.txt\" contains a name that is not valid UTF-8"}}) {
    const std::string file = temp.file("home/Inbox/" + name, "bytes");
    temp.file("home/Inbox/" + lookAlike, "other");
    const QByteArray path = QByteArray::fromStdString(file);
    const QVariant files = moves ? QVariant::fromValue(QByteArrayList{path}) : QVariant(path);
    const QDBusMessage reply = activate("service", {qint64{0}, files});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    ASSERT_TRUE(host.said(outcome));
    EXPECT_EQ(platform.fileExists(file), !moves) << name;
    EXPECT_TRUE(platform.fileExists(homePath("Inbox/" + lookAlike))) << name;
  }
  // A caller that sends no file it can name, or an action Tessel does not have,
  // hears why.
  const QDBusMessage nothing = activate("service", {QByteArray("relative.txt")});
  EXPECT_EQ(nothing.errorName(), "com.quillmark.Tessel.Error.FilesNotReceived");
  EXPECT_EQ(activate("quit", {}).errorName(), "org.freedesktop.DBus.Error.InvalidArgs");
}

// On the session bus the host answers tessel-finder once it has taken the request up, or with
// the reason it did not, which fails the run; a later `tessel` that hands a request over hears
// the reason too. Of many clients at once, exactly those that succeed have their files moved.
TEST_F(HostEndToEndTest, ARequestTheHostDoesNotTakeUpFailsItsCallerWithTheHostsReason) {
  if (!QDBusConnection::sessionBus().isConnected()) GTEST_SKIP() << "no session bus";
  environment.erase("TESSEL_HOST_EXECUTABLE");
  temp.folder("home/Archive/2026");
  auto host = startHost();
  ASSERT_TRUE(hostOwnsItsName());
  // A folder deleted since the host published its menu cannot be opened.
  ASSERT_EQ(::rmdir(homePath("Archive/2026").c_str()), 0);
  for (const auto& [language, refused] : {std::pair{"en", "Tessel did not carry out the request: "},
                                          std::pair{"ja", "Tesselは依頼を実行しませんでした: "}}) {
    environment["LANGUAGE"] = language;
    EXPECT_EQ(run(TESSEL_FINDER, {"run", "Move through Folders > Archive > 2026 > Open Folder"},
                  QByteArray("tessel-finder: ") + refused +
                      "Cannot open the registered destination folder.\n"),
              1);
  }
  environment["LANGUAGE"] = "en";
  platform.fixedNow = platform.now() - 600;
  const QString expired = enqueueMove(temp.file("home/Inbox/old.txt"));
  platform.fixedNow.reset();
  EXPECT_EQ(run(TESSEL_HOST, {"--background-command", expired},
                "tessel: The move request has expired.\n"),
            0);

  constexpr int kClients = 10;
  std::vector<std::unique_ptr<QProcess>> clients;
  for (int index = 0; index < kClients; ++index) {
    const std::string file = temp.file("home/Inbox/n" + std::to_string(index), "n");
    clients.push_back(start(TESSEL_FINDER, {"run", "Move To > Archive", "--select", file.c_str()}));
  }
  std::vector<int> succeeded;
  for (int index = 0; index < kClients; ++index) {
    QProcess& client = *clients[index];
    ASSERT_TRUE(client.waitForFinished(20000));
    const QByteArray error = client.readAllStandardError();
    if (client.exitCode() == 0) {
      EXPECT_EQ(error, "");
      succeeded.push_back(index);
    } else {
      EXPECT_EQ(std::pair(client.exitCode(), error),
                std::pair(1, QByteArray("tessel-finder: Tessel did not carry out the request: A "
                                        "move is in progress. Try again when it finishes.\n")));
    }
  }
  const auto movedHere = [&](int index) {
    return platform.fileExists(homePath("Archive/n" + std::to_string(index)));
  };
  EXPECT_TRUE(waitUntil([&] { return std::ranges::all_of(succeeded, movedHere); }));
  for (int index = 0; index < kClients; ++index) {
    EXPECT_EQ(movedHere(index), std::ranges::find(succeeded, index) != succeeded.end()) << index;
  }
}

// On a machine without a journal or syslog, whatever standard error is, the host's status
// lines and tessel-finder's failures are written there, not lost.
TEST_F(HostEndToEndTest, WithoutASystemLogTheHostAndTesselFinderSayEverythingOnStandardError) {
  if (QProcess::execute(TESSEL_WITHOUT_SYSTEM_LOG, {"true"}) != 0) {
    GTEST_SKIP() << "no private mount namespace";
  }
  const std::unique_ptr<QProcess> host =
      start(TESSEL_WITHOUT_SYSTEM_LOG, {TESSEL_HOST, "--background-command"});
  ASSERT_TRUE(waitUntil([&] { return platform.fileExists(platform.container + "/menu.json"); }));
  const std::string file = temp.file("home/Inbox/a.txt", "a");
  EXPECT_EQ(run(TESSEL_WITHOUT_SYSTEM_LOG,
                {TESSEL_FINDER, "run", "Move To > Archive", "--select", file.c_str()}),
            0);
  QByteArray said;
  EXPECT_TRUE(waitUntil([&] {
    said += host->readAllStandardError();
    return said.contains("tessel: Moved 1, skipped 0. \n");
  })) << said.toStdString();
  // A name that is not UTF-8, which a QString argument cannot carry: the shell makes it.
  EXPECT_EQ(
      run(TESSEL_WITHOUT_SYSTEM_LOG,
          {"sh", "-c", R"sh(exec "$0" run "Move To > Archive" --select "$1$(printf '\377')")sh",
           TESSEL_FINDER, QString::fromStdString(homePath("Inbox/bad"))},
          QByteArray::fromStdString("Tessel request failed: \"" + homePath("Inbox/bad\\xFF") +
                                    "\" contains a name that is not valid UTF-8, so "
                                    "Tessel cannot handle it.\n")),
      1);
  host->terminate();
  EXPECT_TRUE(host->waitForFinished(20000));
}

TEST_F(HostEndToEndTest, SigtermDuringALargeMoveEndsCleanlyWithAnUndoableJournal) {
  QStringList arguments{"run", "Move To > Archive"};
  for (int index = 0; index < 1000; ++index)
    arguments << "--select"
              << QString::fromStdString(temp.file("home/Inbox/f" + std::to_string(index), "x"));
  auto files = [&](const char* in) { return platform.contentsOfDirectory(homePath(in)).size(); };
  auto host = startHost();
  EXPECT_EQ(run(TESSEL_FINDER, arguments), 0);
  ASSERT_TRUE(waitUntil([&] { return files("Archive") > 0; }));
  EXPECT_EQ(host->terminate(), 0);
  host = startHost();
  EXPECT_EQ(run(TESSEL_FINDER, {"run", "Undo Last Move"}), 0);
  ASSERT_TRUE(waitUntil([&] { return files("Inbox") == 1000; }));
}

}  // namespace
}  // namespace tessel::testing
