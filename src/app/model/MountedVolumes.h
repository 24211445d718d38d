// The mounted volumes a file manager would show: real file systems mounted under /media,
// /run/media, /mnt or the home folder.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace tessel::MountedVolumes {

// The mount points in /proc/self/mountinfo text that lie where removable and user-mounted
// volumes appear and hold a real file system, in the order listed. Mount points inside hidden
// folders are left out.
std::vector<std::string> candidates(std::string_view mountinfo, const std::string& home);

// candidates() of this process's mount table, keeping those that can be entered; empty when
// the table cannot be read.
std::vector<std::string> list(Platform& platform);

}  // namespace tessel::MountedVolumes
