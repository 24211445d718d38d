// The window in which the user picks the folder that items sent by the file manager move
// into: the recent destinations, then the favourites with their sub-folders, narrowed by a
// search field that keeps the focus. Up and Down (and Page Up and Page Down) in the search
// field move the highlight, Enter or a double-click moves into the highlighted folder, Escape
// or "Cancel" close the window without moving anything.
//
// The window does not move anything itself: it hands the choice to the move handler, which
// reports whether the move went through. On success the window closes (accept()); otherwise
// it stays open as it was, for another try, and the model's status line says why.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <functional>
#include <string>
#include <vector>

#include "model/AppModel.h"
#include "model/ChooserTree.h"
#include "model/FolderFilter.h"
#include "records/Records.h"

namespace tessel {

class ChooserWindow : public QDialog {
  Q_OBJECT

 public:
  // Called with the window's sources, the chosen folder and whether it lies below a favourite
  // (false for a favourite itself); `done` is then called once, on the GUI thread, with true
  // when the move went through. AppModel::move has this shape.
  using MoveHandler =
      std::function<void(const std::vector<std::string>& sources, const std::string& destination,
                         bool hierarchical, AppModel::Completion done)>;

  ChooserWindow(const std::vector<std::string>& sources, const MenuSnapshot& snapshot,
                MoveHandler move, QWidget* parent = nullptr);

  // Takes other items to move; the search text and the highlighted folder stay.
  void setSources(const std::vector<std::string>& sources);

 public slots:
  // Shows a newly published snapshot. The search text stays, and so does the highlighted
  // folder while the snapshot still offers its path in the same place (recent or tree).
  void showSnapshot(const MenuSnapshot& snapshot);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QModelIndex highlighted() const;
  void filter(const QString& text);
  void highlight(const QModelIndex& index);
  void moveInto(const QModelIndex& folder);
  void finishMove(bool ok);
  void updateMoveButton();

  std::vector<std::string> sources_;
  MoveHandler move_;
  ChooserTree tree_;
  FolderFilter filter_;
  QLabel* count_;
  QLineEdit* search_;
  QTreeView* view_;
  QPushButton* moveButton_;
  // A move handed to the handler and not answered yet: a second one must not start.
  bool moving_ = false;
};

}  // namespace tessel
