#include "engine/MoveRefusal.h"

#include "core/DisplayPath.h"
#include "core/Localization.h"

namespace tessel {
namespace {

std::string messageFor(MoveRefusal reason) {
  switch (reason) {
    case MoveRefusal::batchSize:
      return localizedText("1〜1000件のファイルを選択してください。",
                           "Select between 1 and 1,000 files.");
    case MoveRefusal::destinationNotAllowed:
      return localizedText("移動先への許可がありません。設定でフォルダを登録してください。",
                           "No permission to access the destination. Add the folder in settings.");
    case MoveRefusal::interruptedMove:
      return localizedText(
          "中断した移動の記録があります。取り消すか、ファイルを確認して履歴を確定してください。",
          "An interrupted move is recorded. Undo it, or check the files and clear the undo "
          "history.");
    case MoveRefusal::symbolicLink:
      return localizedText("安全のためシンボリックリンクの移動には対応していません。",
                           "Symbolic links cannot be moved for safety reasons.");
    case MoveRefusal::sourceNotAllowed:
      return localizedText("移動元の親フォルダを「操作するフォルダ」に登録してください。",
                           "Add the source’s parent folder to Source Folders.");
    case MoveRefusal::intoItself:
      return localizedText("フォルダ自身やその中へ移動できません。",
                           "A folder cannot be moved into itself or a subfolder.");
    case MoveRefusal::otherVolume:
      return localizedText(
          "初期版は同じボリューム内の移動に対応しています。別ボリュームにはコピーで移してください"
          "。",
          "Moves are supported within the same volume. Copy files to move them to another "
          "volume.");
    case MoveRefusal::nameTaken:
      return localizedText("同名ファイルがあります。移動は開始していません。",
                           "A file with the same name exists. No files have been moved.");
    case MoveRefusal::cannotIdentify:
      return localizedText("ファイルの識別情報を取得できません。", "Cannot identify this file.");
    case MoveRefusal::undoAccessMissing:
      return localizedText("取り消しに必要なフォルダのアクセス許可を再登録してください。",
                           "Add the folders again to renew the access needed for undo.");
    case MoveRefusal::movedItemReplaced:
      return localizedText("移動先のファイルが置き換わっています。取り消しを停止しました。",
                           "The moved file has been replaced. Undo stopped.");
    case MoveRefusal::originalPlaceOccupied:
      return localizedText(
          "元の場所に同名ファイルがあるため、上書きせず取り消しを停止しました。",
          "Undo stopped because an item with the same name exists at the original location. "
          "Nothing was overwritten.");
  }
  return {};
}

}  // namespace

TesselError refusal(MoveRefusal reason) {
  return TesselError::invalid(messageFor(reason));
}

DecodingError unreadableJournal(const std::string& path, const std::string& reason) {
  return DecodingError(formatText(
      localizedText("移動履歴「%@」を読み込めないため、何も変更していません。Tesselの設定ウインドウ"
                    "で「履歴を確定」を押すと、再び移動できます（直前の移動は取り消せなくなりま"
                    "す）。%@",
                    "Tessel cannot read its undo history “%@”, so nothing was changed. Click "
                    "Clear Undo History in Tessel’s settings window to move files again (the last "
                    "move can then no longer be undone). %@"),
      {displayPath(path), reason}));
}

TesselError undoneButNotRecorded(const std::string& reason) {
  return TesselError::invalid(formatText(
      localizedText("ファイルは元の場所に戻りましたが、移動履歴を更新できませんでした（%@）。もう"
                    "一度「移動を取り消す」を選ぶと古い記録が消えます。ファイルは移動しません。",
                    "The files are back in place, but the undo history could not be updated "
                    "(%@). Choose Undo Move once more to clear the old record; it moves no "
                    "files."),
      {reason}));
}

}  // namespace tessel
