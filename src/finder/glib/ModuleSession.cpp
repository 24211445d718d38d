#include "ModuleSession.h"

#include "request/HostAddress.h"

namespace tessel {

ModuleSession::ModuleSession(MenuForm form, std::function<void()> itemsUpdated)
    : sync(finder, notifications, workspace, form) {
  if (itemsUpdated) {
    itemsUpdated_ = notifications.addObserver(std::string(HostAddress::kSettingsNotification),
                                              std::move(itemsUpdated));
  }
}

ModuleSession::~ModuleSession() {
  if (itemsUpdated_) notifications.removeObserver(*itemsUpdated_);
}

std::optional<Menu> ModuleSession::menuForItems(const Selection& selection) {
  if (!finder.offersMenuForItems(*selection)) return std::nullopt;
  return menuFor(selection);
}

std::optional<Menu> ModuleSession::menuInFolder(const std::string& folder) {
  if (!finder.offersMenuInFolder(folder)) return std::nullopt;
  return menuFor(std::make_shared<std::vector<std::string>>());
}

void ModuleSession::execute(std::int64_t tag, const Selection& selection) {
  ModuleFinderController::SelectionScope scope(finder, selection);
  sync.execute(tag);
}

Menu ModuleSession::menuFor(const Selection& selection) {
  ModuleFinderController::SelectionScope scope(finder, selection);
  return sync.buildMenu();
}

}  // namespace tessel
