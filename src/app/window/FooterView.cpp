#include "window/FooterView.h"

#include <QHBoxLayout>

#include "window/ThemeIcons.h"
#include "window/WindowStyle.h"
#include "window/WindowTexts.h"

namespace tessel {

FooterView::FooterView(AppModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      busy_(new QProgressBar(this)),
      status_(new QLabel(this)),
      undo_(new QPushButton(ThemeIcons::named(QStringLiteral("edit-undo")), WindowTexts::undoMove(),
                            this)),
      clear_(new QPushButton(WindowTexts::clearUndoHistory(), this)) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(20, 10, 20, 12);
  layout->setSpacing(10);

  busy_->setObjectName(QStringLiteral("busyIndicator"));
  busy_->setRange(0, 0);
  busy_->setTextVisible(false);
  busy_->setFixedSize(56, 8);
  layout->addWidget(busy_);

  status_->setObjectName(QStringLiteral("statusLine"));
  status_->setTextFormat(Qt::PlainText);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  status_->setWordWrap(true);
  WindowStyle::makeSecondary(status_);
  WindowStyle::makeCaption(status_);
  layout->addWidget(status_, 1);

  undo_->setObjectName(QStringLiteral("undoMoveButton"));
  connect(undo_, &QPushButton::clicked, this, [this] { model_.undoLastMove(); });
  layout->addWidget(undo_);
  clear_->setObjectName(QStringLiteral("clearHistoryButton"));
  clear_->setToolTip(WindowTexts::clearUndoHistoryTooltip());
  connect(clear_, &QPushButton::clicked, this, &FooterView::confirmClearing);
  layout->addWidget(clear_);

  const auto showStatus = [this] { status_->setText(model_.status()); };
  connect(&model_, &AppModel::statusChanged, this, showStatus);
  connect(&model_, &AppModel::busyChanged, this, &FooterView::showBusy);
  showStatus();
  showBusy();
}

void FooterView::showBusy() {
  const bool busy = model_.busy();
  busy_->setVisible(busy);
  undo_->setEnabled(!busy);
  clear_->setEnabled(!busy);
}

void FooterView::confirmClearing() {
  if (confirmation_) return;
  confirmation_ =
      new QMessageBox(QMessageBox::Warning, QStringLiteral("Tessel"),
                      WindowTexts::clearConfirmationTitle(), QMessageBox::Cancel, window());
  confirmation_->setObjectName(QStringLiteral("clearConfirmation"));
  QPushButton* clear =
      confirmation_->addButton(WindowTexts::clearUndoHistory(), QMessageBox::DestructiveRole);
  clear->setObjectName(QStringLiteral("confirmClearButton"));
  confirmation_->setDefaultButton(QMessageBox::Cancel);
  confirmation_->setAttribute(Qt::WA_DeleteOnClose);
  connect(clear, &QPushButton::clicked, this, &FooterView::clearHistory);
  confirmation_->open();
}

void FooterView::clearHistory() {
  if (model_.busy()) return;
  try {
    model_.engine().dismissHistory();
  } catch (const std::exception& error) {
    model_.setStatus(QString::fromStdString(error.what()));
    return;
  }
  model_.setStatus(WindowTexts::historyCleared());
}

}  // namespace tessel
