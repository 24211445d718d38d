#include "FaultInjectingPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "path/PathSafety.h"
#include "path/PathText.h"

namespace tessel::testing {

void FaultInjectingPlatform::failNth(std::optional<FileOperation> operation, size_t nth, int code,
                                     const std::string& suffix) {
  auto seen = std::make_shared<size_t>(0);
  addRule([=](const PlatformCall& call) -> std::optional<int> {
    if ((operation && call.operation != *operation) || !call.path.ends_with(suffix)) return {};
    return ++*seen == nth ? std::optional(code) : std::nullopt;
  });
}

void FaultInjectingPlatform::failWhere(FileOperation operation, const std::string& fragment,
                                       int code) {
  addRule([=](const PlatformCall& call) {
    const bool claimed = call.operation == operation && call.path.find(fragment) != call.path.npos;
    return claimed ? std::optional(code) : std::nullopt;
  });
}

void FaultInjectingPlatform::losePowerAtCall(size_t nth) {
  const std::lock_guard guard(mutex_);
  callsUntilPowerLoss_ = nth;
  powerLost_ = false;
  unsynced_.clear();
}

void FaultInjectingPlatform::restorePower() {
  const std::lock_guard guard(mutex_);
  if (armed()) losePower();
  callsUntilPowerLoss_.reset();
  powerLost_ = false;
}

Platform& FaultInjectingPlatform::check(FileOperation operation, const std::string& path,
                                        const std::string& second,
                                        std::optional<Durability> durability) {
  const PlatformCall call{operation, path, durability};
  std::vector<Rule> rules;
  {
    // The host's worker thread and the GUI thread both reach the platform. Rules run outside
    // the lock: a rule may block until the test releases it.
    const std::lock_guard guard(mutex_);
    calls_.push_back(call);
    if (!powerLost_ && callsUntilPowerLoss_ && --*callsUntilPowerLoss_ == 0) losePower();
    if (powerLost_) throw PowerLoss();
    rules = rules_;
  }
  for (const Rule& rule : rules) {
    if (const std::optional<int> code = rule(call)) {
      throw makePlatformError(*code, operation, path, second);
    }
  }
  return target();
}

bool FaultInjectingPlatform::passes(const std::string& path) {
  try {
    check(FileOperation::attributes, path);
    return true;
  } catch (const PlatformError&) {
    return false;
  }
}

std::string FaultInjectingPlatform::entry(const OpenFolder& folder, const std::string& name) {
  return joinPath(folder.path(), name);
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
  remember({[&disk, was, is] { disk.moveItem(is, was); }, {fromFolder, toFolder}});
}

void FaultInjectingPlatform::synced(const std::string& item) {
  const std::lock_guard guard(mutex_);
  for (UnsyncedChange& change : unsynced_) change.unsynced.erase(item);
  std::erase_if(unsynced_, [](const UnsyncedChange& change) { return change.unsynced.empty(); });
}

void FaultInjectingPlatform::losePower() {
  powerLost_ = true;
  for (auto change = unsynced_.rbegin(); change != unsynced_.rend(); ++change) {
    try {
      change->undo();
    } catch (const std::exception& error) {
      ADD_FAILURE() << "a change the disk could forget cannot be undone: " << error.what();
    }
  }
  unsynced_.clear();
}

void FaultInjectingPlatform::createDirectories(const std::string& path, mode_t mode) {
  Platform& disk = check(FileOperation::createDirectory, path);
  std::vector<std::string> missing;
  for (std::string folder = path; tracking() && !disk.probeItem(folder);
       folder = parentPath(folder)) {
    missing.push_back(folder);
    if (parentPath(folder) == folder) break;
  }
  disk.createDirectories(path, mode);
  // Outermost first, so that a power loss removes the innermost first.
  for (auto made = missing.rbegin(); made != missing.rend(); ++made) {
    const std::string folder = PathSafety::canonical(*made, disk);
    remember({[&disk, folder] { disk.removeItem(folder); }, {parentPath(folder)}});
  }
}

void FaultInjectingPlatform::moveItem(const std::string& from, const std::string& to) {
  check(FileOperation::move, from, to).moveItem(from, to);
  rememberMove(from, to);
}

void FaultInjectingPlatform::moveItemBetween(const OpenFolder& fromFolder,
                                             const std::string& fromName,
                                             const OpenFolder& toFolder,
                                             const std::string& toName) {
  const std::string from = entry(fromFolder, fromName), to = entry(toFolder, toName);
  check(FileOperation::move, from, to).moveItemBetween(fromFolder, fromName, toFolder, toName);
  rememberMove(from, to);
}

void FaultInjectingPlatform::syncFolder(const OpenFolder& folder) {
  check(FileOperation::sync, folder.path()).syncFolder(folder);
  if (tracking()) synced(PathSafety::canonical(folder.path(), target()));
}

void FaultInjectingPlatform::writeFileAtomically(const std::string& path, std::string_view bytes,
                                                 Durability durability) {
  Platform& disk = check(FileOperation::write, path, {}, durability);
  const bool durable = durability == Durability::durable;
  std::optional<std::string> previous;
  if (tracking() && !durable && disk.probeItem(path)) previous = disk.readFile(path);
  disk.writeFileAtomically(path, bytes, durability);
  if (!tracking()) return;
  const std::string folder = PathSafety::canonical(parentPath(path), disk);
  const std::string file = joinPath(folder, lastComponent(path));
  if (durable) {
    // A durable write syncs its file and its folder, superseding earlier writes of the file.
    synced(file);
    synced(folder);
  } else {
    remember({[&disk, file, previous] {
                previous ? disk.writeFileAtomically(file, *previous, Durability::atomic)
                         : disk.removeItem(file);
              },
              {file}});
  }
}

std::optional<std::string> FaultInjectingPlatform::environment(const std::string& name) {
  if (const auto found = variables.find(name); found != variables.end()) return found->second;
  return inheritsEnvironment ? target().environment(name) : std::nullopt;
}

}  // namespace tessel::testing
