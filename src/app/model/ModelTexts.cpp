#include "model/ModelTexts.h"

#include "core/Localization.h"

namespace tessel::ModelTexts {

std::string ready() {
  return localizedText("準備完了", "Ready");
}

std::string renewNamedAccess(const std::string& name) {
  return formatText(localizedText("「%@」を再登録してアクセス許可を更新してください。",
                                  "Add “%@” again to renew access."),
                    {name});
}

std::string renewAccess() {
  return localizedText("フォルダのアクセス許可を再登録してください。",
                       "Add the folder again to renew access.");
}

std::string selectFolder() {
  return localizedText("フォルダを選択してください。", "Select a folder.");
}

std::string allowSourceFolderPrompt() {
  return localizedText("操作するフォルダを許可", "Allow Source Folder");
}

std::string moveInProgress() {
  return localizedText("移動処理中です。完了後にやり直してください。",
                       "A move is in progress. Try again when it finishes.");
}

std::string moving() {
  return localizedText("移動しています…", "Moving…");
}

std::string moveFinished(std::int64_t moved, std::int64_t skipped,
                         const std::optional<std::string>& failure) {
  const std::vector<std::string> counts{std::to_string(moved), std::to_string(skipped)};
  std::string text =
      formatText(localizedText("%@件移動、%@件スキップ。", "Moved %@, skipped %@. "), counts);
  if (failure) text += formatText(localizedText("中断: %@", "Stopped: %@"), {*failure});
  return text;
}

std::string undoFinished(std::int64_t count) {
  return formatText(localizedText("%@件の移動を取り消しました。", "Undid %@ moves."),
                    {std::to_string(count)});
}

std::string receivedServiceItems(std::int64_t count) {
  return formatText(
      localizedText("ファイルマネージャから%@件を受け取りました。移動先を確認してください。",
                    "Received %@ items from the file manager. Choose a destination."),
      {std::to_string(count)});
}

std::string unknownOperation() {
  return localizedText("不明な操作です。", "Unknown operation.");
}

std::string cannotOpenDestination() {
  return localizedText("登録した移動先のフォルダを開けません。",
                       "Cannot open the registered destination folder.");
}

std::string fileManagerRefused() {
  return localizedText("ファイルマネージャでフォルダを開けませんでした。",
                       "Could not open the folder in the file manager.");
}

}  // namespace tessel::ModelTexts
