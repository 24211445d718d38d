// How operating-system failures are described: the operation, the path(s) involved and the
// strerror text, for example: Cannot move "/home/a/x" to "/home/a/Archive/x": Permission denied
#pragma once

#include <string>

#include "core/Errors.h"

namespace tessel {

enum class FileOperation {
  attributes,
  createDirectory,
  move,
  remove,
  copy,
  list,
  read,
  write,
  sync,
};

// `secondPath` is used by the operations that name two paths (move, copy).
PlatformError makePlatformError(int code, FileOperation operation, const std::string& path,
                                const std::string& secondPath = {});

}  // namespace tessel
