// Validation and planning of a move batch: every check for every item runs here, before any
// item is touched, so a refusal can truthfully say that nothing moved.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "records/ConflictPolicy.h"

namespace tessel {

// The most items one batch may select, duplicates included.
inline constexpr std::size_t kMaxBatchSize = 1000;

// The folder a batch moves into, once checked.
struct CheckedDestination {
  std::string path;                     // canonical
  std::optional<std::uint64_t> device;  // its volume
};

struct PlannedMove {
  std::string source;  // as selected, standardised
  std::string name;    // its last component
  // The canonical folder holding the source when it was checked; the move takes the item from
  // this folder, reached without following links, so a folder swapped later cannot redirect it.
  std::string sourceFolder;
  std::string target;      // full path inside the destination
  std::string targetName;  // its last component
};

struct MovePlan {
  CheckedDestination destination;
  std::vector<PlannedMove> moves;  // in the order the items will move
  std::int64_t skipped = 0;
};

// Refuses an empty batch or one over kMaxBatchSize.
void checkBatchSize(std::size_t count);

// The destination's canonical form, refused unless some root contains it and it is a folder.
// Failing to read its attributes passes through as the platform's error.
CheckedDestination checkDestination(const std::string& destination,
                                    const std::vector<std::string>& destinationRoots,
                                    Platform& platform);

// Orders, checks and names every source. Throws the first refusal, or the platform's error
// when a source's attributes cannot be read.
MovePlan planMoves(const std::vector<std::string>& sources,
                   const std::vector<std::string>& sourceRoots,
                   const CheckedDestination& destination, ConflictPolicy policy,
                   Platform& platform);

}  // namespace tessel
