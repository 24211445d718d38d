#include "request/HostRequest.h"

#include <type_traits>

namespace tessel {
namespace {

constexpr const char* kMoveOperation = "move";  // accepted; the extension writes none
constexpr const char* kOpenFolderOperation = "openFolder";
constexpr const char* kUndoOperation = "undo";
constexpr const char* kChooseOperation = "choose";

}  // namespace

MoveRequest storedRequest(const HostRequest& request, Platform& platform) {
  return std::visit(
      [&platform](const auto& action) {
        using Action = std::decay_t<decltype(action)>;
        if constexpr (std::is_same_v<Action, HostRequest::Move>) {
          return MoveRequest::make(action.sources, action.destination, action.hierarchical,
                                   std::nullopt, platform);
        } else if constexpr (std::is_same_v<Action, HostRequest::OpenFolder>) {
          return MoveRequest::make({}, action.folder, true, kOpenFolderOperation, platform);
        } else if constexpr (std::is_same_v<Action, HostRequest::Undo>) {
          return MoveRequest::make({}, "", false, kUndoOperation, platform);
        } else {
          return MoveRequest::make(action.sources, "", false, kChooseOperation, platform);
        }
      },
      request.value);
}

std::optional<HostRequest> hostRequest(const MoveRequest& stored) {
  const std::string operation = stored.operation.value_or(kMoveOperation);
  if (operation == kMoveOperation) {
    return HostRequest{HostRequest::Move{stored.sources, stored.destination, stored.hierarchical}};
  }
  if (operation == kOpenFolderOperation)
    return HostRequest{HostRequest::OpenFolder{stored.destination}};
  if (operation == kUndoOperation) return HostRequest{HostRequest::Undo{}};
  if (operation == kChooseOperation) return HostRequest{HostRequest::Choose{stored.sources}};
  return std::nullopt;
}

}  // namespace tessel
