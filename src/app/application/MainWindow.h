// The host's one window: the settings view with the application's menus. Closing it only
// hides it; the host keeps running until the user quits.
#pragma once

#include <QMainWindow>

#include "model/AppModel.h"
#include "window/ContentView.h"

namespace tessel {

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(AppModel& model, ContentEnvironment environment, QWidget* parent = nullptr);

  ContentView* content() const { return content_; }
  QAction* undoAction() const { return undo_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  ContentView* content_;
  QAction* undo_;
};

}  // namespace tessel
