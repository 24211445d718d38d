#include "FaultInjectingPlatform.h"

#include <algorithm>
#include <memory>

#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel::testing {

void FaultInjectingPlatform::failNth(std::optional<FileOperation> operation, size_t nth, int code,
                                     const std::string& suffix) {
  auto seen = std::make_shared<size_t>(0);
  addRule([=](const PlatformCall& call) -> std::optional<int> {
    if ((operation && call.operation != *operation) || !call.path.ends_with(suffix)) {
      return std::nullopt;
    }
    return ++*seen == nth ? std::optional<int>(code) : std::nullopt;
  });
}

void FaultInjectingPlatform::failWhere(FileOperation operation, const std::string& fragment,
                                       int code) {
  addRule([=](const PlatformCall& call) -> std::optional<int> {
    if (call.operation != operation || call.path.find(fragment) == std::string::npos) {
      return std::nullopt;
    }
    return code;
  });
}

int FaultInjectingPlatform::count(FileOperation operation) const {
  const std::lock_guard guard(mutex_);
  return static_cast<int>(std::count_if(calls_.begin(), calls_.end(), [&](const PlatformCall& c) {
    return c.operation == operation;
  }));
}

void FaultInjectingPlatform::losePowerAtCall(size_t nth) {
  const std::lock_guard guard(mutex_);
  callsUntilPowerLoss_ = nth;
  powerLost_ = false;
  unsynced_.clear();
}

std::vector<std::string> FaultInjectingPlatform::restorePower() {
  const std::lock_guard guard(mutex_);
  if (armed()) losePower();
  callsUntilPowerLoss_.reset();
  powerLost_ = false;
  unsynced_.clear();
  return std::exchange(undoProblems_, {});
}

void FaultInjectingPlatform::check(FileOperation operation, const std::string& path,
                                   const std::string& second,
                                   std::optional<Durability> durability) {
  const PlatformCall call{operation, path, second, durability};
  std::vector<Rule> rules;
  {
    // The host's worker thread and the GUI thread both reach the platform. Rules run outside
    // the lock: a rule may block until the test releases it.
    const std::lock_guard guard(mutex_);
    calls_.push_back(call);
    if (powerLost_) throw PowerLoss();
    if (callsUntilPowerLoss_ && --*callsUntilPowerLoss_ == 0) {
      losePower();
      throw PowerLoss();
    }
    rules = rules_;
  }
  for (const Rule& rule : rules) {
    if (const std::optional<int> code = rule(call)) {
      throw makePlatformError(*code, operation, path, second);
    }
  }
}

bool FaultInjectingPlatform::passes(const std::string& path) {
  try {
    check(FileOperation::attributes, path);
    return true;
  } catch (const PlatformError&) {
    return false;
  }
}

void FaultInjectingPlatform::remember(UnsyncedChange change) {
  const std::lock_guard guard(mutex_);
  if (armed()) unsynced_.push_back(std::move(change));
}

void FaultInjectingPlatform::rememberMove(const std::string& from, const std::string& to) {
  if (!tracking()) return;
  Platform& disk = target();
  const std::string fromFolder = PathSafety::canonical(parentPath(from), disk);
  const std::string toFolder = PathSafety::canonical(parentPath(to), disk);
  const std::string was = joinPath(fromFolder, lastComponent(from));
  const std::string is = joinPath(toFolder, lastComponent(to));
  remember({[&disk, was, is] { disk.moveItem(is, was); }, {fromFolder, toFolder}, {}});
}

void FaultInjectingPlatform::synced(const std::string& folder) {
  const std::lock_guard guard(mutex_);
  for (UnsyncedChange& change : unsynced_) change.folders.erase(folder);
  std::erase_if(unsynced_, [](const UnsyncedChange& change) {
    return change.folders.empty() && change.replaced.empty();
  });
}

void FaultInjectingPlatform::losePower() {
  powerLost_ = true;
  for (auto change = unsynced_.rbegin(); change != unsynced_.rend(); ++change) {
    try {
      change->undo();
    } catch (const std::exception& error) {
      undoProblems_.push_back(error.what());
    }
  }
  unsynced_.clear();
}

FileAttributes FaultInjectingPlatform::attributesOfItem(const std::string& path) {
  check(FileOperation::attributes, path);
  return PlatformWrapper::attributesOfItem(path);
}

std::optional<FileAttributes> FaultInjectingPlatform::probeItem(const std::string& path) {
  if (!passes(path)) return std::nullopt;
  return PlatformWrapper::probeItem(path);
}

bool FaultInjectingPlatform::fileExists(const std::string& path) {
  // An existence test cannot fail; an injected fault makes the item look absent.
  return passes(path) && PlatformWrapper::fileExists(path);
}

