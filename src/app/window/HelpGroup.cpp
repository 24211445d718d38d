#include "window/HelpGroup.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "window/FileManagerModules.h"
#include "window/SettingsEdits.h"
#include "window/WindowStyle.h"
#include "window/WindowTexts.h"

namespace tessel {

HelpGroup::HelpGroup(AppModel& model, FilesModule extensionModule, QWidget* parent)
    : DisclosureGroup(WindowTexts::helpGroup(), parent),
      model_(model),
      extensionModule_(std::move(extensionModule)) {
  setObjectName(QStringLiteral("helpGroup"));
  for (const QString& line : {WindowTexts::helpMove(), WindowTexts::helpOpen()}) {
    auto* label = new QLabel(line, this);
    label->setWordWrap(true);
    WindowStyle::keepJapaneseInOneFont(label);
    content()->addWidget(label);
  }
  for (const QString& line : {WindowTexts::helpNoRegistration(), WindowTexts::helpChooserWindow(),
                              WindowTexts::helpLimits()}) {
    content()->addWidget(WindowStyle::secondary(line, this));
  }
  auto* settings = new QPushButton(WindowTexts::openExtensionSettings(), this);
  settings->setObjectName(QStringLiteral("extensionSettingsButton"));
  connect(settings, &QPushButton::clicked, this, &HelpGroup::showExtensionSettings);
  content()->addWidget(settings, 0, Qt::AlignLeft);
  enableHint_ = WindowStyle::secondary(QString(), this);
  enableHint_->setObjectName(QStringLiteral("enableExtensionHint"));
  content()->addWidget(enableHint_);
  for (const QString& line : fileManagerModuleLines(otherFileManagers())) {
    content()->addWidget(WindowStyle::secondary(line, this));
  }
  connect(&model_, &AppModel::extensionEnabledChanged, this, &HelpGroup::showExtensionHint);
  showExtensionHint();

  if (!model_.direct()) {
    sourceFolders_ = new QWidget(this);
    sourceFolders_->setObjectName(QStringLiteral("sourceFolders"));
    new QVBoxLayout(sourceFolders_);
    sourceFolders_->layout()->setContentsMargins(0, 0, 0, 0);
    content()->addWidget(sourceFolders_);
    connect(&model_, &AppModel::settingsChanged, this, &HelpGroup::showSourceFolders);
    showSourceFolders();
  }
}

void HelpGroup::showExtensionHint() {
  // A module installed under a prefix Files never reads needs another step than none at all.
  const ModuleState state = moduleState(extensionModule_, model_.extensionEnabled());
  enableHint_->setText(state == ModuleState::elsewhere ? WindowTexts::filesCannotLoadModule() +
                                                             "\n" + WindowTexts::installModule()
                                                       : WindowTexts::enableExtensionHint());
  enableHint_->setVisible(state != ModuleState::inFilesFolder);
}

void HelpGroup::showExtensionSettings() {
  openExtensionSetup(extensionModule_, model_.extensionEnabled(), window());
}

void HelpGroup::showSourceFolders() {
  QLayout* rows = sourceFolders_->layout();
  // Later, not now: the click that changed the settings may come from a button in a row.
  while (QLayoutItem* item = rows->takeAt(0)) {
    if (QWidget* widget = item->widget()) {
      widget->hide();
      widget->deleteLater();
    }
    delete item;
  }
  for (const FolderGrant& root : model_.settings().roots) {
    auto* row = new QWidget(sourceFolders_);
    row->setObjectName(QStringLiteral("sourceFolderRow"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* name = new QLabel(QString::fromStdString(root.name), row);
    name->setToolTip(QString::fromStdString(root.path));
    layout->addWidget(name, 1);
    auto* remove = new QPushButton(WindowTexts::removeSourceFolder(), row);
    connect(remove, &QPushButton::clicked, this, [this, id = root.id] {
      HostSettings changed = model_.settings();
      changed.roots = SettingsEdits::without(changed.roots, id);
      model_.setSettings(changed);
      model_.saveSettings();
    });
    layout->addWidget(remove);
    rows->addWidget(row);
  }
  auto* add = new QPushButton(WindowTexts::addSourceFolder(), sourceFolders_);
  add->setObjectName(QStringLiteral("addSourceFolderButton"));
  connect(add, &QPushButton::clicked, &model_, &AppModel::addSourceFolder);
  rows->addWidget(add);
}

}  // namespace tessel
