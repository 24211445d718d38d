// The open panel and the folder importer as Qt file dialogs.
#pragma once

#include "model/Desktop.h"

namespace tessel {

class QtOpenPanel final : public OpenPanel {
 public:
  std::optional<QUrl> chooseFolder(const QString& prompt) override;
  std::optional<QList<QUrl>> chooseItems() override;
};

}  // namespace tessel
