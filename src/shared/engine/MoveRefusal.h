// Tessel's own reasons for refusing or stopping a move or an undo, each a message the user
// reads in the status line.
#pragma once

#include <string>

#include "core/Errors.h"

namespace tessel {

enum class MoveRefusal {
  // Checks made before anything moves.
  batchSize,
  destinationNotAllowed,
  interruptedMove,
  symbolicLink,
  sourceNotAllowed,
  intoItself,
  otherVolume,
  nameTaken,
  // An item whose volume or file number cannot be read.
  cannotIdentify,
  // Undo.
  undoAccessMissing,
  movedItemReplaced,
  originalPlaceOccupied,
};

// The refusal as an error carrying its text in the user's language.
TesselError refusal(MoveRefusal reason);

// The journal at `path` cannot be decoded (`reason`): moves and undo stop until the history is
// cleared, which the message says, with the file it means.
DecodingError unreadableJournal(const std::string& path, const std::string& reason);

// Every item went back but the journal could not be rewritten (`reason`): the files are where
// they were, and one more undo clears the stale record.
TesselError undoneButNotRecorded(const std::string& reason);

}  // namespace tessel
