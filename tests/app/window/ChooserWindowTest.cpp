// The chooser on its own and on a real model: what typing shows and highlights, what Enter,
// Escape and "Cancel" do, a move the model refuses while busy, and a publication while open.
// Opened for the model's requests: one window, following the model's publications, closed
// by a move that moved anything.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>

#include "HostHarness.h"
#include "ScopedLanguage.h"
#include "window/ChooserPresenter.h"
#include "window/ChooserWindow.h"

namespace tessel::testing {
namespace {

using Strings = std::vector<std::string>;

MenuDestination folder(const std::string& path, std::vector<MenuDestination> children = {}) {
  return {path.substr(path.rfind('/') + 1), path, std::move(children)};
}

// Two favourites, names in several scripts and widths, and two recent destinations, one of
// them a favourite itself.
MenuSnapshot snapshot(std::vector<MenuDestination> archive = {
                          folder("/h/Archive/2023", {folder("/h/Archive/2023/Reports")}),
                          folder("/h/Archive/写真"), folder("/h/Archive/ＡＢＣ Papers"),
                          folder("/h/Archive/ｶﾀﾛｸﾞ")}) {
  return {
      {"/h"},
      {folder("/h/Archive", std::move(archive)), folder("/h/Inbox", {folder("/h/Inbox/Drafts")})},
      {folder("/h/Archive/2023"), folder("/h/Inbox")}};
}

class ChooserWindowTest : public HostHarness {
 protected:
  // The window on `snapshot()`. The handler by default records each move as its destination,
  // followed by " h" when it is hierarchical, and answers with `answer`.
  void open(const Strings& items = {"/h/a.txt"}, ChooserWindow::MoveHandler handler = {}) {
    if (!handler) {
      handler = [this](const Strings&, const std::string& path, bool hierarchical,
                       AppModel::Completion done) {
        moves.push_back(path + (hierarchical ? " h" : ""));
        pending = std::move(done);
        if (answer) pending(*answer);
      };
    }
    window = std::make_unique<ChooserWindow>(items, snapshot(), std::move(handler));
    window->show();
    find(window.get());
  }
  void find(ChooserWindow* shown) {
    search = shown->findChild<QLineEdit*>(QStringLiteral("folderSearch"));
    tree = shown->findChild<QTreeView*>(QStringLiteral("folderTree"));
    moveButton = shown->findChild<QPushButton*>(QStringLiteral("moveButton"));
  }
  void press(int key, const QString& text = {}) const {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(search, &event);
  }
  void type(const QString& text) const {
    search->clear();
    for (const QChar character : text) press(Qt::Key_unknown, character);
  }
  // A row as the tests name it: "Recent" for the heading, its path below /h for a folder,
  // after "Recent/" among the recent destinations; empty for none.
  static std::string rowName(const QModelIndex& row) {
    if (!row.isValid()) return {};
    const std::string path = row.data(ChooserTree::PathRole).toString().toStdString();
    if (path.empty()) return "Recent";
    return (rowName(row.parent()) == "Recent" ? "Recent/" : "") + path.substr(3);
  }
  // The rows the tree shows, top to bottom.
  Strings shownRows() const {
    Strings rows;
    for (QModelIndex row = tree->model()->index(0, 0); row.isValid(); row = tree->indexBelow(row))
      rows.push_back(rowName(row));
    return rows;
  }
  std::string highlighted() const {
    return rowName(tree->selectionModel()->selectedRows().value(0));
  }

