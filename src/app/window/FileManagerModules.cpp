#include "window/FileManagerModules.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "window/WindowTexts.h"

namespace tessel {

QList<FileManagerModule> otherFileManagers() {
  return {
      {"Nemo", "nemo", TESSEL_NEMO_EXTENSION_DIR, "tessel-nemo.so", "nemo -q"},
      {"Caja", "caja", TESSEL_CAJA_EXTENSION_DIR, "tessel-caja.so", "caja -q"},
      {"Thunar", "thunar", TESSEL_THUNAR_EXTENSION_DIR, "tessel-thunar.so", "thunar -q"},
      {"Dolphin", "dolphin", TESSEL_DOLPHIN_PLUGIN_DIR, "tessel-dolphin.so", {}},
  };
}

QStringList fileManagerModuleLines(const QList<FileManagerModule>& managers) {
  QStringList lines;
  for (const FileManagerModule& manager : managers) {
    if (QStandardPaths::findExecutable(manager.program).isEmpty()) continue;
    const QString package = QFileInfo(manager.module).completeBaseName();
    lines.append(QFileInfo::exists(manager.folder + "/" + manager.module)
                     ? WindowTexts::fileManagerHasModule(manager.name)
                     : WindowTexts::fileManagerLacksModule(manager.name, manager.folder, package,
                                                           manager.quit));
  }
  return lines;
}

}  // namespace tessel
