#include "model/FolderFilter.h"

#include "model/ChooserTree.h"

namespace tessel {

QString searchKey(const QString& text) {
  return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

FolderFilter::FolderFilter(ChooserTree& tree, QObject* parent)
    : QSortFilterProxyModel(parent), tree_(tree) {
  setRecursiveFilteringEnabled(true);
  setSourceModel(&tree_);
}

void FolderFilter::setText(const QString& text) {
  QString needle = searchKey(text);
  if (needle == needle_) return;
  needle_ = std::move(needle);
  // One layout change for the whole tree: invalidateFilter() announces every run of rows that
  // comes or goes, and a tree view lays itself out again for each, many times per keystroke.
  invalidate();
}

QModelIndex FolderFilter::firstHit() const {
  return needle_.isEmpty() ? QModelIndex() : firstHitBelow(QModelIndex());
}

QModelIndex FolderFilter::firstHitBelow(const QModelIndex& parent) const {
  for (int row = 0; row < rowCount(parent); ++row) {
    const QModelIndex child = index(row, 0, parent);
    if (matches(mapToSource(child))) return child;
    if (const QModelIndex hit = firstHitBelow(child); hit.isValid()) return hit;
  }
  return {};
}

bool FolderFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  // Recursive filtering keeps a row that does not match when one of its descendants does.
  return needle_.isEmpty() || matches(tree_.index(sourceRow, 0, sourceParent));
}

bool FolderFilter::matches(const QModelIndex& sourceIndex) const {
  return tree_.searchKey(sourceIndex).contains(needle_);
}

}  // namespace tessel