  Strings moves;
  // The handler's answer; none keeps the move on its way until the test calls `pending`.
  std::optional<bool> answer = true;
  AppModel::Completion pending;
  std::unique_ptr<ChooserWindow> window;
  QLineEdit* search = nullptr;
  QTreeView* tree = nullptr;
  QPushButton* moveButton = nullptr;
};

TEST_F(ChooserWindowTest, TypingNarrowsTheTreeAndEnterMovesIntoTheHighlightedFolder) {
  open();
  answer = false;  // the window stays open for the next row
  EXPECT_EQ(window->focusWidget(), search);
  EXPECT_FALSE(moveButton->isEnabled());
  press(Qt::Key_Down);  // passes the heading over
  EXPECT_EQ(highlighted(), "Recent/Archive/2023");
  const Strings everything{"Recent",       "Recent/Archive/2023",   "Recent/Inbox",
                           "Archive",      "Archive/2023",          "Archive/2023/Reports",
                           "Archive/写真", "Archive/ＡＢＣ Papers", "Archive/ｶﾀﾛｸﾞ",
                           "Inbox",        "Inbox/Drafts"};
  const Strings in2023{"Recent", "Recent/Archive/2023", "Archive", "Archive/2023"};
  // Each hit's ancestors show for its place. Typing highlights the first hit, Down the next
  // row, and clearing the text keeps the choice; Enter moves into it (" h": hierarchical).
  for (const auto& [typed, downs, rows, move] :
       std::vector<std::tuple<QString, int, Strings, std::string>>{
           {"ＲＥＰ",
            0,
            {"Archive", "Archive/2023", "Archive/2023/Reports"},
            "/h/Archive/2023/Reports h"},
           {"写", 0, {"Archive", "Archive/写真"}, "/h/Archive/写真 h"},
           {"abc p", 0, {"Archive", "Archive/ＡＢＣ Papers"}, "/h/Archive/ＡＢＣ Papers h"},
           {"カタログ", 0, {"Archive", "Archive/ｶﾀﾛｸﾞ"}, "/h/Archive/ｶﾀﾛｸﾞ h"},
           {"2023", 0, in2023, "/h/Archive/2023 h"},  // a recent destination
           {"2023", 1, in2023, "/h/Archive"},         // the hit's ancestor, a favourite
           {"inbox", 0, {"Recent", "Recent/Inbox", "Inbox"}, "/h/Inbox"},  // recent, a favourite
           {"dr", 0, {"Inbox", "Inbox/Drafts"}, "/h/Inbox/Drafts h"},
           {"", 0, everything, "/h/Inbox/Drafts h"},
           {"recent", 0, {}, ""},
           {"zzz", 0, {}, ""}}) {
    SCOPED_TRACE(typed.toStdString() + " " + std::to_string(downs));
    type(typed);
    for (int down = 0; down < downs; ++down) press(Qt::Key_Down);
    EXPECT_EQ(shownRows(), rows);
    EXPECT_EQ(moveButton->isEnabled(), !move.empty());
    moves.clear();
    press(Qt::Key_Return);
    EXPECT_EQ(moves, move.empty() ? Strings{} : Strings{move});
  }
}

TEST_F(ChooserWindowTest, EscapeAndCancelMoveNothingAndAMoveNotDoneKeepsTheWindowAsItWas) {
  open();
  answer.reset();
  type("rep");
  press(Qt::Key_Return);
  // Nothing starts a second move while the first is on its way.
  press(Qt::Key_Enter);
  tree->doubleClicked(tree->currentIndex());
  EXPECT_FALSE(moveButton->isEnabled());
  pending(false);
  EXPECT_EQ(moves.size(), 1u);
  EXPECT_TRUE(window->isVisible() && moveButton->isEnabled());
  EXPECT_EQ(highlighted(), "Archive/2023/Reports");
  press(Qt::Key_Escape);
  EXPECT_FALSE(window->isVisible());
  open();
  window->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
  EXPECT_FALSE(window->isVisible());

  // A double-click moves into the row it lands on; the heading is no folder.
  answer = true;
  open();
  press(Qt::Key_Down);
  tree->doubleClicked(tree->model()->index(0, 0));
  tree->doubleClicked(tree->model()->index(2, 0));
  EXPECT_EQ(moves, (Strings{"/h/Archive/2023/Reports h", "/h/Inbox"}));
}

TEST_F(ChooserWindowTest, ANewPublicationKeepsTheSearchTextAndTheHighlightedFolderWhileOffered) {
  open();
  type("rep");
  window->showSnapshot(snapshot({folder("/h/Archive/Repairs"),
                                 folder("/h/Archive/2023", {folder("/h/Archive/2023/Reports")})}));
  EXPECT_EQ(shownRows(),
            (Strings{"Archive", "Archive/Repairs", "Archive/2023", "Archive/2023/Reports"}));
  EXPECT_EQ(highlighted(), "Archive/2023/Reports");
  window->showSnapshot(snapshot({folder("/h/Archive/Repairs")}));
  EXPECT_EQ(highlighted(), "Archive/Repairs");

  // A folder offered both as recent and in the tree stays highlighted where it was.
  window->showSnapshot(snapshot());
  type("2023");
  press(Qt::Key_Down);
  press(Qt::Key_Down);
  window->showSnapshot(snapshot());
  EXPECT_EQ(highlighted(), "Archive/2023");
  window->showSnapshot(snapshot({}));
  EXPECT_EQ(highlighted(), "Recent/Archive/2023");
}

// The model refuses a move while another runs; the window stays for the next try, which then
// goes the whole way: moved, recorded as recent, window closed.
TEST_F(ChooserWindowTest, AMoveRefusedWhileBusyKeepsTheWindowForTheNextTry) {
  start();
  addFavorites({"Archive"});
  open({temp.file("home/report.pdf", "r")}, std::bind_front(&AppModel::move, model.get()));
  window->showSnapshot(publishedMenu());
  startHeldMove(temp.file("home/a.txt", "a"));
  type("arch");
  press(Qt::Key_Return);
  EXPECT_EQ(status(), "A move is in progress. Try again when it finishes.");
  EXPECT_TRUE(window->isVisible() && moveButton->isEnabled());

  finishHeldMove();
  press(Qt::Key_Return);
  ASSERT_TRUE(waitUntil([this] { return !model->busy() && !window->isVisible(); }));
  EXPECT_TRUE(platform.fileExists(homePath("Archive/report.pdf")));
  EXPECT_EQ(model->settings().recent.front(), homePath("Archive"));
}

TEST_F(ChooserWindowTest, EveryTextFollowsTheUsersLanguage) {
  for (const auto& [language, texts] : std::vector<std::pair<const char*, QStringList>>{
           {"en",
            {"Move to Folder", "Items to move: 1", "Filter by folder name", "Recent Destinations",
             "Cancel", "Move"}},
           {"ja",
            {"フォルダを選んで移動", "移動する項目：1件", "フォルダ名で絞り込む", "最近の移動先",
             "キャンセル", "移動"}}}) {
    ScopedLanguage chosen(language);
    open();
    EXPECT_EQ((QStringList{window->windowTitle(),
                           window->findChild<QLabel*>(QStringLiteral("itemCount"))->text(),
                           search->placeholderText(), tree->model()->index(0, 0).data().toString(),
                           window->findChild<QPushButton*>(QStringLiteral("cancelButton"))->text(),
                           moveButton->text()}),
              texts);
  }
}

// One window at a time, on the model's menu as published now and later; a second request gives
// it the newer items. A move that moved anything closes it, even with an item skipped; one that
// moved nothing keeps it in front of the settings window, which shows why.
TEST_F(ChooserWindowTest, TheModelsChooserFollowsItsPublicationsAndClosesOnceItemsMoved) {
  ChooserPresenter chooser;
  chooser.attach(start(nullptr, &chooser));
  addFavorites({"Archive"});
  settle();
  chooser.chooseDestination({homePath("gone.txt")});
  ChooserWindow* shown = chooser.window();
  ASSERT_TRUE(shown && shown->isVisible());
  find(shown);
  addFavorites({"Inbox"});
  settle();
  type("inbox");
  EXPECT_EQ(tree->selectionModel()->selectedRows().value(0).data(ChooserTree::PathRole).toString(),
            QString::fromStdString(homePath("Inbox")));

  press(Qt::Key_Return);
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
  EXPECT_TRUE(shown->isVisible());
  EXPECT_EQ(desktop.broughtForward, 1);
  const Strings items{temp.file("home/report.pdf", "r"), temp.file("home/Inbox/c.txt", "c")};
  chooser.chooseDestination(items);
  EXPECT_EQ(chooser.window(), shown);
  EXPECT_EQ(shown->findChild<QLabel*>(QStringLiteral("itemCount"))->text(), "Items to move: 2");
  press(Qt::Key_Return);
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
  EXPECT_EQ(status(), "Moved 1, skipped 1. ");
  EXPECT_EQ(chooser.window(), nullptr);
  EXPECT_EQ(desktop.broughtForward, 2);
}

}  // namespace
}  // namespace tessel::testing
