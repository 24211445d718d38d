#include "LocalPath.h"

namespace tessel {

std::optional<std::string> localPath(GFile* location) {
  if (!location) return std::nullopt;
  char* path = g_file_get_path(location);
  g_object_unref(location);
  if (!path) return std::nullopt;
  std::string result = path;
  g_free(path);
  return result;
}

}  // namespace tessel
