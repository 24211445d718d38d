#include "core/Bundle.h"

#include <nlohmann/json.hpp>

#include "path/PathText.h"
#include "platform/Platform.h"

#ifndef TESSEL_INSTALLED_INFO_FILE
#define TESSEL_INSTALLED_INFO_FILE "/usr/share/tessel/tessel-info.json"
#endif

namespace tessel {
namespace Bundle {
namespace {

constexpr const char* kInfoFileName = "tessel-info.json";

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

std::string infoFilePath(Platform& platform) {
  if (const auto overridden = platform.environment("TESSEL_INFO_FILE")) return *overridden;
  const std::string beside = joinPath(parentPath(platform.modulePath()), kInfoFileName);
  if (platform.fileExists(beside)) return beside;
  return TESSEL_INSTALLED_INFO_FILE;
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
