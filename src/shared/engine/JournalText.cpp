#include "engine/JournalText.h"

#include "records/RecordCoding.h"

namespace tessel {
namespace {

// "entries" is the journal's last key, so its encoding without entries ends in "[]}".
constexpr std::string_view kTail = "]}";

}  // namespace

JournalText::JournalText(const MoveJournal& journal)
    : head_(encodeJson(MoveJournal{journal.id, journal.date, {}})) {
  head_.resize(head_.size() - kTail.size());
  for (const MoveEntry& entry : journal.entries) push(entry);
}

void JournalText::push(const MoveEntry& entry) {
  if (!ends_.empty()) entries_ += ',';
  entries_ += encodeJson(entry);
  ends_.push_back(entries_.size());
}

void JournalText::pop() {
  ends_.pop_back();
  entries_.resize(ends_.empty() ? 0 : ends_.back());
}

void JournalText::replaceLast(const MoveEntry& entry) {
  pop();
  push(entry);
}

std::string JournalText::bytes() const {
  std::string bytes;
  bytes.reserve(head_.size() + entries_.size() + kTail.size());
  bytes.append(head_).append(entries_).append(kTail);
  return bytes;
}

}  // namespace tessel
