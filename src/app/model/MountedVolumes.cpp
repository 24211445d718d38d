#include "model/MountedVolumes.h"

#include <algorithm>
#include <optional>

#include "core/Errors.h"
#include "model/TextSplit.h"
#include "path/PathText.h"

namespace tessel::MountedVolumes {
namespace {

// Kernel and desktop plumbing that no file manager shows as a volume.
constexpr std::string_view kPseudoFileSystems[] = {
    "autofs",      "binfmt_misc",   "bpf",       "cgroup",     "cgroup2",    "configfs",
    "debugfs",     "devpts",        "devtmpfs",  "efivarfs",   "fusectl",    "fuse.gvfsd-fuse",
    "fuse.portal", "fuse.snapfuse", "hugetlbfs", "mqueue",     "nsfs",       "overlay",
    "proc",        "pstore",        "ramfs",     "rpc_pipefs", "securityfs", "selinuxfs",
    "squashfs",    "sysfs",         "tracefs"};

// Mount points escape blanks, tabs, newlines and backslashes as three octal digits.
std::string unescapeMountPath(std::string_view field) {
  std::string path;
  for (size_t i = 0; i < field.size(); ++i) {
    const bool octal = field[i] == '\\' && i + 3 < field.size() &&
                       std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                                   [](char c) { return c >= '0' && c <= '7'; });
    if (octal) {
      path += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                (field[i + 3] - '0'));
      i += 3;
    } else {
      path += field[i];
    }
  }
  return path;
}

// The part of `path` below `folder`, or none when it is not strictly below it.
std::optional<std::string_view> below(std::string_view path, std::string_view folder) {
  if (path.size() <= folder.size() + 1 || !path.starts_with(folder) || path[folder.size()] != '/') {
    return std::nullopt;
  }
  return path.substr(folder.size() + 1);
}

// The part of the mount point inside a folder where file managers show volumes.
std::optional<std::string_view> insideVolumeFolder(std::string_view mountPoint,
                                                   std::string_view home) {
  if (mountPoint == "/mnt") return "";
  for (std::string_view folder : {std::string_view("/media"), std::string_view("/run/media"),
                                  std::string_view("/mnt"), home}) {
    if (const auto inside = below(mountPoint, folder)) return inside;
  }
  return std::nullopt;
}

bool shownLocation(const std::string& mountPoint, const std::string& home) {
  const std::optional<std::string_view> inside = insideVolumeFolder(mountPoint, home);
  if (!inside) return false;
  const std::vector<std::string> components = pathComponents(*inside);
  return std::none_of(components.begin(), components.end(),
                      [](const std::string& name) { return name.starts_with('.'); });
}

}  // namespace

std::vector<std::string> candidates(std::string_view mountinfo, const std::string& home) {
  std::vector<std::string> mountPoints;
  for (std::string_view line : splitText(mountinfo, '\n')) {
    const std::vector<std::string_view> fields = splitText(line, ' ');
    // id parent major:minor root mount-point options [optional fields...] - type source ...
    const auto separator = std::find(fields.begin(), fields.end(), "-");
    if (fields.size() < 5 || separator == fields.end() || separator + 1 == fields.end()) continue;
    const std::string_view type = *(separator + 1);
    if (std::ranges::find(kPseudoFileSystems, type) != std::end(kPseudoFileSystems)) continue;
    std::string mountPoint = unescapeMountPath(fields[4]);
    if (shownLocation(mountPoint, home)) mountPoints.push_back(std::move(mountPoint));
  }
  return mountPoints;
}

std::vector<std::string> list(Platform& platform) {
  std::string mountinfo;
  try {
    mountinfo = platform.readFile("/proc/self/mountinfo");
  } catch (const PlatformError&) {
    return {};
  }
  std::vector<std::string> volumes;
  for (std::string& mountPoint : candidates(mountinfo, platform.homeFolder())) {
    try {
      platform.attributesOfItem(joinPath(mountPoint, "."));
      volumes.push_back(std::move(mountPoint));
    } catch (const PlatformError&) {
      // Another user's volume, or one that went away: not ours to offer.
    }
  }
  return volumes;
}

}  // namespace tessel::MountedVolumes
