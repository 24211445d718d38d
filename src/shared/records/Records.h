// The records both deliverables exchange and store. Plain values; their JSON forms are declared
// in records/RecordCoding.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/ConflictPolicy.h"
#include "records/Uuid.h"
#include "records/Values.h"

namespace tessel {

class Platform;

// A folder the user granted access to, with the bookmark that re-opens that access later.
struct FolderGrant {
  Uuid id;
  std::string name;  // last path component at the time of granting
  std::string path;  // as the folder was chosen, not canonicalised
  Bytes bookmark;

  // A fresh identifier, the folder's name and path, and the given bookmark.
  static FolderGrant make(const std::string& folderPath, Bytes bookmark);

  friend bool operator==(const FolderGrant&, const FolderGrant&) = default;
};

// One destination as the file manager's menu shows it; identified by its path.
struct MenuDestination {
  std::string name;
  std::string path;
  std::vector<MenuDestination> children;  // in menu order; empty for a leaf

  friend bool operator==(const MenuDestination&, const MenuDestination&) = default;
};

// Everything the extension needs to build its menu. All lists empty when nothing was published.
struct MenuSnapshot {
  std::vector<std::string> roots;
  std::vector<MenuDestination> favorites;
  std::vector<MenuDestination> recent;

  friend bool operator==(const MenuSnapshot&, const MenuSnapshot&) = default;
};

// One command from the extension to the host.
struct MoveRequest {
  Uuid id;
  Timestamp created;
  std::vector<std::string> sources;
  std::string destination;
  bool hierarchical = false;
  std::optional<std::string> operation;  // none for a move; "openFolder" or "undo"

  // A fresh identifier, created now.
  static MoveRequest make(std::vector<std::string> sources, std::string destination,
                          bool hierarchical, std::optional<std::string> operation,
                          Platform& platform);

  friend bool operator==(const MoveRequest&, const MoveRequest&) = default;
};

// The outcome of one move batch. Never stored.
struct MoveResult {
  std::int64_t moved = 0;
  std::int64_t skipped = 0;
  std::optional<std::string> failure;  // the error that stopped the batch part-way

  friend bool operator==(const MoveResult&, const MoveResult&) = default;
};

}  // namespace tessel
