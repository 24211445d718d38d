#include "model/ChooserTree.h"

#include "model/FolderFilter.h"

namespace tessel {

ChooserTree::ChooserTree(QString recentHeading, QObject* parent)
    : QAbstractItemModel(parent), recentHeading_(std::move(recentHeading)), nodes_(1) {}

void ChooserTree::setSnapshot(const MenuSnapshot& snapshot) {
  beginResetModel();
  nodes_.assign(1, Node{});
  QSet<QString> favorites;
  for (const MenuDestination& favorite : snapshot.favorites)
    favorites.insert(QString::fromStdString(favorite.path));
  if (!snapshot.recent.empty()) {
    const size_t heading = add(0, recentHeading_, QString(), false, true);
    for (const MenuDestination& recent : snapshot.recent) {
      const QString path = QString::fromStdString(recent.path);
      add(heading, QString::fromStdString(recent.name), path, !favorites.contains(path), true);
    }
  }
  for (const MenuDestination& favorite : snapshot.favorites) addTree(0, favorite, favorites);
  endResetModel();
}

size_t ChooserTree::add(size_t parent, QString name, QString path, bool hierarchical, bool recent) {
  const size_t node = nodes_.size();
  Node& added = nodes_.emplace_back();
  // The heading, the one row without a path, is never a hit.
  if (!path.isEmpty()) added.key = tessel::searchKey(name);
  added.name = std::move(name);
  added.path = std::move(path);
  added.hierarchical = hierarchical;
  added.recent = recent;
  added.parent = parent;
  added.row = static_cast<int>(nodes_[parent].children.size());
  nodes_[parent].children.push_back(node);
  return node;
}

void ChooserTree::addTree(size_t parent, const MenuDestination& folder,
                          const QSet<QString>& favorites) {
  const QString path = QString::fromStdString(folder.path);
  const size_t node =
      add(parent, QString::fromStdString(folder.name), path, !favorites.contains(path), false);
  for (const MenuDestination& child : folder.children) addTree(node, child, favorites);
}

const QString& ChooserTree::searchKey(const QModelIndex& index) const {
  return nodes_[nodeOf(index)].key;
}

QModelIndex ChooserTree::find(const QString& path, bool recent) const {
  if (path.isEmpty()) return {};
  for (size_t node = 1; node < nodes_.size(); ++node) {
    if (nodes_[node].path == path && nodes_[node].recent == recent) return indexOf(node);
  }
  return {};
}

bool ChooserTree::isRecent(const QModelIndex& index) const {
  return nodes_[nodeOf(index)].recent;
}

size_t ChooserTree::nodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<size_t>(index.internalId()) : 0;
}

QModelIndex ChooserTree::indexOf(size_t node) const {
  return node == 0 ? QModelIndex() : createIndex(nodes_[node].row, 0, quintptr{node});
}

QModelIndex ChooserTree::index(int row, int column, const QModelIndex& parent) const {
  const std::vector<size_t>& children = nodes_[nodeOf(parent)].children;
  if (column != 0 || row < 0 || static_cast<size_t>(row) >= children.size()) return {};
  return createIndex(row, column, quintptr{children[static_cast<size_t>(row)]});
}

QModelIndex ChooserTree::parent(const QModelIndex& index) const {
  return indexOf(nodes_[nodeOf(index)].parent);
}

int ChooserTree::rowCount(const QModelIndex& parent) const {
  return parent.column() > 0 ? 0 : static_cast<int>(nodes_[nodeOf(parent)].children.size());
}

int ChooserTree::columnCount(const QModelIndex&) const {
  return 1;
}

QVariant ChooserTree::data(const QModelIndex& index, int role) const {
  const Node& node = nodes_[nodeOf(index)];
  switch (role) {
    case Qt::DisplayRole:
      return node.name;
    case Qt::ToolTipRole:
    case PathRole:
      return node.path;
    case HierarchicalRole:
      return node.hierarchical;
    default:
      return {};
  }
}

Qt::ItemFlags ChooserTree::flags(const QModelIndex& index) const {
  // The heading is only a label: the keyboard passes over it and it cannot be chosen.
  if (nodes_[nodeOf(index)].path.isEmpty()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace tessel
