#include "model/MountedVolumes.h"

#include <libmount/libmount.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>

#include "core/Errors.h"
#include "path/PathText.h"

namespace tessel::MountedVolumes {
namespace {

// libmount counts these as pseudo file systems for having no device, yet they hold the user's
// own files: a virtual machine's shared folders, encrypted folders and mounted archives.
constexpr std::string_view kUserFileSystems[] = {"vboxsf", "virtiofs", "fuse.encfs",
                                                 "fuse.archivemount"};
// Not pseudo to libmount, but no file manager shows them: snap images and the FUSE plumbing of
// snaps and of the desktop's document portal.
constexpr std::string_view kPlumbing[] = {"squashfs", "fuse.snapfuse", "fuse.portal"};

bool realFileSystem(libmnt_fs* fs) {
  const std::string_view type = mnt_fs_get_fstype(fs);
  if (std::ranges::find(kPlumbing, type) != std::end(kPlumbing)) return false;
  return !mnt_fs_is_pseudofs(fs) ||
         std::ranges::find(kUserFileSystems, type) != std::end(kUserFileSystems);
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
  std::string text(mountinfo);
  const std::unique_ptr<FILE, int (*)(FILE*)> stream(::fmemopen(text.data(), text.size(), "r"),
                                                     &std::fclose);
  const std::unique_ptr<libmnt_table, void (*)(libmnt_table*)> table(mnt_new_table(),
                                                                     &mnt_unref_table);
  const std::unique_ptr<libmnt_iter, void (*)(libmnt_iter*)> next(mnt_new_iter(MNT_ITER_FORWARD),
                                                                  &mnt_free_iter);
  if (!stream || !table || !next ||
      mnt_table_parse_stream(table.get(), stream.get(), "/proc/self/mountinfo") != 0) {
    return {};
  }
  std::vector<std::string> mountPoints;
  libmnt_fs* fs = nullptr;
  while (mnt_table_next_fs(table.get(), next.get(), &fs) == 0) {
    std::string mountPoint = mnt_fs_get_target(fs);
    if (realFileSystem(fs) && shownLocation(mountPoint, home)) {
      mountPoints.push_back(std::move(mountPoint));
    }
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
