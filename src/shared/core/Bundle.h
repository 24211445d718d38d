// The deliverable's Info file: a JSON object installed with Tessel that configures a build.
// Found through $TESSEL_INFO_FILE when set (tests, development), else "tessel-info.json" beside
// the running executable (a build tree), else the copy installed with it, found from the
// program's or the module's own folder, so an installed tree works under any prefix. A missing
// or unreadable file reads as an empty dictionary, so every key takes its default.
#pragma once

#include <optional>
#include <string>

namespace tessel {

class Platform;

namespace Bundle {

// Each file manager loads modules from a folder of its own, so a module names, once when it is
// loaded and before any other call, the path from its folder to the installed programs' folder.
// Empty (the default) in a program, which finds what it needs from its own folder.
void setModuleToPrograms(std::string relative);
std::string moduleToPrograms();

// Where the Info file is looked for, in order; the first that exists is used.
std::string infoFilePath(Platform& platform);

// The value under `key` when it is a JSON string; none for any other type or a missing key.
std::optional<std::string> infoString(const std::string& key, Platform& platform);

// True only when `key` holds the JSON literal true.
bool infoFlag(const std::string& key, Platform& platform);

}  // namespace Bundle

namespace DistributionMode {

// Whether this build is distributed outside an application store (key TesselDirectDistribution).
// Read anew on every call.
bool direct(Platform& platform);
bool direct();

}  // namespace DistributionMode
}  // namespace tessel
