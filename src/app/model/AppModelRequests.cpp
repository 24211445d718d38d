// AppModel: moves, undo, requests from the file manager, and the sources of a move.
#include <type_traits>

#include "container/SharedContainer.h"
#include "core/Errors.h"
#include "engine/MovePlanner.h"
#include "model/AppModel.h"
#include "model/FileUrls.h"
#include "model/ModelTexts.h"
#include "model/ServiceRoots.h"
#include "path/PathSafety.h"
#include "request/HostAddress.h"

namespace tessel {
namespace {

void complete(const AppModel::Completion& completion, bool ok) {
  if (completion) completion(ok);
}

bool isFolder(const std::string& path, Platform& platform) {
  try {
    return platform.attributesOfItem(path).type == FileType::directory;
  } catch (const PlatformError&) {
    return false;
  }
}

}  // namespace

std::vector<std::string> AppModel::sourceRoots(const std::vector<std::string>& extraRoots) const {
  // A direct build may take items from anywhere; the engine still checks every other rule.
  if (access_.direct()) return {"/"};
  std::vector<std::string> roots = access_.resolveGrants(settings_.roots);
  roots.insert(roots.end(), extraRoots.begin(), extraRoots.end());
  return roots;
}

QString AppModel::refuse(const std::string& reason, const Completion& completion) {
  setStatusText(reason);
  complete(completion, false);
  return QString::fromStdString(reason);
}

template <class T>
void AppModel::runEngineJob(std::function<T()> job, std::function<bool(const T&)> finish,
                            const Completion& completion) {
  setBusy(true);
  worker_.run<T>(std::move(job), this,
                 [this, finish = std::move(finish), completion](const Outcome<T>& outcome) {
                   setBusy(false);
                   if (const auto* error = std::get_if<std::exception_ptr>(&outcome)) {
                     setStatusText(errorDescription(*error));
                     complete(completion, false);
                     return;
                   }
                   complete(completion, finish(std::get<T>(outcome)));
                 });
}

std::optional<QString> AppModel::move(const std::vector<std::string>& sources,
                                      const std::string& destination, bool /*hierarchical*/,
                                      Completion completion) {
  if (busy_) return refuse(ModelTexts::moveInProgress(), completion);
  std::vector<std::string> destinationRoots;
  std::vector<std::string> moveServiceRoots;
  std::vector<std::string> roots;
  try {
    destinationRoots = access_.resolveGrants(settings_.favorites);
    moveServiceRoots = serviceRoots(sources, serviceSourcePaths_, platform_);
    roots = sourceRoots(moveServiceRoots);
  } catch (const std::exception& error) {
    return refuse(error.what(), completion);
  }
  setStatusText(ModelTexts::moving());
  runEngineJob<MoveResult>(
      [engine = &engine_, sources, destination, roots, destinationRoots,
       policy = settings_.policy] {
        return engine->move(sources, destination, roots, destinationRoots, policy);
      },
      [this, destination, moveServiceRoots](const MoveResult& result) {
        return finishMove(result, destination, moveServiceRoots);
      },
      completion);
  return std::nullopt;
}

bool AppModel::finishMove(const MoveResult& result, const std::string& destination,
                          const std::vector<std::string>& moveServiceRoots) {
  setStatusText(ModelTexts::moveFinished(result.moved, result.skipped, result.failure));
  if (result.moved >= 1) {
    ++movesThatMovedItems_;
    serviceSourcePaths_.clear();
    lastServiceRoots_ = moveServiceRoots;
    HostSettings changed = settings_;
    rememberRecent(changed.recent, destination);
    setSettings(changed);
    saveSettings();
  }
  return !result.failure && result.moved > 0 && result.skipped == 0;
}

std::optional<QString> AppModel::undoLastMove(Completion completion) {
  // The status line keeps what the running move says.
  if (busy_) {
    complete(completion, false);
    return QString::fromStdString(ModelTexts::moveInProgress());
  }
  std::vector<std::string> roots;
  std::vector<std::string> destinationRoots;
  try {
    roots = sourceRoots(lastServiceRoots_);
    destinationRoots = access_.resolveGrants(settings_.favorites);
  } catch (const std::exception& error) {
    return refuse(error.what(), completion);
  }
  runEngineJob<std::int64_t>([engine = &engine_, roots,
                              destinationRoots] { return engine->undo(roots, destinationRoots); },
                             [this](std::int64_t undone) {
                               setStatusText(ModelTexts::undoFinished(undone));
                               lastServiceRoots_.clear();
                               refreshMenu();
                               return true;
                             },
                             completion);
  return std::nullopt;
}

void AppModel::openFolder(const QString& path) {
  const std::vector<std::string> favorites =
      PathSafety::canonicalAll(access_.resolveGrants(settings_.favorites), platform_);
  const std::string target = PathSafety::canonical(path.toStdString(), platform_);
  if (!PathSafety::insideAnyCanonical(favorites, target) || !isFolder(target, platform_)) {
    throw TesselError::invalid(ModelTexts::cannotOpenDestination());
  }
  if (!desktop_.folders.openFolder(QString::fromStdString(target))) {
    throw TesselError::invalid(ModelTexts::fileManagerRefused());
  }
}

void AppModel::acceptServiceSources(const QList<QUrl>& items) {
  // Linux grants no per-item access to hold, so only the received paths are remembered.
  serviceSourcePaths_ = canonicalPaths(localPaths(items), platform_);
  setSelectedSources(items);
  setSelectedDestination(settings_.favorites.empty()
                             ? QString()
                             : QString::fromStdString(settings_.favorites.front().path));
  setStatusText(ModelTexts::receivedServiceItems(items.size()));
}

void AppModel::chooseSourceFiles() {
  if (const std::optional<QList<QUrl>> items = desktop_.panel.chooseItems()) {
    setSelectedSources(*items);
  }
}

void AppModel::revealOnFailure(bool ok) {
  if (!ok) desktop_.windows.bringForward();
}

std::optional<QString> AppModel::handleURL(const QString& url) {
  const std::optional<Uuid> id = HostAddress::wakeUpRequestId(url.toStdString());
  if (!id) return std::nullopt;
  std::optional<HostRequest> request;
  try {
    request = hostRequest(SharedContainer::consume(*id, platform_));
  } catch (const std::exception& error) {
    return refuse(error.what(), {});
  }
  if (!request) return refuse(ModelTexts::unknownOperation(), {});
  return carryOut(*request);
}

std::optional<QString> AppModel::carryOut(const HostRequest& request) {
  const auto reveal = [this](bool ok) { revealOnFailure(ok); };
  return std::visit(
      [&](const auto& action) -> std::optional<QString> {
        using Action = std::decay_t<decltype(action)>;
        if constexpr (std::is_same_v<Action, HostRequest::Move>) {
          if (access_.direct()) desktop_.windows.hideVisibleWindows();
          return move(action.sources, action.destination, action.hierarchical, reveal);
        } else if constexpr (std::is_same_v<Action, HostRequest::OpenFolder>) {
          try {
            openFolder(QString::fromStdString(action.folder));
          } catch (const std::exception& error) {
            return refuse(error.what(), {});
          }
          return std::nullopt;
        } else if constexpr (std::is_same_v<Action, HostRequest::Undo>) {
          return undoLastMove(reveal);
        } else {
          static_assert(std::is_same_v<Action, HostRequest::Choose>);
          // Refused as a move of these items would be, before the user picks anything.
          if (busy_) return refuse(ModelTexts::moveInProgress(), reveal);
          try {
            checkBatchSize(action.sources.size());
          } catch (const std::exception& error) {
            return refuse(error.what(), reveal);
          }
          // Unlike a move, nothing is hidden first: the chooser is a window the user must see.
          desktop_.chooser.chooseDestination(action.sources);
          return std::nullopt;
        }
      },
      request.value);
}

}  // namespace tessel
