// A platform that forwards to the real one but can make chosen calls fail with a chosen errno,
// and records every file call it sees, in order. Tests use it to break one step of an
// operation and check that nothing was lost, and to check the order of writes and moves.
//
// It can also lose power: once armed, it remembers every change the disk could still forget
// (renames and folders made until the folders holding them are synced, writes that were not
// durable) and at a chosen call undoes them all, newest first, as a power loss would.
#pragma once

#include <cerrno>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/PlatformError.h"

namespace tessel::testing {

struct PlatformCall {
  FileOperation operation;
  std::string path;
  std::optional<Durability> durability;  // of a write
};

// Thrown by every call from the one at which power was lost; never a PlatformError, so no
// step of an operation takes it for a failure it can report and carry on.
struct PowerLoss : std::runtime_error {
  PowerLoss() : std::runtime_error("power lost") {}
};

class FaultInjectingPlatform : public PlatformWrapper {
 public:
  // Decides the fate of a call: an errno to fail it with, or none to let it through.
  using Rule = std::function<std::optional<int>(const PlatformCall&)>;

  explicit FaultInjectingPlatform(Platform& target = Platform::standard())
      : PlatformWrapper(target) {}

  // Fails the `nth` (1-based) call made from now on, once, with `code`: counting only calls of
  // `operation` when one is given, and only those whose path ends in `suffix`.
  void failNth(std::optional<FileOperation> operation, size_t nth, int code,
               const std::string& suffix = {});
  // Fails every call of `operation` whose path contains `fragment` (empty: every call).
  void failWhere(FileOperation operation, const std::string& fragment, int code);
  void addRule(Rule rule) {
    const std::lock_guard guard(mutex_);
    rules_.push_back(std::move(rule));
  }
  void clearFaults() {
    const std::lock_guard guard(mutex_);
    rules_.clear();
  }

  // From now on remembers the changes not yet on disk; the `nth` (1-based) call from now loses
  // power before it runs: the remembered changes are undone and every call throws PowerLoss.
  void losePowerAtCall(size_t nth);
  // Loses power now unless it was lost already, then brings it back: a working platform that
  // remembers nothing. A change that cannot be undone fails the test.
  void restorePower();

  const std::vector<PlatformCall>& calls() const { return calls_; }
  void clearCalls() {
    const std::lock_guard guard(mutex_);
    calls_.clear();
  }

  // Values a test can pin; none (or empty) forwards to the real platform.
  std::optional<double> fixedNow;
  std::string home;
  // Environment variables as the code under test sees them; the others come from the real
  // environment unless `inheritsEnvironment` is false.
  std::map<std::string, std::string> variables;
  bool inheritsEnvironment = true;
  std::vector<std::string> logged;

  // Probes and existence tests cannot fail: they count as reading attributes, and an injected
  // fault makes the item look absent. Opening a folder counts as reading attributes too; calls
  // inside an open folder are recorded with the entry's full path.
  FileAttributes attributesOfItem(const std::string& path) override {
    return check(FileOperation::attributes, path).attributesOfItem(path);
  }
  std::optional<FileAttributes> probeItem(const std::string& path) override {
    return passes(path) ? target().probeItem(path) : std::nullopt;
  }
  bool fileExists(const std::string& path) override {
    return passes(path) && target().fileExists(path);
  }
  std::unique_ptr<OpenFolder> openFolderNoFollow(const std::string& path) override {
    return check(FileOperation::attributes, path).openFolderNoFollow(path);
  }
  FileAttributes attributesOfItemIn(const OpenFolder& folder, const std::string& name) override {
    return check(FileOperation::attributes, entry(folder, name)).attributesOfItemIn(folder, name);
  }
  std::optional<FileAttributes> probeItemIn(const OpenFolder& folder,
                                            const std::string& name) override {
    return passes(entry(folder, name)) ? target().probeItemIn(folder, name) : std::nullopt;
  }
  void removeItem(const std::string& path) override {
    check(FileOperation::remove, path).removeItem(path);
  }
  void copyItem(const std::string& from, const std::string& to) override {
    check(FileOperation::copy, from, to).copyItem(from, to);
  }
  std::vector<DirectoryEntry> contentsOfDirectory(const std::string& path) override {
    return check(FileOperation::list, path).contentsOfDirectory(path);
  }
  std::string readFile(const std::string& path) override {
    return check(FileOperation::read, path).readFile(path);
  }
  void createDirectories(const std::string& path, mode_t mode) override;
  void moveItem(const std::string& from, const std::string& to) override;
  void moveItemBetween(const OpenFolder& fromFolder, const std::string& fromName,
                       const OpenFolder& toFolder, const std::string& toName) override;
  void syncFolder(const OpenFolder& folder) override;
  void writeFileAtomically(const std::string& path, std::string_view bytes,
                           Durability durability) override;
  std::optional<std::string> environment(const std::string& name) override;
  std::string homeFolder() override { return home.empty() ? target().homeFolder() : home; }
  double now() override { return fixedNow ? *fixedNow : target().now(); }
  void log(const std::string& line) override {
    // Host starts that fail are logged from the threads that started them.
    const std::lock_guard guard(mutex_);
    logged.push_back(line);
  }

 private:
  // A change the disk could still forget, and how to take it back: it stays until every folder
  // (or, for a write that was not durable, the file itself) is synced.
  struct UnsyncedChange {
    std::function<void()> undo;
    std::set<std::string> unsynced;
  };

  // Records the call and throws the injected error, if a rule claims it; else the real disk.
  Platform& check(FileOperation operation, const std::string& path, const std::string& second = {},
                  std::optional<Durability> durability = std::nullopt);
  // check() for a read that cannot fail: false when a fault is injected.
  bool passes(const std::string& path);
  static std::string entry(const OpenFolder& folder, const std::string& name);
  bool tracking() const {
    const std::lock_guard guard(mutex_);
    return armed();
  }
  bool armed() const { return callsUntilPowerLoss_.has_value() && !powerLost_; }  // locked
  void remember(UnsyncedChange change);
  void rememberMove(const std::string& from, const std::string& to);
  // Everything the folder (or file) holds is on disk now.
  void synced(const std::string& item);
  void losePower();

  mutable std::mutex mutex_;  // guards everything below
  std::vector<Rule> rules_;
  std::vector<PlatformCall> calls_;
  std::optional<size_t> callsUntilPowerLoss_;
  bool powerLost_ = false;
  std::vector<UnsyncedChange> unsynced_;
};

}  // namespace tessel::testing
