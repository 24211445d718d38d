#include "CommandLine.h"

#include <getopt.h>
#include <unistd.h>

#include <iostream>
#include <mutex>
#include <optional>

#include "BusWorkspace.h"
#include "FinderSync.h"
#include "LinuxWorkspace.h"
#include "MenuText.h"
#include "PresetFinderController.h"
#include "TitlePath.h"
#include "core/Localization.h"
#include "core/TypedOption.h"
#include "path/PathText.h"

namespace tessel {
namespace {

struct Invocation {
  std::string verb;
  std::optional<std::string> titlePath;
  std::vector<std::string> selection;
  bool json = false;
};

// A command line that cannot be understood: the problem, then where to learn more.
class UsageError : public std::runtime_error {
 public:
  explicit UsageError(const std::string& problem)
      : std::runtime_error("tessel-finder: " + problem + "\n" +
                           localizedText("詳しくは 'tessel-finder --help' を実行してください。\n",
                                         "Try 'tessel-finder --help' for more information.\n")) {}
};

// What --help and --version print instead of doing anything.
class Answer : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string help() {
  return localizedText("使い方:", "Usage:") +
         " tessel-finder menu [--select PATH]... [--json]\n"
         "       tessel-finder run \"TITLE > TITLE > ...\" [--select PATH]...\n"
         "       tessel-finder watched\n" +
         localizedText(
             "\nファイルマネージャのTesselメニューを表示し、その項目を実行します。\n\n"
             "  menu             選択に対するメニューを表示します\n"
             "  run TITLES       タイトルを \" > \" でつないで指定した項目を実行します\n"
             "                   （英語のタイトルはどの言語でも使えます）\n"
             "  watched          メニューを表示するフォルダを一覧します\n"
             "  -s, --select=PATH  選択する項目（繰り返し可。相対パスは現在のフォルダから）\n"
             "  -j, --json       menu をJSONで表示します\n"
             "  -h, --help       このヘルプを表示して終了します\n"
             "  -V, --version    バージョンを表示して終了します\n\n"
             "終了ステータス: 0 成功。run では、ホストが依頼を引き受けたとき（移動や取り消しは"
             "その後に行われ、結果はホストの状態表示とログに出ます）、または応答のないまま依頼を"
             "渡したとき（ホストをプログラムとして起動したか、ホストが10秒以内に応答しなかった"
             "とき。ホストは応答したときに実行します）。1 項目がないか実行に失敗（ログ行を標準"
             "エラーにも表示）、またはホストが依頼を実行しなかった（理由を標準エラーに表示）。"
             "2 コマンドラインの誤り\n\n"
             "環境変数: LANGUAGE, LC_ALL, LC_MESSAGES, LANG（表示言語）、XDG_DATA_HOME、"
             "TESSEL_HOST_EXECUTABLE（バスを使わずに起動するホスト）、"
             "TESSEL_INFO_FILE（Infoファイル）\n",
             "\nShows the file manager's Tessel menu and runs its items.\n\n"
             "  menu             print the menu for the selection\n"
             "  run TITLES       run the item named by its titles joined by \" > \"\n"
             "                   (English titles work in every language)\n"
             "  watched          print the folders within which the menu is offered\n"
             "  -s, --select=PATH  an item to act on (repeatable; relative to the current folder)\n"
             "  -j, --json       print the menu as JSON\n"
             "  -h, --help       print this help and exit\n"
             "  -V, --version    print the version and exit\n\n"
             "Exit status: 0 on success; for run, once the host has taken the request up (a\n"
             "move or an undo then runs; its outcome is in the host's status line and log), or\n"
             "once the request was handed over without an answer (the host was started as a\n"
             "program, or has not answered within ten seconds and carries it out when it does).\n"
             "1 when the titles name no runnable item, the command failed (its log line is also\n"
             "printed on standard error), or the host did not carry the request out (its reason\n"
             "is printed on standard error). 2 for a malformed command line.\n\n"
             "Environment: LANGUAGE, LC_ALL, LC_MESSAGES, LANG (the language of titles and\n"
             "messages); XDG_DATA_HOME; TESSEL_HOST_EXECUTABLE (a host to start instead of\n"
             "calling it on the session bus); TESSEL_INFO_FILE (the Info file to read).\n");
}

// The file manager hands over absolute paths; a path typed relative to the current folder is
// made absolute the same way.
std::string absolutePath(const std::string& path) {
  if (!path.empty() && path.front() == '/') return standardizedPath(path);
  std::string current(4096, '\0');
  if (::getcwd(current.data(), current.size()) == nullptr) return standardizedPath(path);
  current.resize(current.find('\0'));
  return standardizedPath(joinPath(current, path));
}

Invocation parse(const std::vector<std::string>& arguments) {
  const std::string program = "tessel-finder";
  std::vector<std::string> words{program};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());

