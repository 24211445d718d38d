// The menus every file manager's module offers, in one table for all of them: each module's
// test asks its module for the menu of each case, draws what the file manager received, and
// compares it with the case. The extension core's own test checks the table against the core.
//
// A menu is drawn one item per line, two spaces deeper per submenu level: " ›" after an item
// that opens a submenu, " (off)" after a disabled one, "—" for a separator.
#pragma once

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "FinderSession.h"

namespace tessel::testing {

struct ModuleMenuCase {
  std::string name;
  std::string language;                  // LANGUAGE while the menu is built
  std::optional<MenuSnapshot> snapshot;  // published first; none: an unreadable menu.json
  bool background;  // the background of `home`, else the items "a.txt" and "b" in it
  std::string shown;
};

// The cases in a session whose home folder is `home` and whose sample snapshot is `sample`.
inline std::vector<ModuleMenuCase> moduleMenuCases(const std::string& home,
                                                   const MenuSnapshot& sample) {
  const MenuSnapshot oneFavorite{{home}, {MenuDestination{"Inbox", home + "/Inbox", {}}}, {}};
  return {
      {"items", "en", oneFavorite, false,
       "Move To ›\n  Inbox\nMove through Folders ›\n  Inbox ›\n    Move Here\n    Open Folder\n"
       "—\nUndo Last Move\nOpen Move Settings…\n"},
      {"background", "en", oneFavorite, true,
       "Move To ›\n  Inbox (off)\nMove through Folders ›\n  Inbox ›\n    Move Here (off)\n"
       "    Open Folder\n—\nUndo Last Move\nOpen Move Settings…\n"},
      {"no favourites", "en", MenuSnapshot{{home}, {}, {}}, false,
       "Move To ›\nMove through Folders ›\n—\nUndo Last Move\nOpen Move Settings…\n"},
      {"Japanese with recent destinations", "ja", sample, false,
       "移動先 ›\n  Archive\n  Inbox\nフォルダ階層から移動 ›\n  Archive ›\n    ここへ移動\n"
       "    フォルダを開く\n    —\n    2026 ›\n      ここへ移動\n      フォルダを開く\n  Inbox ›\n"
       "    ここへ移動\n    フォルダを開く\n最近の移動先 ›\n  Inbox\n  2026\n—\n"
       "直前の移動を取り消す\n移動の設定を開く…\n"},
      {"unreadable snapshot", "en", std::nullopt, false, "Open Move Settings…\n"},
  };
}

// Publishes the case's snapshot in the session's container.
inline void publish(const ModuleMenuCase& menuCase, TempFolder& folder) {
  if (menuCase.snapshot) {
    SharedContainer::publish(*menuCase.snapshot);
  } else {
    folder.file("data/group.com.quillmark.Tessel/menu.json", R"({"roots":["/c"]})");
  }
}

// `shown` as a file manager shows it that cannot show an empty submenu, which is then a
// disabled item of its own; and, unless `separators`, that has no separator items.
inline std::string withoutEmptySubmenus(const std::string& shown, bool separators = true) {
  std::vector<std::string> lines;
  std::istringstream in(shown);
  for (std::string line; std::getline(in, line);) {
    if (!separators && line.find_first_not_of(' ') != std::string::npos &&
        line.substr(line.find_first_not_of(' ')) == "—")
      continue;
    lines.push_back(line);
  }
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    const std::size_t indent = line.find_first_not_of(' ');
    const bool hasChildren = i + 1 < lines.size() && lines[i + 1].find_first_not_of(' ') > indent;
    if (const std::size_t arrow = line.rfind(" ›"); arrow != std::string::npos && !hasChildren) {
      line = line.substr(0, arrow) + " (off)";
    }
    out += line + "\n";
  }
  return out;
}

inline std::string withoutSeparatorsOrEmptySubmenus(const std::string& shown) {
  return withoutEmptySubmenus(shown, false);
}

}  // namespace tessel::testing
