// The window's header: the application's image and name, its tagline, and whether the GNOME
// Files module is in place.
#pragma once

#include <QLabel>
#include <QWidget>

#include "model/AppModel.h"
#include "window/ExtensionSetup.h"

namespace tessel {

class HeaderView : public QWidget {
  Q_OBJECT

 public:
  HeaderView(AppModel& model, FilesModule extensionModule, QWidget* parent = nullptr);

  // Shows whether Files has the module, and in the tooltip why not.
  void showIndicator();

 private:
  AppModel& model_;
  FilesModule extensionModule_;
  QLabel* indicatorIcon_;
  QLabel* indicatorText_;
};

}  // namespace tessel
