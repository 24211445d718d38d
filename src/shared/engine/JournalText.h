// The journal's JSON form, kept up to date one entry at a time. The journal file is rewritten
// whole at every step of a batch or an undo; encoding only the entry that changed, in one
// buffer that is edited at its end, turns each rewrite into a write of bytes already there
// instead of a fresh encoding (and a fresh copy) of every earlier entry.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "records/MoveJournal.h"

namespace tessel {

class JournalText {
 public:
  explicit JournalText(const MoveJournal& journal);

  void push(const MoveEntry& entry);
  void pop();
  void replaceLast(const MoveEntry& entry);

  // Byte for byte what encodeJson() gives for the journal with these entries; valid until the
  // next change.
  std::string_view bytes() const { return text_; }

 private:
  std::string text_;          // the whole encoding
  size_t entriesStart_ = 0;   // where the first entry goes, just after "["
  std::vector<size_t> ends_;  // where each entry's encoding ends in text_
};

}  // namespace tessel
