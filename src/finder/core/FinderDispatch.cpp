// What happens when a menu item is chosen: a request stored for the host, then the host woken.
#include <type_traits>

#include "FinderSync.h"
#include "HostApplication.h"
#include "container/SharedContainer.h"
#include "core/Localization.h"
#include "request/HostAddress.h"
#include "request/HostRequest.h"

namespace tessel {

void FinderSync::execute(std::int64_t tag) {
  const std::optional<Command> chosen = command(tag);
  if (!chosen) {
    platform_.log("Tessel command unavailable (tag " + std::to_string(tag) + ")");
    return;
  }
  std::visit(
      [this](const auto& action) {
        using Action = std::decay_t<decltype(action)>;
        if constexpr (std::is_same_v<Action, Command::Move>) {
          if (auto selection = chosenSelection()) {
            send(storedRequest(
                {HostRequest::Move{std::move(*selection), action.path, action.hierarchical}},
                platform_));
          }
        } else if constexpr (std::is_same_v<Action, Command::Choose>) {
          if (auto selection = chosenSelection()) {
            send(storedRequest({HostRequest::Choose{std::move(*selection)}}, platform_));
          }
        } else if constexpr (std::is_same_v<Action, Command::OpenFolder>) {
          send(storedRequest({HostRequest::OpenFolder{action.path}}, platform_));
        } else if constexpr (std::is_same_v<Action, Command::Undo>) {
          send(storedRequest({HostRequest::Undo{}}, platform_));
        } else {
          openHostApplication();
        }
      },
      chosen->value);
}

std::optional<std::vector<std::string>> FinderSync::chosenSelection() {
  std::optional<std::vector<std::string>> selection = finder_.selectedItemURLs();
  if (!selection || selection->empty()) {
    platform_.log("Tessel selection unavailable");
    return std::nullopt;
  }
  return selection;
}

void FinderSync::send(const MoveRequest& request) {
  try {
    SharedContainer::enqueue(request, platform_);
  } catch (const std::exception& error) {
    platform_.log(formatText("Tessel request failed: %@", {error.what()}));
    // The user then finds the host in front and can see what is wrong there.
    openHostApplication();
    return;
  }
  // Only now that the request is completely stored may the host learn its identifier.
  Platform& platform = platform_;
  workspace_.openURLs({HostAddress::wakeUpUrl(request.id)},
                      HostApplication::executablePath(platform_),
                      {std::string(HostApplication::kBackgroundArgument)},
                      [&platform](const std::optional<std::string>& error) {
                        if (error)
                          platform.log(formatText("Tessel host launch failed: %@", {*error}));
                      });
}

void FinderSync::openHostApplication() {
  workspace_.openApplication(HostApplication::executablePath(platform_));
}

}  // namespace tessel
