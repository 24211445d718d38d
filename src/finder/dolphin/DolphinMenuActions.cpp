#include "DolphinMenuActions.h"

#include <QAction>
#include <QMenu>

namespace tessel {

DolphinMenuActions::DolphinMenuActions(Menu menu, Activate activate, QObject* parent)
    : QObject(parent), menu_(std::move(menu)), activate_(std::move(activate)) {
  actions_ = actionsOf(menu_, this);
}

DolphinMenuActions::~DolphinMenuActions() {
  // Each submenu deletes its own items, nested submenus' entries included; the nested menus
  // themselves are in the list as well.
  for (const QPointer<QMenu>& submenu : submenus_) delete submenu.data();
}

QString DolphinMenuActions::actionText(const std::string& title) {
  return QString::fromStdString(title).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QList<QAction*> DolphinMenuActions::actionsOf(const Menu& menu, QObject* owner) {
  QList<QAction*> result;
  result.reserve(static_cast<int>(menu.items.size()));
  for (const MenuItem& item : menu.items) {
    QAction* action = nullptr;
    if (item.separator) {
      action = new QAction(owner);
      action->setSeparator(true);
    } else if (item.submenu) {
      QMenu* submenu = new QMenu(actionText(item.title));
      submenus_.emplace_back(submenu);
      const Menu* entries = item.submenu.get();
      // Filled once: a submenu without entries stays empty, and filling it again costs nothing.
      connect(submenu, &QMenu::aboutToShow, this, [this, submenu, entries] {
        if (submenu->isEmpty()) submenu->addActions(actionsOf(*entries, submenu));
      });
      action = submenu->menuAction();
    } else {
      action = new QAction(actionText(item.title), owner);
      if (item.tag) {
        const std::int64_t tag = *item.tag;
        connect(action, &QAction::triggered, this, [this, tag] { activate_(tag); });
      }
    }
    action->setEnabled(item.enabled);
    result.push_back(action);
  }
  return result;
}

}  // namespace tessel
