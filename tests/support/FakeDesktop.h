// A desktop that records what the model asked of it and answers as the test says.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

#include "model/Desktop.h"

namespace tessel::testing {

class FakeDesktop final : public OpenPanel,
                          public WindowPresenter,
                          public FolderOpener,
                          public SettingsNotifier {
 public:
  Desktop desktop() { return {*this, *this, *this, *this}; }

  // Answers of the open panel; none is a cancel.
  std::optional<QUrl> folderAnswer;
  std::optional<QList<QUrl>> itemsAnswer;
  QStringList prompts;

  int windowsHidden = 0;
  int broughtForward = 0;

  bool openSucceeds = true;
  QStringList openedFolders;

  int notifications = 0;

  std::optional<QUrl> chooseFolder(const QString& prompt) override {
    prompts.push_back(prompt);
    return folderAnswer;
  }
  std::optional<QList<QUrl>> chooseItems() override { return itemsAnswer; }
  void hideVisibleWindows() override { ++windowsHidden; }
  void bringForward() override { ++broughtForward; }
  bool openFolder(const QString& path) override {
    openedFolders.push_back(path);
    return openSucceeds;
  }
  void postSettingsChanged() override { ++notifications; }
};

}  // namespace tessel::testing