  static const option kOptions[] = {{"select", required_argument, nullptr, 's'},
                                    {"json", no_argument, nullptr, 'j'},
                                    {"help", no_argument, nullptr, 'h'},
                                    {"version", no_argument, nullptr, 'V'},
                                    {nullptr, 0, nullptr, 0}};
  Invocation invocation;
  bool json = false;
  ::opterr = 0;
  ::optind = 0;  // a full restart: each call parses its own command line
  for (int option;
       (option = ::getopt_long(argc, argv.data(), ":s:jhV", kOptions, nullptr)) != -1;) {
    switch (option) {
      case 's':
        invocation.selection.push_back(absolutePath(::optarg));
        break;
      case 'j':
        json = true;
        break;
      case 'h':
        throw Answer(help());
      case 'V':
        throw Answer("tessel-finder " TESSEL_VERSION "\n");
      case ':':
        throw UsageError(formatText(
            localizedText("オプション「%@」には値が必要です。", "Option \"%@\" needs a value."),
            {typedOption(argv.data(), ::optind, ::optopt)}));
      default:
        throw UsageError(
            formatText(localizedText("「%@」は使えないオプションです。", "Unknown option \"%@\"."),
                       {typedOption(argv.data(), ::optind, ::optopt)}));
    }
  }
  // getopt_long moves the operands behind the options it read, within argv.
  const std::vector<std::string> operands(argv.begin() + ::optind, argv.end() - 1);
  const auto unexpected = [](const std::string& argument) {
    return UsageError(formatText(
        localizedText("「%@」は使えない引数です。", "Unknown argument \"%@\"."), {argument}));
  };
  if (operands.empty()) {
    throw UsageError(localizedText("menu、run、watched のどれかを指定してください。",
                                   "Name a command: menu, run or watched."));
  }
  invocation.verb = operands.front();
  if (invocation.verb != "menu" && invocation.verb != "run" && invocation.verb != "watched") {
    throw unexpected(invocation.verb);
  }
  const size_t allowedOperands = invocation.verb == "run" ? 2 : 1;
  if (operands.size() > allowedOperands) throw unexpected(operands[allowedOperands]);
  if (invocation.verb == "run") {
    if (operands.size() < 2) {
      throw UsageError(localizedText("run には実行する項目のタイトルが必要です。",
                                     "run needs the titles of the item to run."));
    }
    invocation.titlePath = operands[1];
  }
  if (json && invocation.verb != "menu") throw unexpected("--json");
  if (!invocation.selection.empty() && invocation.verb == "watched") throw unexpected("--select");
  invocation.json = json;
  return invocation;
}

// Sends the extension's log lines to the system log and shows them to the person or script
// that called, whatever the log did with them, counting them: every one of them reports a
// failure. (The program keeps the system log off its standard error, so none shows twice.)
// The host's refusal of a request is shown and counted the same way.
class EchoingPlatform final : public PlatformWrapper {
 public:
  EchoingPlatform(Platform& target, std::ostream& err) : PlatformWrapper(target), err_(err) {}

  void log(const std::string& line) override {
    PlatformWrapper::log(line);
    report(line);
  }

  void refused(const std::string& reason) {
    report("tessel-finder: " + formatText(localizedText("Tesselは依頼を実行しませんでした: %@",
                                                        "Tessel did not carry out the request: %@"),
                                          {reason}));
  }

  int failures() {
    std::lock_guard lock(mutex_);
    return failures_;
  }

 private:
  void report(const std::string& line) {
    std::lock_guard lock(mutex_);
    err_ << line << '\n';
    ++failures_;
  }

  std::mutex mutex_;
  std::ostream& err_;
  int failures_ = 0;
};

// Finds the item named by `titlePath` in the menu, in the session's language and then in
// English, and returns its tag, or explains why it cannot be run.
std::int64_t tagToRun(FinderSync& finderSync, const std::string& titlePath) {
  const std::vector<std::string> titles = splitTitlePath(titlePath);
  const Menu menu = finderSync.buildMenu();
  const MenuItem* item = findMenuItem(menu, titles);
  Menu english;
  if (item == nullptr) {
    const EnglishTextsOnThisThread englishTexts;
    english = finderSync.buildMenu();
    item = findMenuItem(english, titles);
  }
  if (item == nullptr) {
    throw std::runtime_error(formatText(
        localizedText("メニュー項目「%@」はありません。", "There is no menu item \"%@\"."),
        {titlePath}));
  }
  if (!item->tag) {
    throw std::runtime_error(
        formatText(localizedText("「%@」はサブメニューです。その中の項目を指定してください。",
                                 "\"%@\" opens a submenu: name an item inside it."),
                   {titlePath}));
  }
  if (!item->enabled) {
    throw std::runtime_error(formatText(
        localizedText("「%@」は今は選べません。移動する項目を --select で指定してください。",
                      "\"%@\" cannot be chosen now: name the items to move with --select."),
        {titlePath}));
  }
  return *item->tag;
}

int perform(const Invocation& invocation, std::ostream& out, EchoingPlatform& platform) {
  // Declared first so that they are destroyed last: they wait for the host's start to report.
  LinuxWorkspace programs;
  BusWorkspace workspace(programs, platform,
                         [&platform](const std::string& reason) { platform.refused(reason); });
  PresetFinderController finder(invocation.selection);
  SilentNotificationCenter notifications;
  // Every title can be run, so the chooser stands beside the whole hierarchy.
  FinderSync finderSync(finder, notifications, workspace, {SIZE_MAX, true}, platform);
  if (invocation.verb == "watched") {
    for (const std::string& folder : finder.directoryURLs()) out << folder << '\n';
  } else if (invocation.verb == "menu") {
    const Menu menu = finderSync.buildMenu();
    invocation.json ? printMenuJson(menu, out) : printMenuText(menu, out);
  } else {
    finderSync.execute(tagToRun(finderSync, *invocation.titlePath));
  }
  return kExitSuccess;
}

}  // namespace

int runTesselFinder(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    Platform& platform) {
  try {
    EchoingPlatform echoing(platform, err);
    const int status = perform(parse(arguments), out, echoing);
    return echoing.failures() > 0 ? kExitFailure : status;
  } catch (const Answer& answer) {
    out << answer.what();
    return kExitSuccess;
  } catch (const UsageError& error) {
    err << error.what();
    return kExitUsage;
  } catch (const std::exception& error) {
    err << "tessel-finder: " << error.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace tessel
