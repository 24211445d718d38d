#include "window/MoveSettingsPanel.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "window/WindowStyle.h"
#include "window/WindowTexts.h"

namespace tessel {
namespace {

QString policyTitle(ConflictPolicy policy) {
  switch (policy) {
    case ConflictPolicy::keepBoth:
      return WindowTexts::keepBoth();
    case ConflictPolicy::skip:
      return WindowTexts::skip();
    case ConflictPolicy::cancel:
      return WindowTexts::cancelEntireMove();
  }
  return {};
}

}  // namespace

MoveSettingsPanel::MoveSettingsPanel(AppModel& model, QWidget* parent)
    : QFrame(parent), model_(model), policy_(new QComboBox(this)) {
  WindowStyle::makePanel(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 14);
  layout->setSpacing(10);
  layout->addWidget(WindowStyle::heading(WindowTexts::moveSettingsHeading(), this));

  auto* row = new QHBoxLayout;
  auto* text = new QVBoxLayout;
  text->setSpacing(2);
  text->addWidget(new QLabel(WindowTexts::conflictLine(), this));
  auto* caption = WindowStyle::secondary(WindowTexts::conflictCaption(), this);
  WindowStyle::makeCaption(caption);
  text->addWidget(caption);
  row->addLayout(text, 1);

  policy_->setObjectName(QStringLiteral("policyChoice"));
  policy_->setAccessibleName(WindowTexts::conflictLabel());
  policy_->setFixedWidth(180);
  for (const ConflictPolicy policy : kAllConflictPolicies) {
    policy_->addItem(policyTitle(policy), QVariant::fromValue(static_cast<int>(policy)));
  }
  // Only the user's choices are saved, never the window's own updates.
  connect(policy_, &QComboBox::activated, this, &MoveSettingsPanel::choose);
  row->addWidget(policy_, 0, Qt::AlignVCenter);
  layout->addLayout(row);

  connect(&model_, &AppModel::settingsChanged, this, &MoveSettingsPanel::showPolicy);
  showPolicy();
}

void MoveSettingsPanel::showPolicy() {
  policy_->setCurrentIndex(policy_->findData(static_cast<int>(model_.settings().policy)));
}

void MoveSettingsPanel::choose(int index) {
  HostSettings changed = model_.settings();
  changed.policy = static_cast<ConflictPolicy>(policy_->itemData(index).toInt());
  model_.setSettings(changed);
  model_.saveSettings();
}

}  // namespace tessel
