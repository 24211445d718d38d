// The extension core, mostly through tessel-finder's command lines: run in-process, they show
// the menu as the file manager would and run its items, starting the stand-in host. The file
// manager's side (a preset selection, the desktop's program starts, a platform that keeps the
// log) is safe to use from many threads: `make test-tsan` runs this program under
// ThreadSanitizer, since the file manager calls the extension from threads of its choosing.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <thread>

#include "CommandLine.h"
#include "DetachedProcess.h"
#include "FaultInjectingPlatform.h"
#include "FinderSession.h"
#include "FinderSync.h"
#include "HostApplication.h"
#include "LinuxWorkspace.h"
#include "ModuleMenuCases.h"
#include "PresetFinderController.h"
#include "ScopedLanguage.h"
#include "core/Bundle.h"
#include "path/PathText.h"

namespace tessel::testing {
namespace {

using Command = FinderSync::Command;

// The real platform with the log captured and, when a test sets one, a location of its own.
struct LoggingPlatform final : FaultInjectingPlatform {
  std::optional<std::string> modulePathOverride;
  std::string modulePath() override {
    return modulePathOverride.value_or(FaultInjectingPlatform::modulePath());
  }
};

class FinderTest : public FinderSession {
 protected:
  int run(const std::vector<std::string>& arguments) {
    out.str({});
    err.str({});
    return runTesselFinder(arguments, out, err, platform);
  }

