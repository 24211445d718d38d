#include "engine/JournalText.h"

#include "records/RecordCoding.h"

namespace tessel {
namespace {

// "entries" is the journal's last key, so every encoding ends with the close of its list.
constexpr std::string_view kTail = "]}";

}  // namespace

JournalText::JournalText(const MoveJournal& journal)
    : text_(encodeJson(MoveJournal{journal.id, journal.date, {}})),
      entriesStart_(text_.size() - kTail.size()) {
  for (const MoveEntry& entry : journal.entries) push(entry);
}

void JournalText::push(const MoveEntry& entry) {
  text_.resize(text_.size() - kTail.size());
  if (!ends_.empty()) text_ += ',';
  text_ += encodeJson(entry);
  ends_.push_back(text_.size());
  text_ += kTail;
}

void JournalText::pop() {
  ends_.pop_back();
  text_.resize(ends_.empty() ? entriesStart_ : ends_.back());
  text_ += kTail;
}

void JournalText::replaceLast(const MoveEntry& entry) {
  pop();
  push(entry);
}

}  // namespace tessel
