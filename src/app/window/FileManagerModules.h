// The file managers besides GNOME Files that Tessel has a module for. Each loads modules from
// one folder of its own, fixed when it was built; the window tells, for each one installed on
// this machine, whether Tessel's module is there.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace tessel {

struct FileManagerModule {
  QString name;     // as the user knows it: "Nemo"
  QString program;  // its command, looked up on PATH: "nemo"
  QString folder;   // where it loads modules from
  QString
      module;    // Tessel's module there: "tessel-nemo.so", installed by the package "tessel-nemo"
  QString quit;  // the command that ends it, so that it loads modules anew; none for Dolphin
};

// Nemo, Caja, Thunar and Dolphin, with the folders their development files named at build time.
QList<FileManagerModule> otherFileManagers();

// One line for each of `managers` whose program is installed: whether Tessel's module is where
// it loads modules, and if not, what to do.
QStringList fileManagerModuleLines(const QList<FileManagerModule>& managers);

}  // namespace tessel
