#include "CommandLine.h"

#include <unistd.h>

#include <mutex>
#include <optional>

#include "FinderSync.h"
#include "LinuxWorkspace.h"
#include "MenuText.h"
#include "PresetFinderController.h"
#include "TitlePath.h"
#include "core/Localization.h"
#include "path/PathText.h"

namespace tessel {
namespace {

struct Invocation {
  std::string verb;
  std::optional<std::string> titlePath;
  std::vector<std::string> selection;
  bool json = false;
};

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::string usage() {
  return localizedText("使い方:", "Usage:") +
         " tessel-finder menu [--select PATH]... [--json]\n"
         "       tessel-finder run \"TITLE > TITLE > ...\" [--select PATH]...\n"
         "       tessel-finder watched\n";
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
  if (arguments.empty()) throw UsageError(usage());
  Invocation invocation;
  invocation.verb = arguments.front();
  const auto unknown = [](const std::string& argument) {
    return UsageError(
        formatText(localizedText("「%@」は使えない引数です。\n", "Unknown argument \"%@\".\n"),
                   {argument}) +
        usage());
  };
  if (invocation.verb != "menu" && invocation.verb != "run" && invocation.verb != "watched") {
    throw unknown(invocation.verb);
  }
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--select" && invocation.verb != "watched" && i + 1 < arguments.size()) {
      invocation.selection.push_back(absolutePath(arguments[++i]));
    } else if (argument == "--json" && invocation.verb == "menu") {
      invocation.json = true;
    } else if (invocation.verb == "run" && !invocation.titlePath && argument.rfind("--", 0) != 0) {
      invocation.titlePath = argument;
    } else {
      throw unknown(argument);
    }
  }
  if (invocation.verb == "run" && !invocation.titlePath) throw UsageError(usage());
  return invocation;
}

// Sends the extension's log lines to the system log and shows them to the person or script
// that called, counting them: every one of them reports a failure.
class EchoingPlatform final : public PlatformWrapper {
 public:
  EchoingPlatform(Platform& target, std::ostream& err) : PlatformWrapper(target), err_(err) {}

  void log(const std::string& line) override {
    PlatformWrapper::log(line);
    std::lock_guard lock(mutex_);
    err_ << line << '\n';
    ++lines_;
  }

  int lines() {
    std::lock_guard lock(mutex_);
    return lines_;
  }

 private:
  std::mutex mutex_;
  std::ostream& err_;
  int lines_ = 0;
};

// Finds the item named by `titlePath` in `menu` and returns its tag, or explains why it
// cannot be run.
std::int64_t tagToRun(const Menu& menu, const std::string& titlePath) {
  const MenuItem* item = findMenuItem(menu, splitTitlePath(titlePath));
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

int perform(const Invocation& invocation, std::ostream& out, Platform& platform) {
  // Declared first so that it is destroyed last: it waits for the host's start to report.
  LinuxWorkspace workspace;
  PresetFinderController finder(invocation.selection);
  SilentNotificationCenter notifications;
  FinderSync finderSync(finder, notifications, workspace, platform);
  if (invocation.verb == "watched") {
    for (const std::string& folder : finder.directoryURLs()) out << folder << '\n';
  } else if (invocation.verb == "menu") {
    const Menu menu = finderSync.buildMenu();
    invocation.json ? printMenuJson(menu, out) : printMenuText(menu, out);
  } else {
    finderSync.execute(tagToRun(finderSync.buildMenu(), *invocation.titlePath));
  }
  return kExitSuccess;
}

}  // namespace

int runTesselFinder(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                    Platform& platform) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    out << usage();
    return kExitSuccess;
  }
  try {
    EchoingPlatform echoing(platform, err);
    const int status = perform(parse(arguments), out, echoing);
    return echoing.lines() > 0 ? kExitFailure : status;
  } catch (const UsageError& error) {
    err << error.what();
    return kExitUsage;
  } catch (const std::exception& error) {
    err << "tessel-finder: " << error.what() << '\n';
    return kExitFailure;
  }
}

}  // namespace tessel