  LoggingPlatform platform;
  PresetFinderController finder;
  SilentNotificationCenter notifications;
  LinuxWorkspace workspace;
  FinderSync sync{finder, notifications, workspace, {}, platform};
  std::ostringstream out, err;
};

TEST_F(FinderTest, MenuAndWatchedShowWhatTheFileManagerWould) {
  EXPECT_EQ(run({"menu"}), 0);
  EXPECT_EQ(
      out.str(),
      "Move To\n  Archive  #1  (disabled)\n  Inbox  #2  (disabled)\nMove through Folders\n"
      "  Archive\n    Move Here  #3  (disabled)\n    Open Folder  #4\n    ---\n    2026\n"
      "      Move Here  #5  (disabled)\n      Open Folder  #6\n  Inbox\n"
      "    Move Here  #7  (disabled)\n    Open Folder  #8\nMove through Folders…  #9  (disabled)\n"
      "Recent Destinations\n  Inbox  #10  (disabled)\n  2026  #11  (disabled)\n---\n"
      "Undo Last Move  #12\nOpen Move Settings…  #13\n");
  EXPECT_EQ(run({"menu", "--select", home + "/x", "--json"}), 0);
  EXPECT_EQ(nlohmann::json::parse(out.str())["items"][0]["submenu"]["items"][0],
            (nlohmann::json{{"title", "Archive"}, {"tag", 1}, {"enabled", true}}));
  EXPECT_EQ(run({"watched"}), 0);
  EXPECT_EQ(out.str(), home + "\n" + media + "\n");

  // An unreadable snapshot, and then no container to read one from, leave only the settings item.
  folder.file("data/group.com.quillmark.Tessel/menu.json", R"({"roots":["/c"]})");
  for (const bool container : {true, false}) {
    if (!container) folder.file("info.json", R"({"TesselAppGroup":""})");
    EXPECT_EQ(run({"menu"}), 0);
    EXPECT_EQ(out.str(), "Open Move Settings…  #1\n");
  }
  // A core that found no container looks for it again on the next menu.
  FinderSync early{finder, notifications, workspace, {}, platform};
  EXPECT_EQ(early.buildMenu().items.size(), 1u);
  folder.file("info.json", "{}");
  SharedContainer::publish(sample);
  EXPECT_EQ(early.buildMenu().items.size(), 6u);

  // Within a row budget (the 20 rows above, without the chooser) the hierarchy is a submenu;
  // one row more and it is the one item that opens the chooser.
  for (const auto& [budget, title] :
       {std::pair<std::size_t, std::string>{20, "Move through Folders"},
        {19, "Move through Folders…"}}) {
    FinderSync files{finder, notifications, workspace, {budget, false}, platform};
    const Menu menu = files.buildMenu();
    ASSERT_EQ(menu.items.size(), 6u) << budget;
    EXPECT_EQ(menu.items[1].title, title);
    EXPECT_EQ(menu.items[1].submenu == nullptr, menu.items[1].tag.has_value());
  }
}

// The core's `menu` drawn as the modules' menu cases are.
std::string drawn(const Menu& menu, std::size_t depth = 0) {
  std::string out;
  for (const MenuItem& item : menu.items) {
    out += std::string(2 * depth, ' ');
    if (item.separator) {
      out += "—\n";
      continue;
    }
    out += item.title + (item.submenu ? " ›" : "") + (item.enabled ? "" : " (off)") + "\n";
    if (item.submenu) out += drawn(*item.submenu, depth + 1);
  }
  return out;
}

// The table every module's test compares its file manager's menus with is the core's own.
TEST_F(FinderTest, TheModulesMenuCasesAreTheCoresMenus) {
  for (const ModuleMenuCase& menuCase : moduleMenuCases(home, sample)) {
    publish(menuCase, folder);
    ScopedLanguage language(menuCase.language.c_str());
    finder.setSelection(menuCase.background
                            ? std::vector<std::string>{}
                            : std::vector<std::string>{home + "/a.txt", home + "/b"});
    EXPECT_EQ(drawn(sync.buildMenu()), menuCase.shown) << menuCase.name;
  }
}

TEST_F(FinderTest, RunStoresTheRequestOfTheItemNamedThenWakesTheHostWithItsIdentifier) {
  ASSERT_EQ(::chdir(home.c_str()), 0);
  const std::vector<std::string> selected{home + "/notes.txt", media + "/b"};
  // In a Japanese session English titles work too: they are those of a second, English menu.
  std::optional<ScopedLanguage> japanese(std::in_place, "ja");
  for (const auto& [titles, operation, destination, hierarchical] :
       std::vector<std::tuple<std::string, std::optional<std::string>, std::string, bool>>{
           {"移動先 > Archive", {}, home + "/Archive", false},
           {"Move through Folders > Archive > 2026 > Move Here", {}, home + "/Archive/2026", true},
           // A recent favourite moves as one; a recent folder inside a favourite does not.
           {"Recent Destinations > Inbox", {}, home + "/Inbox", false},
           {"Recent Destinations > 2026", {}, home + "/Archive/2026", true},
           // Opening a folder and undoing ignore the selection.
           {"Move through Folders > Inbox > Open Folder", "openFolder", home + "/Inbox", true},
           {"Undo Last Move", "undo", "", false},
           // The chooser takes the selection and leaves the folder to the host's window.
           {"フォルダ階層から移動…", "choose", "", false}}) {
    EXPECT_EQ(run({"run", titles, "--select=notes.txt", "-s", media + "/b"}), 0) << err.str();
    const std::vector<MoveRequest> stored = takeRequests();
    ASSERT_EQ(stored.size(), 1u) << titles;
    const bool takesSelection = !operation || operation == "choose";
    EXPECT_EQ(stored[0].sources, takesSelection ? selected : std::vector<std::string>{}) << titles;
    EXPECT_EQ(std::tie(stored[0].operation, stored[0].destination, stored[0].hierarchical),
              std::tie(operation, destination, hierarchical))
        << titles;
    EXPECT_EQ(nextHostStart(), "--background-command tessel://move/" + stored[0].id.string());
  }

  // A host that cannot start fails the run; the request stays for a host started later.
  japanese.reset();
  ::setenv("TESSEL_HOST_EXECUTABLE", folder.at("missing/tessel").c_str(), 1);
  EXPECT_EQ(run({"run", "Undo Last Move"}), 1);
  EXPECT_EQ(err.str(), "Tessel host launch failed: Cannot start \"" + folder.at("missing/tessel") +
                           "\": No such file or directory\n");
  EXPECT_EQ(takeRequests().size(), 1u);

  // With no host named, the one beside the program is chosen, else the one that the install
  // puts among the programs, found from the module's folder.
  ::unsetenv("TESSEL_HOST_EXECUTABLE");
  Bundle::setModuleToPrograms("../../bin");
  platform.modulePathOverride = "/opt/t/lib/thunarx-3/tessel-thunar.so";
  EXPECT_EQ(HostApplication::executablePath(platform), "/opt/t/bin/tessel");
  platform.modulePathOverride = folder.at("build/bin/tessel-finder");
  folder.file("build/bin/tessel");
  EXPECT_EQ(HostApplication::executablePath(platform), folder.at("build/bin/tessel"));
  Bundle::setModuleToPrograms("");
}

// The started program keeps nothing of its caller: no descriptor, no blocked or ignored signal,
// no session; its streams are /dev/null, and once it ends no zombie is left.
TEST_F(FinderTest, ADetachedProgramStartsAfreshAndIsReapedWhenItEnds) {
  const int inheritable = ::open("/dev/zero", O_RDONLY);
  sigset_t usr1;
  ::sigemptyset(&usr1);
  ::sigaddset(&usr1, SIGUSR1);
  ::pthread_sigmask(SIG_BLOCK, &usr1, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
  const std::string record = folder.at("record");
  EXPECT_EQ(
      startDetached("/bin/sh", {"-c",
                                "(cd /proc/$$ && echo $$ && ls fd && readlink fd/0 fd/1 fd/2 && "
                                "grep -E 'SigBlk|SigIgn' status && cut -d' ' -f6 stat)"
                                ">\"$0.part\" && mv \"$0.part\" \"$0\"",
                                record}),
      std::nullopt);
  ::signal(SIGPIPE, SIG_DFL);
  ::pthread_sigmask(SIG_UNBLOCK, &usr1, nullptr);
  ::close(inheritable);
  ASSERT_TRUE(waitUntil([&] { return platform.fileExists(record); }));
  const std::string text = platform.readFile(record);
  const std::string pid = text.substr(0, text.find('\n'));
  EXPECT_EQ(text.substr(0, text.find("SigBlk")),
            pid + "\n0\n1\n2\n/dev/null\n/dev/null\n/dev/null\n");
  // Signals 1 to 31; the C library keeps those above for itself.
  for (const char* mask : {"SigBlk:\t", "SigIgn:\t"}) {
    EXPECT_EQ(std::stoull(text.substr(text.find(mask) + 8, 16), nullptr, 16) & 0x7fffffff, 0u)
        << mask;
  }
  EXPECT_NE(text.substr(text.rfind('\n', text.size() - 2) + 1), std::to_string(::getsid(0)) + "\n");
  EXPECT_TRUE(waitUntil([&] { return !platform.fileExists("/proc/" + pid); })) << "a zombie";
}

TEST_F(FinderTest, CommandLinesThatCannotRunSayWhyAndRunNothing) {
  for (const auto& [arguments, status, problem] :
       std::vector<std::tuple<std::vector<std::string>, int, std::string>>{
           // Titles are parted by " > " only, and a separator has no title to match.
           {{"run", "Move To>Archive"}, 1, "There is no menu item \"Move To>Archive\"."},
           {{"run", ""}, 1, "There is no menu item \"\"."},
           {{"run", "Undo Last Move > X"}, 1, "There is no menu item \"Undo Last Move > X\"."},
           {{"run", "Move To"}, 1, "\"Move To\" opens a submenu: name an item inside it."},
           {{"run", "Move To > Archive"},
            1,
            "\"Move To > Archive\" cannot be chosen now: name the items to move with --select."},
           {{}, 2, "Name a command: menu, run or watched."},
           {{"move"}, 2, "Unknown argument \"move\"."},
           {{"run"}, 2, "run needs the titles of the item to run."},
           {{"menu", "-s"}, 2, "Option \"-s\" needs a value."},
           {{"menu", "--bogus=1"}, 2, "Unknown option \"--bogus\"."},
           {{"watched", "--json"}, 2, "Unknown argument \"--json\"."},
           {{"run", "Undo", "Again"}, 2, "Unknown argument \"Again\"."}}) {
    EXPECT_EQ(run(arguments), status) << problem;
    EXPECT_EQ(err.str(),
              "tessel-finder: " + problem +
                  (status == 2 ? "\nTry 'tessel-finder --help' for more information.\n" : "\n"));
  }
  EXPECT_EQ(run({"run", "-h"}), 0);
  EXPECT_EQ(out.str().rfind("Usage: tessel-finder menu", 0), 0u) << out.str();
  EXPECT_TRUE(takeRequests().empty());

  // The help says, in the user's language, that a request the host refused exits with 1.
  for (const auto& [language, exitStatus] : std::vector<std::pair<const char*, std::string>>{
           {"en", "or the host did not carry the request out (its reason\nis printed"},
           {"ja", "またはホストが依頼を実行しなかった（理由を標準エラーに表示）"}}) {
    const ScopedLanguage scoped(language);
    EXPECT_EQ(run({"--help"}), 0);
    EXPECT_NE(out.str().find(exitStatus), std::string::npos) << out.str();
  }
}

TEST_F(FinderTest, CommandsThatCannotRunAreLoggedAndSendNothing) {
  sync.buildMenu();
  constexpr std::int64_t kFavoriteArchive = 1, kUndo = 11;
  // A move whose selection vanished since the menu was built.
  sync.execute(kFavoriteArchive);
  finder.setSelection(std::vector<std::string>{});
  sync.execute(kFavoriteArchive);

  // Once the host has published other favourites, the earlier menu's items keep their commands.
  MenuSnapshot other = sample;
  other.favorites.erase(other.favorites.begin());
  SharedContainer::publish(other);
  const std::int64_t newerLastTag = sync.buildMenu().items.back().tag.value();
  EXPECT_EQ(sync.command(1), (Command{Command::Move{home + "/Archive", false}}));

  // Items outlived by 8192 later commands, and tags never handed out.
  MenuItem later;
  for (auto tag = newerLastTag + 1; tag <= 8193; ++tag) {
    sync.registerCommand(Command{Command::Undo{}}, later);
  }
  EXPECT_EQ(sync.command(2), (Command{Command::Move{home + "/Inbox", false}}));
  finder.setSelection(std::vector<std::string>{home + "/x"});
  sync.execute(kFavoriteArchive);
  sync.execute(-1);

  // Without a container the request cannot be stored: the host is opened for the user to see
  // why.
  folder.file("info.json", R"({"TesselAppGroup":".."})");
  sync.execute(kUndo);
  EXPECT_EQ(platform.logged,
            (std::vector<std::string>{
                "Tessel selection unavailable", "Tessel selection unavailable",
                "Tessel command unavailable (tag 1)", "Tessel command unavailable (tag -1)",
                "Tessel request failed: Cannot open Tessel’s shared folder. Check that the data "
                "folder exists and can be written."}));
  EXPECT_EQ(nextHostStart(), "");
  EXPECT_TRUE(takeRequests().empty());
}

TEST_F(FinderTest, MenusAndCommandsFromManyThreadsKeepTagsUniqueAndLoseNoRequest) {
  constexpr int kThreads = 8, kRounds = 10;
  finder.setSelection(std::vector<std::string>{home + "/x"});
  // The host republishing meanwhile: readers see the old or the new snapshot.
  std::jthread host([&](const std::stop_token& stop) {
    for (int round = 0; !stop.stop_requested(); ++round) {
      MenuSnapshot snapshot = sample;
      snapshot.roots.push_back("/media/round" + std::to_string(round % 2));
      SharedContainer::publish(snapshot);
      sync.refreshDirectories();
    }
  });
  // Each round builds a menu and runs its first move or its undo item.
  std::vector<std::int64_t> tags(kThreads * kRounds);
  std::vector<std::thread> callers;
  for (int t = 0; t < kThreads; ++t)
    callers.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        const Menu menu = sync.buildMenu();
        const MenuItem& item = round % 2 ? menu.items.at(4) : menu.items[0].submenu->items.at(0);
        sync.execute(tags[t * kRounds + round] = item.tag.value());
      }
    });
  for (std::thread& caller : callers) caller.join();
  host = {};  // stops it and waits for it
  EXPECT_EQ(std::set(tags.begin(), tags.end()).size(), tags.size()) << "a tag was handed out twice";
  EXPECT_EQ(takeRequests().size(), tags.size());
  EXPECT_TRUE(platform.logged.empty());
}

}  // namespace
}  // namespace tessel::testing
