// How to use Tessel from the file manager, the extension's settings, and (in a build that is
// not distributed directly) the granted source folders.
#pragma once

#include <QLabel>

#include "model/AppModel.h"
#include "window/DisclosureGroup.h"
#include "window/ExtensionSetup.h"

namespace tessel {

class HelpGroup : public DisclosureGroup {
  Q_OBJECT

 public:
  HelpGroup(AppModel& model, FilesModule extensionModule, QWidget* parent = nullptr);

  // What to do about the module, while Files does not have it.
  void showExtensionHint();

 private:
  void showExtensionSettings();
  void showSourceFolders();

  AppModel& model_;
  FilesModule extensionModule_;
  QLabel* enableHint_;
  QWidget* sourceFolders_ = nullptr;
};

}  // namespace tessel
