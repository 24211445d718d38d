// The one component that changes the user's files: moves a batch of items into one folder,
// undoes the last batch, and forgets it. A batch is written to the journal before its items
// move and again once they have, so the last batch can be undone exactly even after a crash or
// a power loss.
//
// Every public call holds the engine's recursive lock from start to end, so calls from several
// threads run one after another. Failures are thrown: TesselError with a message for the user,
// or the platform's error unchanged.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "records/ConflictPolicy.h"
#include "records/MoveJournal.h"
#include "records/Records.h"

namespace tessel {

struct MovePlan;

class MoveEngine {
 public:
  // Touches no file. `journalURL` is the full path of the journal file.
  explicit MoveEngine(std::string journalURL, Platform& platform = Platform::standard());

  const std::string& journalURL() const { return journalURL_; }

  // The journal, or none when no file is there. A file that cannot be read or decoded is an
  // error, not an absent journal.
  std::optional<MoveJournal> journal();

  // Moves 1 to 1,000 items into `destination`. Every check runs before anything moves; a
  // refusal fails the call and leaves files and journal unchanged. Once items move, the first
  // failure stops the batch and is reported in the result with the counts of what moved.
  MoveResult move(const std::vector<std::string>& sources, const std::string& destination,
                  const std::vector<std::string>& sourceRoots,
                  const std::vector<std::string>& destinationRoots, ConflictPolicy policy);

  // Moves the last batch's items back, last first, dropping each entry once its item is back;
  // stops at the first item that is not provably the moved one or whose old place is taken.
  // Returns how many items moved back.
  std::int64_t undo(const std::vector<std::string>& sourceRoots,
                    const std::vector<std::string>& destinationRoots);

  // Deletes the journal file without reading it, whatever state it is in.
  void dismissHistory();

 private:
  MoveResult apply(const MovePlan& plan);
  // journal() for a move or an undo, whose message for a file that cannot be decoded names
  // the file and how to go on.
  std::optional<MoveJournal> readableJournal();
  // Replaces the journal file durably, making its folder first when missing.
  void writeJournal(const MoveJournal& journal);

  std::recursive_mutex lock_;
  Platform& fm_;
  const std::string journalURL_;
};

}  // namespace tessel
