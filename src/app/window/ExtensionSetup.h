// The "Set Up the Files Extension…" dialog: where Tessel's GNOME Files module is, whether Files
// has it, and what the user does about it.
#pragma once

#include <QMessageBox>
#include <QString>

namespace tessel {

struct FilesModule {
  // This installation's module (tessel-nautilus.so).
  QString installed;
  // The one folder Files loads modules from.
  QString filesFolder;
};

// A window-modal dialog on `parent`, deleted when closed. `filesHasModule` is whether Files'
// folder holds Tessel's module now; whether this installation has one is read from disk.
QMessageBox* openExtensionSetup(const FilesModule& module, bool filesHasModule, QWidget* parent);

}  // namespace tessel
