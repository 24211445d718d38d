// The move journal: what the last batch moved, written before its items move and again once
// they have, so that the batch can be undone exactly, also after a crash half way through.
#pragma once

#include <string>
#include <vector>

#include "records/Uuid.h"
#include "records/Values.h"

namespace tessel {

// One moved item.
struct MoveEntry {
  std::string source;       // where the item was, as selected (standardised, links kept)
  std::string destination;  // where it went: inside the canonical destination, final name
  std::string identity;     // the item's identity string, taken just before it moved
  bool pending = false;     // written before the move; cleared once the move is recorded

  friend bool operator==(const MoveEntry&, const MoveEntry&) = default;
};

// The last batch that recorded at least one entry.
struct MoveJournal {
  Uuid id;
  Timestamp date;                  // when the batch began moving items
  std::vector<MoveEntry> entries;  // in the order the items were moved

  friend bool operator==(const MoveJournal&, const MoveJournal&) = default;
};

}  // namespace tessel