void FaultInjectingPlatform::createDirectories(const std::string& path, mode_t mode) {
  check(FileOperation::createDirectory, path);
  std::vector<std::string> missing;
  for (std::string folder = path; tracking() && !target().probeItem(folder);
       folder = parentPath(folder)) {
    missing.push_back(folder);
    if (parentPath(folder) == folder) break;
  }
  PlatformWrapper::createDirectories(path, mode);
  // Outermost first, so that a power loss removes the innermost first.
  for (auto made = missing.rbegin(); made != missing.rend(); ++made) {
    Platform& disk = target();
    const std::string folder = PathSafety::canonical(*made, disk);
    remember({[&disk, folder] { disk.removeItem(folder); }, {parentPath(folder)}, {}});
  }
}

void FaultInjectingPlatform::moveItem(const std::string& from, const std::string& to) {
  check(FileOperation::move, from, to);
  PlatformWrapper::moveItem(from, to);
  rememberMove(from, to);
}

std::unique_ptr<OpenFolder> FaultInjectingPlatform::openFolderNoFollow(const std::string& path) {
  check(FileOperation::attributes, path);
  return PlatformWrapper::openFolderNoFollow(path);
}

FileAttributes FaultInjectingPlatform::attributesOfItemIn(const OpenFolder& folder,
                                                          const std::string& name) {
  check(FileOperation::attributes, joinPath(folder.path(), name));
  return PlatformWrapper::attributesOfItemIn(folder, name);
}

std::optional<FileAttributes> FaultInjectingPlatform::probeItemIn(const OpenFolder& folder,
                                                                  const std::string& name) {
  if (!passes(joinPath(folder.path(), name))) return std::nullopt;
  return PlatformWrapper::probeItemIn(folder, name);
}

void FaultInjectingPlatform::moveItemBetween(const OpenFolder& fromFolder,
                                             const std::string& fromName,
                                             const OpenFolder& toFolder,
                                             const std::string& toName) {
  const std::string from = joinPath(fromFolder.path(), fromName);
  const std::string to = joinPath(toFolder.path(), toName);
  check(FileOperation::move, from, to);
  PlatformWrapper::moveItemBetween(fromFolder, fromName, toFolder, toName);
  rememberMove(from, to);
}

void FaultInjectingPlatform::syncFolder(const OpenFolder& folder) {
  check(FileOperation::sync, folder.path());
  PlatformWrapper::syncFolder(folder);
  if (tracking()) synced(PathSafety::canonical(folder.path(), target()));
}

void FaultInjectingPlatform::removeItem(const std::string& path) {
  check(FileOperation::remove, path);
  PlatformWrapper::removeItem(path);
}

void FaultInjectingPlatform::copyItem(const std::string& from, const std::string& to) {
  check(FileOperation::copy, from, to);
  PlatformWrapper::copyItem(from, to);
}

std::vector<DirectoryEntry> FaultInjectingPlatform::contentsOfDirectory(const std::string& path) {
  check(FileOperation::list, path);
  return PlatformWrapper::contentsOfDirectory(path);
}

std::string FaultInjectingPlatform::readFile(const std::string& path) {
  check(FileOperation::read, path);
  return PlatformWrapper::readFile(path);
}

void FaultInjectingPlatform::writeFileAtomically(const std::string& path, std::string_view bytes,
                                                 Durability durability) {
  check(FileOperation::write, path, {}, durability);
  std::optional<std::string> previous;
  if (tracking() && durability != Durability::durable && target().probeItem(path)) {
    previous = target().readFile(path);
  }
  PlatformWrapper::writeFileAtomically(path, bytes, durability);
  if (!tracking()) return;
  Platform& disk = target();
  const std::string folder = PathSafety::canonical(parentPath(path), disk);
  const std::string file = joinPath(folder, lastComponent(path));
  if (durability == Durability::durable) {
    // A durable write syncs its file and its folder, and supersedes earlier writes of the file.
    {
      const std::lock_guard guard(mutex_);
      std::erase_if(unsynced_,
                    [&](const UnsyncedChange& change) { return change.replaced == file; });
    }
    synced(folder);
    return;
  }
  remember({[&disk, file, previous] {
              previous ? disk.writeFileAtomically(file, *previous, Durability::atomic)
                       : disk.removeItem(file);
            },
            {},
            file});
}

std::optional<std::string> FaultInjectingPlatform::environment(const std::string& name) {
  if (const auto found = variables.find(name); found != variables.end()) return found->second;
  return inheritsEnvironment ? PlatformWrapper::environment(name) : std::nullopt;
}

std::string FaultInjectingPlatform::homeFolder() {
  return home.empty() ? PlatformWrapper::homeFolder() : home;
}

double FaultInjectingPlatform::now() {
  return fixedNow ? *fixedNow : PlatformWrapper::now();
}

void FaultInjectingPlatform::log(const std::string& line) {
  logged.push_back(line);
}

}  // namespace tessel::testing
