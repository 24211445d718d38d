#include "application/ApplicationTexts.h"

#include <limits>
#include <string>

#include "core/Localization.h"

namespace tessel::ApplicationTexts {
namespace {

QString text(std::string_view ja, std::string_view en) {
  return QString::fromStdString(localizedText(ja, en));
}

}  // namespace

QString filesNotReceived() {
  return text("ファイルマネージャからファイルを受け取れませんでした。",
              "Could not receive files from the file manager.");
}

QString serviceWhileBusy() {
  return text("移動処理中です。完了後にもう一度選んでください。",
              "A move is in progress. Select this again when it finishes.");
}

QString favoriteNotRegistered(std::int64_t index) {
  // The user counts from 1; the largest index still has a successor as unsigned.
  const std::string n = index == std::numeric_limits<std::int64_t>::max()
                            ? std::to_string(static_cast<std::uint64_t>(index) + 1)
                            : std::to_string(index + 1);
  return text("お気に入り" + n + "は未登録です。先に移動先を登録してください。",
              "Favorite " + n + " is not registered. Add a destination first.");
}

QString undoLastMove() {
  return text("直前の移動を取り消す", "Undo Last Move");
}

QString quit() {
  return text("Tesselを終了", "Quit Tessel");
}

QString editMenu() {
  return text("編集", "Edit");
}

QString windowTitle() {
  return QStringLiteral("Tessel");
}

}  // namespace tessel::ApplicationTexts
