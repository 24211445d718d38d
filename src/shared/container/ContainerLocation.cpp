// Where the container folder is: one folder per group identifier in the user's data folder, so
// that every deliverable of one user resolves the same folder from the same identifier.
#include "container/SharedContainer.h"

#include "core/Bundle.h"
#include "core/DataHome.h"
#include "core/Errors.h"
#include "core/Localization.h"
#include "path/PathText.h"

namespace tessel::SharedContainer {
namespace {

// The identifier becomes one path component: it must not be empty, climb out of the data
// folder, or be cut short by a NUL byte when handed to the system.
bool namesOneFolder(std::string_view identifier) {
  return !identifier.empty() && identifier != "." && identifier != ".." &&
         identifier.find('/') == std::string_view::npos &&
         identifier.find('\0') == std::string_view::npos;
}

TesselError noContainer() {
  return TesselError::invalid(localizedText(
      "Tesselの共有フォルダを開けません。データフォルダが存在し、書き込めるか確認してください。",
      "Cannot open Tessel’s shared folder. Check that the data folder exists and "
      "can be written."));
}

}  // namespace

std::string group(Platform& platform) {
  return Bundle::infoString("TesselAppGroup", platform).value_or(std::string(kDefaultGroup));
}

std::string url(Platform& platform) {
  const std::string identifier = group(platform);
  if (!namesOneFolder(identifier)) throw noContainer();
  const std::string folder = joinPath(dataHome(platform), identifier);
  try {
    // Only this user may read the requests and the snapshot (they name the user's files).
    platform.createDirectories(folder, 0700);
  } catch (const PlatformError&) {
    throw noContainer();
  }
  return folder;
}

}  // namespace tessel::SharedContainer
