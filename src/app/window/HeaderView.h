// The window's header: the application's image and name, its tagline, and whether the GNOME
// Files module is in place.
#pragma once

#include <QLabel>
#include <QWidget>

#include "model/AppModel.h"

namespace tessel {

class HeaderView : public QWidget {
  Q_OBJECT

 public:
  explicit HeaderView(AppModel& model, QWidget* parent = nullptr);

 private:
  void showIndicator();

  AppModel& model_;
  QLabel* indicatorIcon_;
  QLabel* indicatorText_;
};

}  // namespace tessel
