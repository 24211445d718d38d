#include "window/ExtensionSetup.h"

#include <QFileInfo>

#include "window/FileManagerModules.h"
#include "window/WindowTexts.h"

namespace tessel {

ModuleState moduleState(const FilesModule& module, bool filesHasModule) {
  if (filesHasModule) return ModuleState::inFilesFolder;
  return QFileInfo::exists(module.installed) ? ModuleState::elsewhere : ModuleState::missing;
}

QString moduleStateHeadline(ModuleState state) {
  switch (state) {
    case ModuleState::inFilesFolder:
      return WindowTexts::filesHasModule();
    case ModuleState::elsewhere:
      return WindowTexts::filesCannotLoadModule();
    case ModuleState::missing:
      break;
  }
  return WindowTexts::moduleNotInstalled();
}

QMessageBox* openExtensionSetup(const FilesModule& module, bool filesHasModule, QWidget* parent) {
  const ModuleState state = moduleState(module, filesHasModule);
  // Once Files has the module, the copy that matters is the one in Files' folder.
  const QString shown = filesHasModule
                            ? module.filesFolder + "/" + QFileInfo(module.installed).fileName()
                            : module.installed;
  const bool installed = state != ModuleState::missing;
  const QString headline = moduleStateHeadline(state);
  QString details =
      WindowTexts::moduleLocation(shown, installed) + "\n\n" +
      WindowTexts::filesModuleFolder(module.filesFolder) + "\n\n" +
      (filesHasModule ? WindowTexts::restartFilesIfMissing() : WindowTexts::installModule());
  for (const QString& line : fileManagerModuleLines(otherFileManagers())) {
    details += "\n\n" + line;
  }
  auto* box =
      new QMessageBox(filesHasModule ? QMessageBox::Information : QMessageBox::Warning,
                      WindowTexts::extensionSetupTitle(), headline, QMessageBox::Ok, parent);
  box->setObjectName(QStringLiteral("extensionSetup"));
  box->setTextFormat(Qt::PlainText);
  box->setInformativeText(details);
  // Wide enough for a module path on one line.
  box->setStyleSheet(QStringLiteral("QLabel#qt_msgbox_informativelabel { min-width: 42em; }"));
  // Paths and the command are there to be copied into a terminal.
  box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
  return box;
}

}  // namespace tessel
