// The journal's JSON form, kept up to date one entry at a time. The journal file is rewritten
// whole at every step of a batch or an undo; encoding only the entry that changed turns each
// rewrite into a copy of bytes instead of a fresh encoding of every earlier entry.
#pragma once

#include <string>
#include <vector>

#include "records/MoveJournal.h"

namespace tessel {

class JournalText {
 public:
  explicit JournalText(const MoveJournal& journal);

  void push(const MoveEntry& entry);
  void pop();
  void replaceLast(const MoveEntry& entry);

  // Byte for byte what encodeJson() gives for the journal with these entries.
  std::string bytes() const;

 private:
  std::string head_;          // the journal's encoding up to the opening "[" of its entries
  std::string entries_;       // the encoded entries, joined by ","
  std::vector<size_t> ends_;  // where each entry's encoding ends in entries_
};

}  // namespace tessel
