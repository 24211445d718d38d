#include "FakeDesktop.h"

namespace tessel::testing {

std::optional<QUrl> FakeDesktop::chooseFolder(const QString& prompt) {
  prompts.push_back(prompt);
  return folderAnswer;
}

std::optional<QList<QUrl>> FakeDesktop::chooseItems() {
  return itemsAnswer;
}

bool FakeDesktop::openFolder(const QString& path) {
  openedFolders.push_back(path);
  return openSucceeds;
}

}  // namespace tessel::testing
