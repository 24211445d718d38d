#include "window/FavoritesPanel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QToolButton>

#include "window/FolderDisplay.h"
#include "window/SettingsEdits.h"
#include "window/ThemeIcons.h"
#include "window/WindowStyle.h"
#include "window/WindowTexts.h"

namespace tessel {
namespace {

const QColor kFolderBlue(0x35, 0x84, 0xe4);

QToolButton* rowButton(const QString& icon, const QString& tooltip, const QString& label,
                       const QString& name, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setIcon(ThemeIcons::named(icon));
  button->setAutoRaise(true);
  button->setToolTip(tooltip);
  button->setAccessibleName(label);
  return button;
}

}  // namespace

FavoritesPanel::FavoritesPanel(AppModel& model, OpenPanel& importer, const QString& home,
                               QWidget* parent)
    : QFrame(parent), model_(model), importer_(importer), home_(home) {
  WindowStyle::makePanel(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 12);
  layout->setSpacing(10);

  auto* top = new QHBoxLayout;
  top->addWidget(WindowStyle::heading(WindowTexts::moveToHeading(), this));
  count_ = WindowStyle::secondary(QString(), this);
  count_->setObjectName(QStringLiteral("favoriteCount"));
  count_->setWordWrap(false);
  top->addWidget(count_);
  top->addStretch();
  auto* add = new QPushButton(WindowTexts::addFolder(), this);
  add->setObjectName(QStringLiteral("addFolderButton"));
  WindowStyle::makeProminent(add);
  add->setIcon(
      ThemeIcons::tinted(QStringLiteral("list-add"), add->palette().color(QPalette::ButtonText)));
  connect(add, &QPushButton::clicked, this, &FavoritesPanel::addFolder);
  top->addWidget(add);
  layout->addLayout(top);

  list_ = new QWidget(this);
  new QVBoxLayout(list_);
  list_->layout()->setContentsMargins(0, 0, 0, 0);
  list_->layout()->setSpacing(0);
  layout->addWidget(list_);

  auto* bottom = new QHBoxLayout;
  auto* note = WindowStyle::secondary(WindowTexts::orderNote(), this);
  WindowStyle::makeCaption(note);
  bottom->addWidget(note, 1);
  auto* refresh = new QToolButton(this);
  refresh->setObjectName(QStringLiteral("refreshMenuButton"));
  refresh->setText(WindowTexts::refreshMenu());
  refresh->setIcon(ThemeIcons::named(QStringLiteral("view-refresh")));
  refresh->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  refresh->setAutoRaise(true);
  refresh->setToolTip(WindowTexts::refreshMenuTooltip());
  connect(refresh, &QToolButton::clicked, &model_, &AppModel::refreshMenu);
  bottom->addWidget(refresh);
  layout->addLayout(bottom);

  connect(&model_, &AppModel::settingsChanged, this, &FavoritesPanel::rebuild);
  rebuild();
}

void FavoritesPanel::rebuild() {
  const std::vector<FolderGrant>& favorites = model_.settings().favorites;
  count_->setText(WindowTexts::folderCount(static_cast<std::int64_t>(favorites.size())));
  QLayout* rows = list_->layout();
  // Later, not now: the click that changed the settings may come from a button in a row.
  while (QLayoutItem* item = rows->takeAt(0)) {
    item->widget()->hide();
    item->widget()->deleteLater();
    delete item;
  }
  if (favorites.empty()) {
    rows->addWidget(placeholder());
    return;
  }
  const int count = static_cast<int>(favorites.size());
  for (int index = 0; index < count; ++index) {
    if (index > 0) rows->addWidget(WindowStyle::divider(list_));
    rows->addWidget(row(favorites[static_cast<size_t>(index)], index, count));
  }
}

QWidget* FavoritesPanel::placeholder() {
  auto* box = new QWidget(list_);
  box->setObjectName(QStringLiteral("favoritesPlaceholder"));
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 18, 0, 18);
  layout->setSpacing(6);
  auto* icon = new QLabel(box);
  icon->setPixmap(ThemeIcons::tinted(QStringLiteral("folder-new"),
                                     palette().color(QPalette::PlaceholderText), 40)
                      .pixmap(40, 40));
  icon->setAlignment(Qt::AlignCenter);
  layout->addWidget(icon);
  auto* title = WindowStyle::heading(WindowTexts::emptyHeading(), box);
  title->setAlignment(Qt::AlignCenter);
  layout->addWidget(title);
  auto* line = WindowStyle::secondary(WindowTexts::emptyLine(), box);
  line->setAlignment(Qt::AlignCenter);
  layout->addWidget(line);
  return box;
}

QWidget* FavoritesPanel::row(const FolderGrant& favorite, int index, int count) {
  auto* widget = new QWidget(list_);
  widget->setObjectName(QStringLiteral("favoriteRow"));
  auto* layout = new QHBoxLayout(widget);
  layout->setContentsMargins(2, 8, 0, 8);
  layout->setSpacing(10);

  auto* icon = new QLabel(widget);
  icon->setPixmap(ThemeIcons::tinted(QStringLiteral("folder"), kFolderBlue, 20).pixmap(20, 20));
  layout->addWidget(icon);

  const QString name = QString::fromStdString(favorite.name);
  auto* text = new QVBoxLayout;
  text->setSpacing(1);
  auto* nameLabel = new QLabel(name, widget);
  nameLabel->setTextFormat(Qt::PlainText);
  QFont bold = nameLabel->font();
  bold.setWeight(QFont::Medium);
  nameLabel->setFont(bold);
  text->addWidget(nameLabel);
  auto* path = new PathLabel(QString::fromStdString(favorite.path), home_, widget);
  WindowStyle::makeSecondary(path);
  WindowStyle::makeCaption(path);
  text->addWidget(path);
  layout->addLayout(text, 1);

  auto* up = rowButton(QStringLiteral("go-up"), WindowTexts::moveUpTooltip(),
                       WindowTexts::moveUpLabel(name), QStringLiteral("moveUpButton"), widget);
  up->setEnabled(index > 0);
  connect(up, &QToolButton::clicked, this, [this, index] { reorder(index, -1); });
  auto* down =
      rowButton(QStringLiteral("go-down"), WindowTexts::moveDownTooltip(),
                WindowTexts::moveDownLabel(name), QStringLiteral("moveDownButton"), widget);
  down->setEnabled(index < count - 1);
  connect(down, &QToolButton::clicked, this, [this, index] { reorder(index, +1); });
  auto* remove = rowButton(QStringLiteral("list-remove"), WindowTexts::removeTooltip(),
                           WindowTexts::removeLabel(name), QStringLiteral("removeButton"), widget);
  connect(remove, &QToolButton::clicked, this, [this, id = favorite.id] { this->remove(id); });
  for (QToolButton* button : {up, down, remove}) layout->addWidget(button);
  return widget;
}

void FavoritesPanel::reorder(int index, int step) {
  const std::optional<std::vector<FolderGrant>> favorites =
      SettingsEdits::reordered(model_.settings().favorites, index, step);
  if (!favorites) return;
  HostSettings changed = model_.settings();
  changed.favorites = *favorites;
  model_.setSettings(changed);
  model_.saveSettings();
}

void FavoritesPanel::remove(const Uuid& id) {
  HostSettings changed = model_.settings();
  changed.favorites = SettingsEdits::without(changed.favorites, id);
  model_.setSettings(changed);
  model_.saveSettings();
}

void FavoritesPanel::addFolder() {
  if (const std::optional<QUrl> folder = importer_.chooseFolder(QString())) {
    model_.addFolder(*folder, true);
  }
}

}  // namespace tessel
