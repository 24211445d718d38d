#include "window/ChooserWindow.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QVBoxLayout>

#include "window/WindowStyle.h"
#include "window/WindowTexts.h"

namespace tessel {
namespace {

bool movesHighlight(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
         key == Qt::Key_PageDown;
}

}  // namespace

ChooserWindow::ChooserWindow(const std::vector<std::string>& sources, const MenuSnapshot& snapshot,
                             MoveHandler move, QWidget* parent)
    : QDialog(parent),
      move_(std::move(move)),
      tree_(WindowTexts::recentDestinations()),
      filter_(tree_),
      count_(WindowStyle::secondary(QString(), this)),
      search_(new QLineEdit(this)),
      view_(new QTreeView(this)),
      moveButton_(new QPushButton(WindowTexts::move(), this)) {
  setWindowTitle(WindowTexts::chooserTitle());
  resize(440, 520);

  count_->setObjectName(QStringLiteral("itemCount"));
  search_->setObjectName(QStringLiteral("folderSearch"));
  search_->setPlaceholderText(WindowTexts::filterFolders());
  search_->setAccessibleName(WindowTexts::filterFolders());
  search_->setClearButtonEnabled(true);
  search_->installEventFilter(this);
  connect(search_, &QLineEdit::textChanged, this, &ChooserWindow::filter);

  view_->setObjectName(QStringLiteral("folderTree"));
  view_->setAccessibleName(WindowTexts::chooserTitle());
  view_->setModel(&filter_);
  view_->setHeaderHidden(true);
  view_->setUniformRowHeights(true);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->expandAll();
  connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &ChooserWindow::updateMoveButton);
  connect(view_, &QTreeView::doubleClicked, this, &ChooserWindow::moveInto);

  auto* cancel = new QPushButton(WindowTexts::cancel(), this);
  cancel->setObjectName(QStringLiteral("cancelButton"));
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  // The default button: Enter anywhere in the window, the search field included, presses it.
  moveButton_->setObjectName(QStringLiteral("moveButton"));
  WindowStyle::makeProminent(moveButton_);
  connect(moveButton_, &QPushButton::clicked, this, [this] { moveInto(highlighted()); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(moveButton_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 14);
  layout->setSpacing(10);
  layout->addWidget(count_);
  layout->addWidget(search_);
  layout->addWidget(view_, 1);
  layout->addLayout(buttons);

  search_->setFocus();
  setSources(sources);
  showSnapshot(snapshot);
}

void ChooserWindow::setSources(const std::vector<std::string>& sources) {
  sources_ = sources;
  count_->setText(WindowTexts::itemsToMove(sources_.size()));
}

QModelIndex ChooserWindow::highlighted() const {
  const QModelIndexList rows = view_->selectionModel()->selectedRows();
  return rows.isEmpty() ? QModelIndex() : rows.first();
}

void ChooserWindow::showSnapshot(const MenuSnapshot& snapshot) {
  const QModelIndex kept = filter_.mapToSource(highlighted());
  const QString keptPath = kept.data(ChooserTree::PathRole).toString();
  const bool keptRecent = kept.isValid() && tree_.isRecent(kept);
  tree_.setSnapshot(snapshot);
  view_->expandAll();
  const QModelIndex again = filter_.mapFromSource(tree_.find(keptPath, keptRecent));
  highlight(again.isValid() ? again : filter_.firstHit());
}

bool ChooserWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == search_ && event->type() == QEvent::KeyPress &&
      movesHighlight(static_cast<QKeyEvent*>(event)->key())) {
    QCoreApplication::sendEvent(view_, event);
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void ChooserWindow::filter(const QString& text) {
  filter_.setText(text);
  view_->expandAll();
  // While the user types, the best guess is the first hit; clearing the text keeps the choice.
  if (!text.isEmpty()) highlight(filter_.firstHit());
}

void ChooserWindow::highlight(const QModelIndex& index) {
  view_->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  if (index.isValid()) view_->scrollTo(index);
  updateMoveButton();
}

void ChooserWindow::moveInto(const QModelIndex& folder) {
  // The heading, and no row at all, are not folders.
  if (moving_ || !(folder.flags() & Qt::ItemIsSelectable)) return;
  moving_ = true;
  updateMoveButton();
  QPointer<ChooserWindow> self(this);
  move_(sources_, folder.data(ChooserTree::PathRole).toString().toStdString(),
        folder.data(ChooserTree::HierarchicalRole).toBool(), [self](bool ok) {
          if (self) self->finishMove(ok);
        });
}

void ChooserWindow::finishMove(bool ok) {
  moving_ = false;
  if (ok && isVisible()) {
    accept();
  } else {
    updateMoveButton();
  }
}

void ChooserWindow::updateMoveButton() {
  moveButton_->setEnabled(!moving_ && view_->selectionModel()->hasSelection());
}

}  // namespace tessel
