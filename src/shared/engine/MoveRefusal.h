// Tessel's own reasons for refusing or stopping a move or an undo, each a message the user
// reads in the status line.
#pragma once

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

}  // namespace tessel
