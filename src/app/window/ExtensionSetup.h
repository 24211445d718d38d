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

// Where Tessel's module stands for Files: in the folder Files loads modules from, installed
// somewhere Files never looks (a prefix such as ~/.local), or nowhere.
enum class ModuleState { inFilesFolder, elsewhere, missing };

// `filesHasModule` is whether Files' folder holds Tessel's module now; whether this
// installation has one elsewhere is read from disk.
ModuleState moduleState(const FilesModule& module, bool filesHasModule);
// One sentence for the state, as the set-up dialog's headline and the indicator's tooltip.
QString moduleStateHeadline(ModuleState state);

// A window-modal dialog on `parent`, deleted when closed.
QMessageBox* openExtensionSetup(const FilesModule& module, bool filesHasModule, QWidget* parent);

}  // namespace tessel
