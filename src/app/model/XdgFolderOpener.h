// Opens a folder with the desktop's default file manager through xdg-open, as Qt's desktop
// services do on Linux; the answer is whether xdg-open could be started.
#pragma once

#include "model/Desktop.h"

namespace tessel {

class XdgFolderOpener final : public FolderOpener {
 public:
  bool openFolder(const QString& path) override;
};

}  // namespace tessel
