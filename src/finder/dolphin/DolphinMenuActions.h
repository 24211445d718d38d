// The core's menu as Qt actions for Dolphin's context menu: titles, order, enabled states,
// submenus and separators exactly as the core built them. A submenu's entries are made when it
// is about to open: making the actions of every folder of a large hierarchy up front would
// cost a right-click nearly three times the core's own menu.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <vector>

#include "Menu.h"

class QAction;
class QMenu;

namespace tessel {

// The actions of one context menu. It owns them and their submenus: they go when it goes,
// and Dolphin's menu drops an action that is deleted.
class DolphinMenuActions final : public QObject {
 public:
  // Called with the item's tag when a command item is chosen.
  using Activate = std::function<void(std::int64_t tag)>;

  DolphinMenuActions(Menu menu, Activate activate, QObject* parent);
  ~DolphinMenuActions() override;

  // The entries of the menu's top level, for Dolphin to add to its context menu.
  const QList<QAction*>& actions() const { return actions_; }

  // Qt reads a single "&" in an action's text as the mark of a keyboard accelerator.
  static QString actionText(const std::string& title);

 private:
  // The actions of the entries of `menu`, owned by `owner`; its submenus are empty until they
  // are about to open.
  QList<QAction*> actionsOf(const Menu& menu, QObject* owner);

  const Menu menu_;  // the submenus' entries come from here
  Activate activate_;
  QList<QAction*> actions_;
  std::vector<QPointer<QMenu>> submenus_;  // parentless, as Qt's submenus usually are
};

}  // namespace tessel
