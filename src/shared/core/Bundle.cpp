#include "core/Bundle.h"

#include <mutex>
#include <nlohmann/json.hpp>
#include <vector>

#include "path/PathText.h"
#include "platform/Platform.h"

#ifndef TESSEL_PROGRAM_TO_INFO
#define TESSEL_PROGRAM_TO_INFO "../share/tessel"
#endif

namespace tessel {
namespace Bundle {
namespace {

constexpr const char* kInfoFileName = "tessel-info.json";

std::mutex layoutLock;
std::string& moduleToProgramsValue() {
  static std::string value;
  return value;
}

nlohmann::json infoDictionary(Platform& platform) {
  try {
    const std::string path = infoFilePath(platform);
    nlohmann::json info = nlohmann::json::parse(platform.readFile(path));
    if (info.is_object()) return info;
  } catch (const std::exception&) {
    // An unreadable or malformed Info file configures nothing: every key takes its default.
  }
  return nlohmann::json::object();
}

}  // namespace

void setModuleToPrograms(std::string relative) {
  std::lock_guard lock(layoutLock);
  moduleToProgramsValue() = std::move(relative);
}

std::string moduleToPrograms() {
  std::lock_guard lock(layoutLock);
  return moduleToProgramsValue();
}

std::string infoFilePath(Platform& platform) {
  if (const auto overridden = platform.environment("TESSEL_INFO_FILE")) return *overridden;
  const std::string folder = parentPath(platform.modulePath());
  const auto installedFrom = [](const std::string& programs) {
    return standardizedPath(joinPath(joinPath(programs, TESSEL_PROGRAM_TO_INFO), kInfoFileName));
  };
  const std::string installed = installedFrom(folder);
  std::vector<std::string> candidates{joinPath(folder, kInfoFileName), installed};
  if (const std::string relative = moduleToPrograms(); !relative.empty()) {
    candidates.push_back(installedFrom(joinPath(folder, relative)));
  }
  for (const std::string& candidate : candidates) {
    if (platform.fileExists(candidate)) return candidate;
  }
  return installed;
}

std::optional<std::string> infoString(const std::string& key, Platform& platform) {
  const nlohmann::json info = infoDictionary(platform);
  const auto value = info.find(key);
  if (value == info.end() || !value->is_string()) return std::nullopt;
  return value->get<std::string>();
}

bool infoFlag(const std::string& key, Platform& platform) {
  const nlohmann::json info = infoDictionary(platform);
  const auto value = info.find(key);
  return value != info.end() && value->is_boolean() && value->get<bool>();
}

}  // namespace Bundle

namespace DistributionMode {

bool direct(Platform& platform) {
  return Bundle::infoFlag("TesselDirectDistribution", platform);
}

bool direct() {
  return direct(Platform::standard());
}

}  // namespace DistributionMode
}  // namespace tessel
