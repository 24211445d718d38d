#include "model/FinderOrder.h"

#include <QLocale>
#include <algorithm>
#include <numeric>

#include "core/Localization.h"

namespace tessel {

FinderOrder::FinderOrder()
    : collator_(QLocale(QString::fromStdString(preferredLocalizations().front()))) {
  collator_.setNumericMode(true);
  collator_.setCaseSensitivity(Qt::CaseInsensitive);
}

void FinderOrder::sort(std::vector<DirectoryEntry>& entries) const {
  // One sort key per name: comparing keys is far cheaper than collating names pairwise.
  std::vector<QCollatorSortKey> keys;
  keys.reserve(entries.size());
  for (const DirectoryEntry& entry : entries) {
    keys.push_back(collator_.sortKey(QString::fromUtf8(entry.name)));
  }
  std::vector<size_t> order(entries.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return keys[a].compare(keys[b]) < 0; });
  std::vector<DirectoryEntry> sorted;
  sorted.reserve(entries.size());
  for (size_t index : order) sorted.push_back(std::move(entries[index]));
  entries = std::move(sorted);
}

}  // namespace tessel
