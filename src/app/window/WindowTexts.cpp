#include "window/WindowTexts.h"

#include <string>

#include "core/Localization.h"

namespace tessel::WindowTexts {
namespace {

QString text(std::string_view ja, std::string_view en) {
  return QString::fromStdString(localizedText(ja, en));
}

QString withName(std::string_view jaAfter, std::string_view enBefore, std::string_view enAfter,
                 const QString& name) {
  const std::string n = name.toStdString();
  return text(n + std::string(jaAfter), std::string(enBefore) + n + std::string(enAfter));
}

QString withCount(std::int64_t count, std::string_view ja, std::string_view en) {
  const std::string n = std::to_string(count);
  return text(n + std::string(ja), n + std::string(en));
}

}  // namespace

QString tagline() {
  return text("いつものフォルダへ、右クリックで。", "Your usual folders, a right-click away.");
}
QString extensionAvailable() {
  return text("Filesで利用可能", "Available in Files");
}
QString enableExtension() {
  return text("Files拡張を有効にする", "Enable Files Extension");
}

QString moveToHeading() {
  return text("移動先", "Move To");
}
QString folderCount(std::int64_t count) {
  return withCount(count, "件", " folders");
}
QString addFolder() {
  return text("フォルダを追加", "Add Folder");
}
QString emptyHeading() {
  return text("よく使うフォルダを追加", "Add the folders you use most");
}
QString emptyLine() {
  return text("ファイルマネージャの右クリックから、移動やフォルダを開く操作に使えます。",
              "Move files or open folders from the file manager’s context menu.");
}
QString moveUpTooltip() {
  return text("上へ移動", "Move up");
}
QString moveDownTooltip() {
  return text("下へ移動", "Move down");
}
QString removeTooltip() {
  return text("移動先から外す。フォルダ自体は削除されません。",
              "Remove from destinations. The folder itself will not be deleted.");
}
QString moveUpLabel(const QString& name) {
  return withName("を上へ移動", "Move ", " up", name);
}
QString moveDownLabel(const QString& name) {
  return withName("を下へ移動", "Move ", " down", name);
}
QString removeLabel(const QString& name) {
  return withName("を移動先から外す", "Remove ", " from destinations", name);
}
QString orderNote() {
  return text("表示順がファイルマネージャのメニューに反映されます。",
              "This order is used in the file manager’s menu.");
}
QString refreshMenu() {
  return text("メニューを更新", "Refresh Menu");
}
QString refreshMenuTooltip() {
  return text("フォルダを追加・変更した後に階層メニューを読み直します。",
              "Reload the folder hierarchy after adding or changing folders.");
}

QString moveSettingsHeading() {
  return text("移動の設定", "Move Settings");
}
QString conflictLine() {
  return text("同名ファイルがあるとき", "When a file name already exists");
}
QString conflictCaption() {
  return text("移動先に同じ名前のファイルがある場合の扱い",
              "Choose how to handle an existing file with the same name.");
}
QString conflictLabel() {
  return text("同名ファイル", "Name Conflict");
}
QString keepBoth() {
  return text("両方残す（別名）", "Keep Both (Rename)");
}
QString skip() {
  return text("スキップ", "Skip");
}
QString cancelEntireMove() {
  return text("移動全体を中止", "Cancel Entire Move");
}

QString manualMoveGroup() {
  return text("アプリからファイルを移動", "Move Files from the App");
}
QString selectFiles() {
  return text("ファイルを選択…", "Select Files…");
}
QString selectedCount(std::int64_t count) {
  return withCount(count, "件選択", " selected");
}
QString chooseFolder() {
  return text("選択してください", "Choose a folder");
}
QString move() {
  return text("移動", "Move");
}
QString recentDestinations() {
  return text("最近の移動先", "Recent Destinations");
}

QString helpGroup() {
  return text("ファイルマネージャでの使い方", "Using Tessel in the File Manager");
}
QString helpMove() {
  return text("移動：右クリック → 移動先 → フォルダ名",
              "Move: Right-click → Move To → Folder name");
}
QString helpOpen() {
  return text("開く：右クリック → フォルダ階層から移動 → フォルダ名 → フォルダを開く",
              "Open: Right-click → Move through Folders → Folder name → Open Folder");
}
QString helpNoRegistration() {
  return text("移動元の登録は不要です。階層メニューは4階層・400フォルダまで表示します。",
              "No source folder registration is needed. The hierarchy shows up to 4 levels and "
              "400 folders.");
}
QString helpChooserWindow() {
  return text("フォルダが多いときは、階層をウィンドウで選べます。",
              "The folder hierarchy opens in a window when it has more folders than the menu can "
              "show quickly.");
}
QString helpLimits() {
  return text(
      "別ボリューム間の移動とシンボリックリンクの移動には対応していません。"
      "ファイルの権限や他のファイルマネージャ拡張により操作できない場所があります。",
      "Moves between volumes and symbolic links are not supported. File permissions or other "
      "file manager extensions may prevent actions in some locations.");
}
QString openExtensionSettings() {
  return text("Files拡張の設定方法…", "Set Up the Files Extension…");
}
QString enableExtensionHint() {
  return text(
      "TesselのFiles用モジュールをインストールしてから、Filesを再起動してください（nautilus -q）。",
      "Install Tessel’s module for Files, then restart Files (nautilus -q).");
}
QString removeSourceFolder() {
  return text("登録を外す", "Remove");
}
QString addSourceFolder() {
  return text("操作するフォルダを追加…", "Add Source Folder…");
}
QString extensionSetupTitle() {
  return text("Files拡張", "Files Extension");
}
QString filesHasModule() {
  return text("FilesにはTesselのモジュールが入っています。", "Files has Tessel’s module.");
}
QString filesCannotLoadModule() {
  return text("Tesselのモジュールは、Filesが読み込めない場所にインストールされています。",
              "Tessel’s module is installed where Files cannot load it.");
}
QString moduleNotInstalled() {
  return text("TesselのFiles用モジュールはインストールされていません。",
              "Tessel’s module for Files is not installed.");
}
QString moduleLocation(const QString& path, bool present) {
  const std::string shown = "\n" + path.toStdString();
  return present ? text("Tesselのモジュール：" + shown, "Tessel’s module:" + shown)
                 : text("Tesselのモジュール（見つかりません）：" + shown,
                        "Tessel’s module (not found):" + shown);
}
QString filesModuleFolder(const QString& folder) {
  const std::string shown = "\n" + folder.toStdString();
  return text("Filesのモジュールフォルダ：" + shown, "Files’ module folder:" + shown);
}
QString restartFilesIfMissing() {
  return text(
      "Filesの右クリックメニューにTesselの項目が表示されないときは、Filesを再起動してくだ"
      "さい（nautilus -q を実行してから、Filesを開き直します）。",
      "If Tessel’s items do not appear in Files’ context menu, restart Files: run "
      "nautilus -q, then open Files again.");
}
QString installModule() {
  return text(
      "Tesselのパッケージをインストールするか、Tesselをシステム全体にインストールして、モ"
      "ジュールをFilesのモジュールフォルダに置いてください。その後、Filesを再起動してくだ"
      "さい（nautilus -q を実行してから、Filesを開き直します）。",
      "Install the Tessel package, or install Tessel system-wide, so that its module is "
      "in Files’ module folder. Then restart Files: run nautilus -q, then open Files "
      "again.");
}
QString fileManagerHasModule(const QString& name) {
  const std::string n = name.toStdString();
  return text(n + "にはTesselのモジュールが入っています。", n + " has Tessel’s module.");
}
QString fileManagerLacksModule(const QString& name, const QString& folder, const QString& package,
                               const QString& quit) {
  const std::string n = name.toStdString(), f = folder.toStdString(), p = package.toStdString(),
                    q = quit.toStdString();
  const std::string jaThen =
      q.empty() ? "インストールしてから、" + n + "を開き直してください。"
                : "インストールしてから、" + q + " を実行して" + n + "を開き直してください。";
  const std::string enThen =
      q.empty() ? ", then open " + n + " again." : ", then run " + q + " and open " + n + " again.";
  return text(n + "にはTesselのモジュールが入っていません（" + n + "はモジュールを " + f +
                  " から読み込みます）。パッケージ " + p + " を" + jaThen,
              n + " does not have Tessel’s module: it loads modules from " + f +
                  ". Install the package " + p + enThen);
}

QString chooserTitle() {
  return text("フォルダを選んで移動", "Move to Folder");
}
QString itemsToMove(std::int64_t count) {
  const std::string n = std::to_string(count);
  return text("移動する項目：" + n + "件", "Items to move: " + n);
}
QString filterFolders() {
  return text("フォルダ名で絞り込む", "Filter by folder name");
}
QString cancel() {
  return text("キャンセル", "Cancel");
}

QString undoMove() {
  return text("移動を取り消す", "Undo Move");
}
QString clearUndoHistory() {
  return text("履歴を確定", "Clear Undo History");
}
QString clearUndoHistoryTooltip() {
  return text("直前の移動履歴を消去します。確定後は取り消せません。",
              "Clear the last move record. You will no longer be able to undo it.");
}
QString clearConfirmationTitle() {
  return text("移動履歴を確定すると取り消せなくなります。",
              "Clearing the move history means this move cannot be undone.");
}
QString historyCleared() {
  return text("前の移動を確定しました。", "Undo history cleared.");
}

}  // namespace tessel::WindowTexts
