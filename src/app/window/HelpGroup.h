// How to use Tessel from the file manager, the extension's settings, and (in a build that is
// not distributed directly) the granted source folders.
#pragma once

#include <QLabel>

#include "model/AppModel.h"
#include "window/DisclosureGroup.h"

namespace tessel {

class HelpGroup : public DisclosureGroup {
  Q_OBJECT

 public:
  // `extensionModule` is where the GNOME Files module is installed when it is.
  HelpGroup(AppModel& model, const QString& extensionModule, QWidget* parent = nullptr);

 private:
  void showExtensionSettings();
  void showSourceFolders();

  AppModel& model_;
  QString extensionModule_;
  QLabel* enableHint_;
  QWidget* sourceFolders_ = nullptr;
};

}  // namespace tessel
