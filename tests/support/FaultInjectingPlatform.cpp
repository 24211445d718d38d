#include "FaultInjectingPlatform.h"

#include <algorithm>
#include <memory>

#include "path/PathText.h"

namespace tessel::testing {

void FaultInjectingPlatform::failNth(FileOperation operation, int nth, int code) {
  auto seen = std::make_shared<int>(0);
  addRule([=](const PlatformCall& call) -> std::optional<int> {
    if (call.operation != operation) return std::nullopt;
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
    rules = rules_;
  }
  for (const Rule& rule : rules) {
    if (const std::optional<int> code = rule(call)) {
      throw makePlatformError(*code, operation, path, second);
    }
  }
}

FileAttributes FaultInjectingPlatform::attributesOfItem(const std::string& path) {
  check(FileOperation::attributes, path);
  return PlatformWrapper::attributesOfItem(path);
}

bool FaultInjectingPlatform::fileExists(const std::string& path) {
  // An existence test cannot fail; an injected fault makes the item look absent.
  try {
    check(FileOperation::attributes, path);
  } catch (const PlatformError&) {
    return false;
  }
  return PlatformWrapper::fileExists(path);
}

void FaultInjectingPlatform::createDirectories(const std::string& path, mode_t mode) {
  check(FileOperation::createDirectory, path);
  PlatformWrapper::createDirectories(path, mode);
}

void FaultInjectingPlatform::moveItem(const std::string& from, const std::string& to) {
  check(FileOperation::move, from, to);
  PlatformWrapper::moveItem(from, to);
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

void FaultInjectingPlatform::moveItemBetween(const OpenFolder& fromFolder,
                                             const std::string& fromName,
                                             const OpenFolder& toFolder,
                                             const std::string& toName) {
  check(FileOperation::move, joinPath(fromFolder.path(), fromName),
        joinPath(toFolder.path(), toName));
  PlatformWrapper::moveItemBetween(fromFolder, fromName, toFolder, toName);
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
  PlatformWrapper::writeFileAtomically(path, bytes, durability);
}

std::optional<std::string> FaultInjectingPlatform::environment(const std::string& name) {
  if (environmentOverride) return environmentOverride(name);
  return PlatformWrapper::environment(name);
}

double FaultInjectingPlatform::now() {
  return fixedNow ? *fixedNow : PlatformWrapper::now();
}

void FaultInjectingPlatform::log(const std::string& line) {
  logged.push_back(line);
}

}  // namespace tessel::testing
