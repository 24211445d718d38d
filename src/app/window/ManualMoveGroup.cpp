#include "window/ManualMoveGroup.h"

#include <QHBoxLayout>

#include "model/FileUrls.h"
#include "window/FolderDisplay.h"
#include "window/WindowStyle.h"
#include "window/WindowTexts.h"

namespace tessel {

ManualMoveGroup::ManualMoveGroup(AppModel& model, const QString& home, QWidget* parent)
    : DisclosureGroup(WindowTexts::manualMoveGroup(), parent), model_(model), home_(home) {
  setObjectName(QStringLiteral("manualMoveGroup"));
  auto* row = new QHBoxLayout;
  row->setSpacing(10);
  auto* select = new QPushButton(WindowTexts::selectFiles(), this);
  select->setObjectName(QStringLiteral("selectFilesButton"));
  connect(select, &QPushButton::clicked, &model_, &AppModel::chooseSourceFiles);
  row->addWidget(select);
  count_ = WindowStyle::secondary(QString(), this);
  count_->setObjectName(QStringLiteral("selectedCount"));
  count_->setWordWrap(false);
  row->addWidget(count_);
  row->addSpacing(12);
  row->addWidget(new QLabel(WindowTexts::moveToHeading(), this));
  destination_ = new QComboBox(this);
  destination_->setObjectName(QStringLiteral("destinationChoice"));
  destination_->setAccessibleName(WindowTexts::moveToHeading());
  destination_->setMaximumWidth(280);
  destination_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  connect(destination_, &QComboBox::activated, this, [this](int index) {
    model_.setSelectedDestination(destination_->itemData(index).toString());
  });
  row->addWidget(destination_);
  move_ = new QPushButton(WindowTexts::move(), this);
  move_->setObjectName(QStringLiteral("moveButton"));
  WindowStyle::makeProminent(move_);
  connect(move_, &QPushButton::clicked, this, [this] {
    model_.move(localPaths(model_.selectedSources()), model_.selectedDestination().toStdString(),
                false);
  });
  row->addWidget(move_);
  row->addStretch();
  content()->addLayout(row);

  recent_ = new DisclosureGroup(WindowTexts::recentDestinations(), this);
  recent_->setObjectName(QStringLiteral("recentGroup"));
  content()->addWidget(recent_);

  connect(&model_, &AppModel::selectedSourcesChanged, this, &ManualMoveGroup::showSources);
  connect(&model_, &AppModel::selectedDestinationChanged, this, &ManualMoveGroup::showDestinations);
  connect(&model_, &AppModel::settingsChanged, this, &ManualMoveGroup::showDestinations);
  connect(&model_, &AppModel::settingsChanged, this, &ManualMoveGroup::showRecent);
  showSources();
  showDestinations();
  showRecent();
}

void ManualMoveGroup::showSources() {
  count_->setText(WindowTexts::selectedCount(model_.selectedSources().size()));
  updateMoveButton();
}

void ManualMoveGroup::showDestinations() {
  destination_->clear();
  destination_->addItem(WindowTexts::chooseFolder(), QString());
  for (const FolderGrant& favorite : model_.settings().favorites) {
    destination_->addItem(QString::fromStdString(favorite.name),
                          QString::fromStdString(favorite.path));
    destination_->setItemData(destination_->count() - 1, QString::fromStdString(favorite.path),
                              Qt::ToolTipRole);
  }
  // A destination that no favourite offers shows as no choice.
  destination_->setCurrentIndex(std::max(0, destination_->findData(model_.selectedDestination())));
  updateMoveButton();
}

void ManualMoveGroup::showRecent() {
  const std::vector<std::string>& recent = model_.settings().recent;
  recent_->setVisible(!recent.empty());
  while (QLayoutItem* item = recent_->content()->takeAt(0)) {
    delete item->widget();
    delete item;
  }
  for (size_t index = 0; index < std::min(recent.size(), kRecentLimit); ++index) {
    auto* path = new PathLabel(QString::fromStdString(recent[index]), home_, recent_);
    path->setObjectName(QStringLiteral("recentPath"));
    WindowStyle::makeSecondary(path);
    WindowStyle::makeCaption(path);
    recent_->content()->addWidget(path);
  }
}

void ManualMoveGroup::updateMoveButton() {
  move_->setEnabled(!model_.selectedSources().isEmpty() && !model_.selectedDestination().isEmpty());
}

}  // namespace tessel
