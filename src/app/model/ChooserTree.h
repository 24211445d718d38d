// The folders the chooser offers, as a tree: the recent destinations under a heading row,
// then every favourite with its sub-folders, in the order the menu snapshot holds them. Each
// name's search form is worked out once per snapshot, so filtering on a keystroke only
// compares strings.
#pragma once

#include <QAbstractItemModel>
#include <QSet>
#include <QString>
#include <vector>

#include "records/Records.h"

namespace tessel {

class ChooserTree : public QAbstractItemModel {
  Q_OBJECT

 public:
  enum Role {
    PathRole = Qt::UserRole,  // the folder's path; empty for the heading
    // False for a favourite itself, wherever it is listed; true for every other folder.
    HierarchicalRole,
  };

  explicit ChooserTree(QString recentHeading, QObject* parent = nullptr);

  // Replaces every row with the folders of `snapshot`.
  void setSnapshot(const MenuSnapshot& snapshot);
  // The folder's name in searchKey() form; empty for the heading, which never matches.
  const QString& searchKey(const QModelIndex& index) const;
  // The row for `path` among the recent destinations (`recent`) or in the favourites' tree;
  // none when it is not offered there.
  QModelIndex find(const QString& path, bool recent) const;
  // Whether `index` lies among the recent destinations.
  bool isRecent(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  struct Node {
    QString name;
    QString path;
    QString key;
    bool hierarchical = true;
    bool recent = false;
    size_t parent = 0;
    int row = 0;
    std::vector<size_t> children;
  };

  // Appends a node below `parent` and returns its number.
  size_t add(size_t parent, QString name, QString path, bool hierarchical, bool recent);
  void addTree(size_t parent, const MenuDestination& folder, const QSet<QString>& favorites);
  size_t nodeOf(const QModelIndex& index) const;
  QModelIndex indexOf(size_t node) const;

  QString recentHeading_;
  // Node 0 is the invisible root; an index's internal id is its node's number.
  std::vector<Node> nodes_;
};

}  // namespace tessel
