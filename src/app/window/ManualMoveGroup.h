// Moving files from inside the application: pick the items, pick a favourite, move. Holds the
// recent destinations too.
#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "model/AppModel.h"
#include "window/DisclosureGroup.h"

namespace tessel {

class ManualMoveGroup : public DisclosureGroup {
  Q_OBJECT

 public:
  ManualMoveGroup(AppModel& model, const QString& home, QWidget* parent = nullptr);

  DisclosureGroup* recentGroup() const { return recent_; }

 private:
  void showSources();
  void showDestinations();
  void showRecent();
  void updateMoveButton();

  AppModel& model_;
  QString home_;
  QLabel* count_;
  QComboBox* destination_;
  QPushButton* move_;
  DisclosureGroup* recent_;
};

}  // namespace tessel
