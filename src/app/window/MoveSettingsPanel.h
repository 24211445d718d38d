// What a move does with an item whose name already exists at the destination.
#pragma once

#include <QComboBox>
#include <QFrame>

#include "model/AppModel.h"

namespace tessel {

class MoveSettingsPanel : public QFrame {
  Q_OBJECT

 public:
  explicit MoveSettingsPanel(AppModel& model, QWidget* parent = nullptr);

 private:
  void showPolicy();
  void choose(int index);

  AppModel& model_;
  QComboBox* policy_;
};

}  // namespace tessel
