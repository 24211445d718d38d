// The window's footer: the busy indicator, the status line, undo, and clearing the undo
// history after a confirmation.
#pragma once

#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include "model/AppModel.h"

namespace tessel {

class FooterView : public QWidget {
  Q_OBJECT

 public:
  explicit FooterView(AppModel& model, QWidget* parent = nullptr);

  // The clear-history confirmation while it is shown.
  QMessageBox* confirmation() const { return confirmation_; }
  bool confirmDismiss() const { return confirmation_ != nullptr; }

 private:
  void showBusy();
  void confirmClearing();
  void clearHistory();

  AppModel& model_;
  QProgressBar* busy_;
  QLabel* status_;
  QPushButton* undo_;
  QPushButton* clear_;
  QPointer<QMessageBox> confirmation_;
};

}  // namespace tessel
