// The favourite destinations: add, reorder and remove them, and refresh the menu built from
// them.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

#include "model/AppModel.h"

namespace tessel {

class FavoritesPanel : public QFrame {
  Q_OBJECT

 public:
  FavoritesPanel(AppModel& model, OpenPanel& importer, const QString& home,
                 QWidget* parent = nullptr);

 private:
  void rebuild();
  QWidget* placeholder();
  QWidget* row(const FolderGrant& favorite, int index, int count);
  void reorder(int index, int step);
  void remove(const Uuid& id);
  void addFolder();

  AppModel& model_;
  OpenPanel& importer_;
  QString home_;
  QLabel* count_;
  QWidget* list_;
};

}  // namespace tessel
