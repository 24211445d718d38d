// AppModel: moves, undo, requests from the file manager, and the sources of a move.
#include "container/SharedContainer.h"
#include "core/Errors.h"
#include "model/AppModel.h"
#include "model/FileUrls.h"
#include "model/ModelTexts.h"
#include "model/ServiceRoots.h"
#include "model/WakeUpUrl.h"
#include "path/PathSafety.h"

namespace tessel {
namespace {

constexpr const char* kOpenFolderOperation = "openFolder";
constexpr const char* kUndoOperation = "undo";
constexpr const char* kMoveOperation = "move";

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

std::optional<QString> AppModel::move(const QList<QUrl>& sources, const QString& destination,
                                      bool /*hierarchical*/, Completion completion) {
  if (busy_) return refuse(ModelTexts::moveInProgress(), completion);
  const std::vector<std::string> sourcePaths = localPaths(sources);
  const std::string destinationPath = destination.toStdString();
  std::vector<std::string> destinationRoots;
  std::vector<std::string> moveServiceRoots;
  std::vector<std::string> roots;
  try {
    destinationRoots = access_.resolveGrants(settings_.favorites);
    moveServiceRoots = serviceRoots(sourcePaths, serviceSourcePaths_, platform_);
    roots = sourceRoots(moveServiceRoots);
  } catch (const std::exception& error) {
    return refuse(error.what(), completion);
  }
  setBusy(true);
  setStatusText(ModelTexts::moving());
  worker_.run<MoveResult>(
      [engine = &engine_, sourcePaths, destinationPath, roots, destinationRoots,
       policy = settings_.policy] {
        return engine->move(sourcePaths, destinationPath, roots, destinationRoots, policy);
      },
      this,
      [this, destinationPath, moveServiceRoots, completion](const Outcome<MoveResult>& outcome) {
        finishMove(outcome, destinationPath, moveServiceRoots, completion);
      });
  return std::nullopt;
}

void AppModel::finishMove(const Outcome<MoveResult>& outcome, const std::string& destination,
                          const std::vector<std::string>& moveServiceRoots,
                          const Completion& completion) {
  setBusy(false);
  if (const auto* error = std::get_if<std::exception_ptr>(&outcome)) {
    setStatusText(errorDescription(*error));
    complete(completion, false);
    return;
  }
  const MoveResult& result = std::get<MoveResult>(outcome);
  setStatusText(ModelTexts::moveFinished(result.moved, result.skipped, result.failure));
  if (result.moved >= 1) {
    serviceSourcePaths_.clear();
    lastServiceRoots_ = moveServiceRoots;
    HostSettings changed = settings_;
    rememberRecent(changed.recent, destination);
    setSettings(changed);
    saveSettings();
  }
  complete(completion, !result.failure && result.moved > 0 && result.skipped == 0);
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
  setBusy(true);
  worker_.run<std::int64_t>([engine = &engine_, roots,
                             destinationRoots] { return engine->undo(roots, destinationRoots); },
                            this,
                            [this, completion](const Outcome<std::int64_t>& outcome) {
                              finishUndo(outcome, completion);
                            });
  return std::nullopt;
}

void AppModel::finishUndo(const Outcome<std::int64_t>& outcome, const Completion& completion) {
  setBusy(false);
  if (const auto* error = std::get_if<std::exception_ptr>(&outcome)) {
    setStatusText(errorDescription(*error));
    complete(completion, false);
    return;
  }
  setStatusText(ModelTexts::undoFinished(std::get<std::int64_t>(outcome)));
  lastServiceRoots_.clear();
  refreshMenu();
  complete(completion, true);
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
  const std::optional<Uuid> id = wakeUpRequestId(url.toStdString());
  if (!id) return std::nullopt;
  MoveRequest request;
  try {
    request = SharedContainer::consume(*id, platform_);
  } catch (const std::exception& error) {
    return refuse(error.what(), {});
  }
  return carryOut(request);
}

std::optional<QString> AppModel::carryOut(const MoveRequest& request) {
  const auto reveal = [this](bool ok) { revealOnFailure(ok); };
  const std::string operation = request.operation.value_or(kMoveOperation);
  if (operation == kOpenFolderOperation) {
    try {
      openFolder(QString::fromStdString(request.destination));
    } catch (const std::exception& error) {
      return refuse(error.what(), {});
    }
  } else if (operation == kUndoOperation) {
    return undoLastMove(reveal);
  } else if (operation == kMoveOperation) {
    if (access_.direct()) desktop_.windows.hideVisibleWindows();
    return move(fileUrls(request.sources), QString::fromStdString(request.destination),
                request.hierarchical, reveal);
  } else {
    return refuse(ModelTexts::unknownOperation(), {});
  }
  return std::nullopt;
}

}  // namespace tessel
