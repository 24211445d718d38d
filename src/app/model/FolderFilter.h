// Narrows the chooser's folders to those whose name contains what the user typed, keeping
// each hit's ancestors so its place in the hierarchy stays visible.
#pragma once

#include <QModelIndex>
#include <QSortFilterProxyModel>
#include <QString>

namespace tessel {

class ChooserTree;

// `text` in the form names are compared in: compatibility forms folded (full-width "Ａ" and
// half-width "ｶ" become "A" and "カ"), then case folded.
QString searchKey(const QString& text);

class FolderFilter : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit FolderFilter(ChooserTree& tree, QObject* parent = nullptr);

  // Shows the folders whose name contains `text`, with their ancestors; everything when empty.
  void setText(const QString& text);
  // The first row, depth first, whose own name matches; none when nothing does.
  QModelIndex firstHit() const;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  bool matches(const QModelIndex& sourceIndex) const;
  QModelIndex firstHitBelow(const QModelIndex& parent) const;

  ChooserTree& tree_;
  QString needle_;
};

}  // namespace tessel
