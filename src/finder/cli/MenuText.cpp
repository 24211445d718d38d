#include "MenuText.h"

#include <nlohmann/json.hpp>

#include "core/Localization.h"

namespace tessel {
namespace {

void printItems(const Menu& menu, std::ostream& out, const std::string& indent,
                const std::string& disabledNote) {
  for (const MenuItem& item : menu.items) {
    if (item.separator) {
      out << indent << "---\n";
      continue;
    }
    out << indent << item.title;
    if (item.tag) out << "  #" << *item.tag;
    if (!item.enabled) out << "  " << disabledNote;
    out << '\n';
    if (item.submenu) printItems(*item.submenu, out, indent + "  ", disabledNote);
  }
}

nlohmann::ordered_json menuJson(const Menu& menu) {
  nlohmann::ordered_json items = nlohmann::ordered_json::array();
  for (const MenuItem& item : menu.items) {
    nlohmann::ordered_json entry;
    if (item.separator) {
      entry["separator"] = true;
    } else {
      entry["title"] = item.title;
      if (item.tag) entry["tag"] = *item.tag;
      entry["enabled"] = item.enabled;
      if (item.submenu) entry["submenu"] = menuJson(*item.submenu);
    }
    items.push_back(std::move(entry));
  }
  return {{"title", menu.title}, {"items", std::move(items)}};
}

}  // namespace

void printMenuText(const Menu& menu, std::ostream& out) {
  printItems(menu, out, "", localizedText("（無効）", "(disabled)"));
}

void printMenuJson(const Menu& menu, std::ostream& out) {
  out << menuJson(menu).dump(2) << '\n';
}

}  // namespace tessel
