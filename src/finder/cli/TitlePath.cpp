#include "TitlePath.h"

namespace tessel {
namespace {

constexpr std::string_view kSeparator = " > ";

std::string_view trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::vector<std::string> splitTitlePath(std::string_view path) {
  std::vector<std::string> titles;
  for (;;) {
    const size_t end = path.find(kSeparator);
    titles.emplace_back(trimmed(path.substr(0, end)));
    if (end == std::string_view::npos) return titles;
    path.remove_prefix(end + kSeparator.size());
  }
}

const MenuItem* findMenuItem(const Menu& menu, const std::vector<std::string>& titles) {
  const Menu* level = &menu;
  const MenuItem* found = nullptr;
  for (const std::string& title : titles) {
    if (level == nullptr) return nullptr;  // the path goes on below an item without a submenu
    found = nullptr;
    for (const MenuItem& item : level->items) {
      if (!item.separator && item.title == title) {
        found = &item;
        break;
      }
    }
    if (found == nullptr) return nullptr;
    level = found->submenu.get();
  }
  return found;
}

}  // namespace tessel
