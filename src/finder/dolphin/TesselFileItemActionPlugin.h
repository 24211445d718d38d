// The file item action plugin Dolphin loads from this module: Tessel's menu for selected items
// and for a folder's background, offered within the folders the host's snapshot names.
//
// Dolphin keeps one plugin object per window for as long as the window lives (a panel's menu
// may make one of its own and delete it with the menu), so the core's session lives with the
// plugin, hears the host's settings signal all along, and each menu's actions are let go when
// the next menu is asked for.
#pragma once

#include <KAbstractFileItemActionPlugin>
#include <QPointer>
#include <QVariantList>
#include <memory>

namespace tessel {

class DolphinMenuActions;
class ModuleSession;

class TesselFileItemActionPlugin final : public KAbstractFileItemActionPlugin {
  Q_OBJECT

 public:
  TesselFileItemActionPlugin(QObject* parent, const QVariantList& arguments);
  ~TesselFileItemActionPlugin() override;

  QList<QAction*> actions(const KFileItemListProperties& items, QWidget* parentWidget) override;

 private:
  std::shared_ptr<ModuleSession> session_;
  QPointer<DolphinMenuActions> lastMenu_;
};

}  // namespace tessel
