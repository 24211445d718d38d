// The settings window on a real model: what it shows, and what its controls change.
#include <QComboBox>
#include <QGlyphRun>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRawFont>
#include <QTextLayout>
#include <QToolButton>
#include <set>

#include "WindowTestSession.h"
#include "window/ContentView.h"
#include "window/DisclosureGroup.h"
#include "window/FolderDisplay.h"
#include "window/SettingsEdits.h"
#include "window/WindowTexts.h"

namespace tessel::testing {
namespace {

using States = std::vector<std::string>;

class ContentViewTest : public WindowTestSession {
 protected:
  void show() {
    view = std::make_unique<ContentView>(*model,
                                         windowEnvironment([this] { return extensionInstalled; }));
    view->resize(760, 590);
    view->show();
  }

  template <typename T = QPushButton>
  T* child(const char* name) const {
    T* found = view->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
  QString text(const char* label) const { return child<QLabel>(label)->text(); }

  // The rows as the next frame shows them.
  QList<QWidget*> rows() const {
    QCoreApplication::processEvents();
    flushDeletions();
    return view->findChildren<QWidget*>(QStringLiteral("favoriteRow"));
  }
  QToolButton* rowButton(int row, const char* name) const {
    return rows().at(row)->findChild<QToolButton*>(QString::fromLatin1(name));
  }
  // The enabled state of up, down and remove in each row.
  States buttonStates() const {
    States states;
    for (int row = 0; row < rows().size(); ++row) {
      std::string state;
      for (const char* name : {"moveUpButton", "moveDownButton", "removeButton"})
        state += rowButton(row, name)->isEnabled() ? '1' : '0';
      states.push_back(state);
    }
    return states;
  }
  std::vector<std::string> favoriteNames() const {
    std::vector<std::string> names;
    for (const FolderGrant& favorite : model->settings().favorites) names.push_back(favorite.name);
    return names;
  }
  // Clears the move history and confirms it.
  void clearHistory() {
    child("clearHistoryButton")->click();
    view->footer()->confirmation()->findChild<QPushButton*>("confirmClearButton")->click();
  }

  bool extensionInstalled = false;
  std::unique_ptr<ContentView> view;
};

TEST_F(ContentViewTest, FavouriteRowsOfferOnlyTheMovesThatExistAndChangesAreStored) {
  start();
  show();
  EXPECT_TRUE(child<QWidget>("favoritesPlaceholder")->isVisible());
  EXPECT_EQ(text("favoriteCount"), "0 folders");
  addFavorites({"Archive"});
  EXPECT_EQ(buttonStates(), States{"001"});
  EXPECT_EQ(rowButton(0, "moveUpButton")->accessibleName(), "Move Archive up");
  EXPECT_EQ(rowButton(0, "moveDownButton")->accessibleName(), "Move Archive down");
  EXPECT_EQ(rowButton(0, "removeButton")->accessibleName(), "Remove Archive from destinations");

  addFavorites({"Inbox", "Photos"});
  EXPECT_EQ(text("favoriteCount"), "3 folders");
  EXPECT_EQ(buttonStates(), (States{"011", "111", "101"}));
  EXPECT_EQ(view->findChild<QWidget*>(QStringLiteral("favoritesPlaceholder")), nullptr);
  rowButton(0, "moveDownButton")->click();
  EXPECT_EQ(favoriteNames(), (std::vector<std::string>{"Inbox", "Archive", "Photos"}));
  rowButton(1, "removeButton")->click();
  EXPECT_EQ(favoriteNames(), (std::vector<std::string>{"Inbox", "Photos"}));
  EXPECT_EQ(storedSettings(), model->settings());
  EXPECT_TRUE(platform.fileExists(homePath("Archive")));
  EXPECT_EQ(buttonStates(), (States{"011", "101"}));
  // Nothing moves past either end, whatever calls for it.
  EXPECT_EQ(SettingsEdits::reordered(model->settings().favorites, 1, 1), std::nullopt);
  EXPECT_EQ(SettingsEdits::reordered(model->settings().favorites, 0, -1), std::nullopt);
}

TEST_F(ContentViewTest, AddedFoldersThePolicyAndAManualMoveTakeEffectAtOnce) {
  start();
  show();
  child("addFolderButton")->click();  // cancelled
  EXPECT_TRUE(model->settings().favorites.empty());
  desktop.folderAnswer = fileUrl(temp.folder("home/Archive"));
  child("addFolderButton")->click();
  ASSERT_EQ(model->settings().favorites.size(), 1u);
  QComboBox* policy = child<QComboBox>("policyChoice");
  EXPECT_EQ(policy->currentIndex(), 0);
  policy->activated(2);
  EXPECT_EQ(model->settings().policy, ConflictPolicy::cancel);
  EXPECT_EQ(storedSettings(), model->settings());
  policy->activated(1);
  EXPECT_EQ(storedSettings().policy, ConflictPolicy::skip);

  // A move needs sources and a destination.
  QPushButton* move = child("moveButton");
  QComboBox* destinations = child<QComboBox>("destinationChoice");
  EXPECT_EQ(model->selectedDestination().toStdString(), homePath("Archive"));
  EXPECT_FALSE(move->isEnabled());
  destinations->activated(0);
  EXPECT_TRUE(model->selectedDestination().isEmpty());
  ASSERT_EQ(destinations->count(), 2);
  EXPECT_EQ(destinations->itemText(1), "Archive");
  desktop.itemsAnswer = QList<QUrl>{fileUrl(temp.file("home/report.pdf", "x"))};
  child("selectFilesButton")->click();
  EXPECT_EQ(text("selectedCount"), "1 selected");
  EXPECT_FALSE(move->isEnabled());
  destinations->activated(1);
  ASSERT_TRUE(move->isEnabled());
  move->click();
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
  EXPECT_TRUE(platform.fileExists(homePath("Archive/report.pdf")));
  EXPECT_EQ(status(), "Moved 1, skipped 0. ");
}

TEST_F(ContentViewTest, RecentDestinationsShowTheFirstTwentyInDisplayForm) {
  start();
  show();
  EXPECT_TRUE(child<QWidget>("recentGroup")->isHidden());
  HostSettings settings = model->settings();
  for (int index = 0; index < 25; ++index)
    settings.recent.push_back(homePath("r" + std::to_string(index)));
  model->setSettings(settings);
  EXPECT_FALSE(child<QWidget>("recentGroup")->isHidden());
  // Opened, the groups lay their paths out at the window's width.
  for (const char* group : {"manualMoveGroup", "recentGroup", "helpGroup"})
    child<DisclosureGroup>(group)->setExpanded(true);
  QCoreApplication::processEvents();
  const QList<PathLabel*> paths = view->findChildren<PathLabel*>(QStringLiteral("recentPath"));
  ASSERT_EQ(paths.size(), 20);
  EXPECT_EQ(paths[0]->fullText(), "~/r0");
  EXPECT_EQ(paths[0]->toolTip().toStdString(), homePath("r0"));
  EXPECT_EQ(paths[19]->fullText(), "~/r19");
  for (const auto& [path, shown] : std::vector<std::pair<QString, QString>>{
           {"/home/a", "/home/a"}, {"/home/a/", "~/"}, {"/home/ab/Archive", "/home/ab/Archive"}}) {
    EXPECT_EQ(displayPath(path, "/home/a"), shown) << path.toStdString();
  }
}

// Installed under a prefix such as ~/.local, the module is on disk but Files never loads it.
// The indicator, the help and the set-up dialog follow the module each time the window shows.
TEST_F(ContentViewTest, TheIndicatorHelpAndSetUpDialogSayWhereTheModuleIsAndWhetherFilesHasIt) {
  start();
  show();
  const QString installed = QString::fromStdString(homePath(kUserModule));
  const QString folders = "\n\nFiles’ module folder:\n" + QString::fromLatin1(kFilesFolder);
  const QString install =
      "Install the Tessel package, or install Tessel system-wide, so that its module is in "
      "Files’ module folder. Then restart Files: run nautilus -q, then open Files again.";
  const struct {
    bool moduleUnderPrefix;
    bool filesHasModule;
    const char* indicator;
    QString headline;
    QString hint;  // empty: hidden
    QString details;
  } states[] = {
      {false, false, "Enable Files Extension", "Tessel’s module for Files is not installed.",
       "Install Tessel’s module for Files, then restart Files (nautilus -q).",
       "Tessel’s module (not found):\n" + installed + folders + "\n\n" + install},
      {true, false, "Enable Files Extension",
       "Tessel’s module is installed where Files cannot load it.",
       "Tessel’s module is installed where Files cannot load it.\n" + install,
       "Tessel’s module:\n" + installed + folders + "\n\n" + install},
      {true, true, "Available in Files", "Files has Tessel’s module.", "",
       "Tessel’s module:\n" + QString::fromLatin1(kFilesFolder) + "/tessel-nautilus.so" + folders +
           "\n\nIf Tessel’s items do not appear in Files’ context menu, restart Files: run "
           "nautilus -q, then open Files again."},
  };
  for (const auto& state : states) {
    SCOPED_TRACE(state.headline.toStdString());
    if (state.moduleUnderPrefix) temp.file(std::string("home/") + kUserModule);
    extensionInstalled = state.filesHasModule;
    view->hide();
    view->show();
    EXPECT_EQ(text("extensionIndicator"), state.indicator);
    EXPECT_EQ(child<QLabel>("extensionIndicator")->toolTip(), state.headline);
    EXPECT_EQ(child<QLabel>("enableExtensionHint")->isHidden(), state.hint.isEmpty());
    if (!state.hint.isEmpty()) {
      EXPECT_EQ(text("enableExtensionHint"), state.hint);
    }
    child("extensionSettingsButton")->click();
    auto* dialog = view->findChild<QMessageBox*>(QStringLiteral("extensionSetup"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Files Extension");
    EXPECT_EQ(dialog->text(), state.headline);
    EXPECT_EQ(dialog->informativeText(), state.details);
    dialog->close();
    flushDeletions();
  }
}

TEST_F(ContentViewTest, WhileBusyTheFooterButtonsAreOffAndAConfirmedClearingDoesNothing) {
  start();
  addFavorites({"Archive"});
  show();
  QPushButton* clear = child("clearHistoryButton");
  clear->click();
  ASSERT_TRUE(view->confirmDismiss());
  QMessageBox* confirmation = view->footer()->confirmation();
  EXPECT_EQ(confirmation->text(), "Clearing the move history means this move cannot be undone.");

  startHeldMove(temp.file("home/a.txt", "a"));
  EXPECT_FALSE(clear->isEnabled());
  EXPECT_FALSE(child("undoMoveButton")->isEnabled());
  EXPECT_TRUE(child<QWidget>("busyIndicator")->isVisible());
  confirmation->findChild<QPushButton*>(QStringLiteral("confirmClearButton"))->click();
  EXPECT_EQ(status(), "Moving…");
  ASSERT_TRUE(waitUntil([this] { return !view->confirmDismiss(); }));

  finishHeldMove();
  EXPECT_TRUE(clear->isEnabled());
  EXPECT_FALSE(child<QWidget>("busyIndicator")->isVisible());
  EXPECT_NE(journal().find("a.txt"), std::string::npos);
  clearHistory();
  EXPECT_EQ(status(), "Undo history cleared.");
  EXPECT_FALSE(platform.fileExists(support() + "/undo.json"));
}

TEST_F(ContentViewTest, EveryTextFollowsTheUsersLanguageAndItsArrowsShareOneFont) {
  ScopedLanguage japanese("ja");
  start();
  addFavorites({"Archive", "Inbox"});
  show();
  EXPECT_EQ(text("favoriteCount"), "2件");
  EXPECT_EQ(rowButton(0, "moveDownButton")->accessibleName(), "Archiveを下へ移動");
  EXPECT_EQ(rowButton(1, "moveUpButton")->accessibleName(), "Inboxを上へ移動");
  EXPECT_EQ(rowButton(1, "removeButton")->accessibleName(), "Inboxを移動先から外す");
  EXPECT_EQ(text("selectedCount"), "0件選択");
  EXPECT_EQ(text("statusLine"), "準備完了");
  clearHistory();
  EXPECT_EQ(status(), "前の移動を確定しました。");

  // Qt picks the font of an arrow by the script before it; the help lines must not mix widths.
  std::set<QString> arrowFonts;
  for (QLabel* label : child<QWidget>("helpGroup")->findChildren<QLabel*>()) {
    QTextLayout layout(label->text(), label->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (qsizetype at = label->text().indexOf(u'→'); at >= 0;
         at = label->text().indexOf(u'→', at + 1)) {
      for (const QGlyphRun& run : layout.glyphRuns(int(at), 1))
        arrowFonts.insert(run.rawFont().familyName());
    }
  }
  EXPECT_EQ(arrowFonts.size(), 1u);
}

TEST_F(ContentViewTest, SourceFoldersAreListedAndRemovableOnlyInAStoreBuild) {
  start();
  show();
  EXPECT_EQ(view->findChild<QWidget*>(QStringLiteral("sourceFolders")), nullptr);
  view.reset();
  platform.writeInfo(false);
  start();
  show();
  child("addSourceFolderButton")->click();  // cancelled
  EXPECT_EQ(desktop.prompts, QStringList{"Allow Source Folder"});
  desktop.folderAnswer = fileUrl(temp.folder("home/Downloads"));
  child("addSourceFolderButton")->click();
  ASSERT_EQ(model->settings().roots.size(), 1u);
  EXPECT_TRUE(model->settings().favorites.empty());
  EXPECT_TRUE(model->selectedDestination().isEmpty());
  QList<QWidget*> sourceRows = view->findChildren<QWidget*>(QStringLiteral("sourceFolderRow"));
  ASSERT_EQ(sourceRows.size(), 1);
  sourceRows[0]->findChild<QPushButton*>()->click();
  EXPECT_TRUE(storedSettings().roots.empty());
}

}  // namespace
}  // namespace tessel::testing
