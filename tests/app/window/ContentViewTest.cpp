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
#include "application/ApplicationTexts.h"
#include "container/SharedContainer.h"
#include "model/ModelTexts.h"
#include "window/ContentView.h"
#include "window/FolderDisplay.h"
#include "window/WindowTexts.h"

namespace tessel::testing {
namespace {

class ContentViewTest : public WindowTestSession {
 protected:
  ContentView& show() {
    view = std::make_unique<ContentView>(*model,
                                         windowEnvironment([this] { return extensionInstalled; }));
    view->resize(760, 590);
    view->show();
    return *view;
  }

  template <typename T>
  T* child(const char* name) const {
    T* found = view->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }

  // The rows as the next frame shows them.
  QList<QWidget*> rows() const {
    QCoreApplication::processEvents();
    flushDeletions();
    return view->findChildren<QWidget*>(QStringLiteral("favoriteRow"));
  }

  // The enabled state of up, down and remove in each row.
  std::vector<std::string> buttonStates() const {
    std::vector<std::string> states;
    for (QWidget* row : rows()) {
      std::string state;
      for (const char* name : {"moveUpButton", "moveDownButton", "removeButton"}) {
        state += row->findChild<QToolButton*>(QString::fromLatin1(name))->isEnabled() ? '1' : '0';
      }
      states.push_back(state);
    }
    return states;
  }

  QToolButton* rowButton(int row, const char* name) const {
    return rows().at(row)->findChild<QToolButton*>(QString::fromLatin1(name));
  }

  bool extensionInstalled = false;
  std::unique_ptr<ContentView> view;
};

TEST_F(ContentViewTest, WithoutFavouritesThePlaceholderShowsAndNothingCanBeMoved) {
  startModel();
  show();
  EXPECT_TRUE(child<QWidget>("favoritesPlaceholder")->isVisible());
  EXPECT_EQ(child<QLabel>("favoriteCount")->text(), "0 folders");
  EXPECT_TRUE(rows().isEmpty());
  QComboBox* destinations = child<QComboBox>("destinationChoice");
  ASSERT_EQ(destinations->count(), 1);
  EXPECT_EQ(destinations->itemText(0), "Choose a folder");
  EXPECT_EQ(destinations->itemData(0).toString(), "");
  model->setSelectedSources({fileUrl(temp.file("home/a.txt"))});
  EXPECT_FALSE(child<QPushButton>("moveButton")->isEnabled());
}

TEST_F(ContentViewTest, FavouriteRowsOfferOnlyTheMovesThatExist) {
  startModel();
  addFavorites({"Archive"});
  show();
  EXPECT_EQ(child<QLabel>("favoriteCount")->text(), "1 folders");
  EXPECT_EQ(buttonStates(), std::vector<std::string>{"001"});
  EXPECT_EQ(rowButton(0, "moveUpButton")->accessibleName(), "Move Archive up");
  EXPECT_EQ(rowButton(0, "moveDownButton")->accessibleName(), "Move Archive down");
  EXPECT_EQ(rowButton(0, "removeButton")->accessibleName(), "Remove Archive from destinations");
  EXPECT_EQ(rowButton(0, "removeButton")->toolTip(),
            "Remove from destinations. The folder itself will not be deleted.");

  addFavorites({"Inbox", "Photos"});
  flushDeletions();
  EXPECT_EQ(child<QLabel>("favoriteCount")->text(), "3 folders");
  EXPECT_EQ(buttonStates(), (std::vector<std::string>{"011", "111", "101"}));
  EXPECT_EQ(view->findChild<QWidget*>(QStringLiteral("favoritesPlaceholder")), nullptr);
}

TEST_F(ContentViewTest, ReorderingAndRemovingAreStoredAndLeaveTheFoldersAlone) {
  startModel();
  addFavorites({"Archive", "Inbox", "Photos"});
  show();
  rowButton(0, "moveDownButton")->click();
  const auto names = [this] {
    std::vector<std::string> names;
    for (const FolderGrant& favorite : model->settings().favorites) names.push_back(favorite.name);
    return names;
  };
  EXPECT_EQ(names(), (std::vector<std::string>{"Inbox", "Archive", "Photos"}));
  EXPECT_LT(storedSettings().find("Inbox"), storedSettings().find("Archive"));

  rowButton(1, "removeButton")->click();
  EXPECT_EQ(names(), (std::vector<std::string>{"Inbox", "Photos"}));
  EXPECT_EQ(storedSettings().find("Archive"), std::string::npos);
  EXPECT_TRUE(platform.fileExists(homePath("Archive")));
  EXPECT_EQ(buttonStates(), (std::vector<std::string>{"011", "101"}));
}

TEST_F(ContentViewTest, AddFolderAddsWhatTheImporterReturnsAndACancelChangesNothing) {
  startModel();
  show();
  child<QPushButton>("addFolderButton")->click();
  EXPECT_TRUE(model->settings().favorites.empty());
  desktop.folderAnswer = fileUrl(temp.folder("home/Projects"));
  child<QPushButton>("addFolderButton")->click();
  ASSERT_EQ(model->settings().favorites.size(), 1u);
  EXPECT_EQ(model->selectedDestination().toStdString(), homePath("Projects"));
  EXPECT_NE(storedSettings().find("Projects"), std::string::npos);
}

TEST_F(ContentViewTest, ThePolicyChoiceIsSavedAtOnce) {
  startModel();
  show();
  QComboBox* policy = child<QComboBox>("policyChoice");
  EXPECT_EQ(policy->width(), 180);
  EXPECT_EQ(policy->accessibleName(), "Name Conflict");
  ASSERT_EQ(policy->count(), 3);
  EXPECT_EQ(policy->itemText(0), "Keep Both (Rename)");
  EXPECT_EQ(policy->itemText(1), "Skip");
  EXPECT_EQ(policy->itemText(2), "Cancel Entire Move");
  EXPECT_EQ(policy->currentIndex(), 0);
  policy->activated(2);
  EXPECT_EQ(model->settings().policy, ConflictPolicy::cancel);
  EXPECT_NE(storedSettings().find(R"("policy":"cancel")"), std::string::npos);
  policy->activated(1);
  EXPECT_NE(storedSettings().find(R"("policy":"skip")"), std::string::npos);
}

TEST_F(ContentViewTest, MoveNeedsSourcesAndADestinationAndThenMoves) {
  startModel();
  addFavorites({"Archive"});
  model->setSelectedDestination({});
  show();
  QPushButton* move = child<QPushButton>("moveButton");
  QComboBox* destinations = child<QComboBox>("destinationChoice");
  ASSERT_EQ(destinations->count(), 2);
  EXPECT_EQ(destinations->itemText(1), "Archive");
  EXPECT_FALSE(move->isEnabled());

  destinations->activated(1);
  EXPECT_EQ(model->selectedDestination().toStdString(), homePath("Archive"));
  EXPECT_FALSE(move->isEnabled());
  const std::string file = temp.file("home/report.pdf", "x");
  desktop.itemsAnswer = QList<QUrl>{fileUrl(file)};
  child<QPushButton>("selectFilesButton")->click();
  EXPECT_EQ(child<QLabel>("selectedCount")->text(), "1 selected");
  ASSERT_TRUE(move->isEnabled());

  move->click();
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
  EXPECT_TRUE(platform.fileExists(homePath("Archive/report.pdf")));
  EXPECT_EQ(model->status(), "Moved 1, skipped 0. ");

  destinations->activated(0);
  EXPECT_FALSE(move->isEnabled());
}

TEST_F(ContentViewTest, RecentDestinationsShowTheFirstTwentyInDisplayForm) {
  startModel();
  show();
  EXPECT_TRUE(child<QWidget>("recentGroup")->isHidden());
  HostSettings settings = model->settings();
  for (int index = 0; index < 25; ++index)
    settings.recent.push_back(homePath("r" + std::to_string(index)));
  model->setSettings(settings);
  EXPECT_FALSE(child<QWidget>("recentGroup")->isHidden());
  const QList<PathLabel*> paths = view->findChildren<PathLabel*>(QStringLiteral("recentPath"));
  ASSERT_EQ(paths.size(), 20);
  EXPECT_EQ(paths[0]->fullText(), "~/r0");
  EXPECT_EQ(paths[0]->toolTip().toStdString(), homePath("r0"));
  EXPECT_EQ(paths[19]->fullText(), "~/r19");
}

TEST_F(ContentViewTest, PathsInsideTheHomeFolderAreShownFromTilde) {
  EXPECT_EQ(displayPath("/home/a", "/home/a"), "/home/a");
  EXPECT_EQ(displayPath("/home/a/", "/home/a"), "~/");
  EXPECT_EQ(displayPath("/home/a/Archive/2026", "/home/a"), "~/Archive/2026");
  EXPECT_EQ(displayPath("/home/ab/Archive", "/home/a"), "/home/ab/Archive");
  EXPECT_EQ(displayPath("/srv/share", "/home/a"), "/srv/share");
}

// Installed under a prefix such as ~/.local, the module is on disk but Files never loads it.
TEST_F(ContentViewTest, TheIndicatorAndHelpFollowTheModuleEachTimeTheWindowIsShown) {
  startModel();
  show();
  const struct {
    bool moduleUnderPrefix;
    bool filesHasModule;
    const char* indicator;
    const char* tooltip;
    const char* hint;  // nullptr: hidden
  } states[] = {
      {false, false, "Enable Files Extension", "Tessel’s module for Files is not installed.",
       "Install Tessel’s module for Files, then restart Files (nautilus -q)."},
      {true, false, "Enable Files Extension",
       "Tessel’s module is installed where Files cannot load it.",
       "Tessel’s module is installed where Files cannot load it.\nInstall the Tessel package, "
       "or install Tessel system-wide, so that its module is in Files’ module folder. Then "
       "restart Files: run nautilus -q, then open Files again."},
      {true, true, "Available in Files", "Files has Tessel’s module.", nullptr},
  };
  for (const auto& state : states) {
    if (state.moduleUnderPrefix) temp.file(std::string("home/") + kUserModule);
    extensionInstalled = state.filesHasModule;
    view->hide();
    view->show();
    QLabel* indicator = child<QLabel>("extensionIndicator");
    QLabel* hint = child<QLabel>("enableExtensionHint");
    EXPECT_EQ(indicator->text(), state.indicator);
    EXPECT_EQ(indicator->toolTip(), state.tooltip);
    EXPECT_EQ(hint->isHidden(), state.hint == nullptr) << state.indicator;
    if (state.hint) {
      EXPECT_EQ(hint->text(), state.hint);
    }
  }
}

TEST_F(ContentViewTest, TheSetUpDialogSaysWhereTheModuleIsAndWhetherFilesHasIt) {
  startModel();
  show();
  const QString installed = QString::fromStdString(homePath(kUserModule));
  const QString folder = QString::fromLatin1(kFilesFolder);
  const QString install =
      "\n\nInstall the Tessel package, or install Tessel system-wide, so that its module is in "
      "Files’ module folder. Then restart Files: run nautilus -q, then open Files again.";
  const struct {
    bool moduleExists;
    bool filesHasModule;
    const char* headline;
    QString details;
  } cases[] = {
      {false, false, "Tessel’s module for Files is not installed.",
       "Tessel’s module (not found):\n" + installed + "\n\nFiles’ module folder:\n" + folder +
           install},
      {true, false, "Tessel’s module is installed where Files cannot load it.",
       "Tessel’s module:\n" + installed + "\n\nFiles’ module folder:\n" + folder + install},
      {true, true, "Files has Tessel’s module.",
       "Tessel’s module:\n" + folder + "/tessel-nautilus.so\n\nFiles’ module folder:\n" + folder +
           "\n\nIf Tessel’s items do not appear in Files’ context menu, restart Files: run "
           "nautilus -q, then open Files again."},
  };
  for (const auto& example : cases) {
    if (example.moduleExists) temp.file(std::string("home/") + kUserModule);
    model->setExtensionEnabled(example.filesHasModule);
    child<QPushButton>("extensionSettingsButton")->click();
    auto* dialog = view->findChild<QMessageBox*>(QStringLiteral("extensionSetup"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Files Extension");
    EXPECT_EQ(dialog->text(), example.headline);
    EXPECT_EQ(dialog->informativeText(), example.details);
    dialog->close();
    flushDeletions();
  }
}

// These texts name the desktop's file manager, never another system's.
TEST_F(ContentViewTest, FileManagerTextsAreExactInBothLanguages) {
  const std::string noGroup = temp.file("no-group.json", R"({"TesselAppGroup":""})");
  const auto containerError = [&]() -> std::string {
    platform.variables["TESSEL_INFO_FILE"] = noGroup;
    try {
      SharedContainer::url(platform);
    } catch (const std::exception& error) {
      return error.what();
    }
    return "no error";
  };
  const auto shown = [](QString (*text)()) { return [text] { return text().toStdString(); }; };
  const struct {
    std::function<std::string()> text;
    const char* ja;
    const char* en;
  } texts[] = {
      {shown(WindowTexts::extensionAvailable), "Filesで利用可能", "Available in Files"},
      {shown(WindowTexts::enableExtension), "Files拡張を有効にする", "Enable Files Extension"},
      {shown(WindowTexts::emptyLine),
       "ファイルマネージャの右クリックから、移動やフォルダを開く操作に使えます。",
       "Move files or open folders from the file manager’s context menu."},
      {shown(WindowTexts::orderNote), "表示順がファイルマネージャのメニューに反映されます。",
       "This order is used in the file manager’s menu."},
      {shown(WindowTexts::helpGroup), "ファイルマネージャでの使い方",
       "Using Tessel in the File Manager"},
      {shown(WindowTexts::helpLimits),
       "別ボリューム間の移動とシンボリックリンクの移動には対応していません。ファイルの権限や他の"
       "ファイルマネージャ拡張により操作できない場所があります。",
       "Moves between volumes and symbolic links are not supported. File permissions or other "
       "file manager extensions may prevent actions in some locations."},
      {shown(WindowTexts::openExtensionSettings), "Files拡張の設定方法…",
       "Set Up the Files Extension…"},
      {shown(WindowTexts::enableExtensionHint),
       "TesselのFiles用モジュールをインストールしてから、Filesを再起動してください（nautilus "
       "-q）。",
       "Install Tessel’s module for Files, then restart Files (nautilus -q)."},
      {[] { return ModelTexts::receivedServiceItems(2); },
       "ファイルマネージャから2件を受け取りました。移動先を確認してください。",
       "Received 2 items from the file manager. Choose a destination."},
      {shown(ApplicationTexts::filesNotReceived),
       "ファイルマネージャからファイルを受け取れませんでした。",
       "Could not receive files from the file manager."},
      {ModelTexts::fileManagerRefused, "ファイルマネージャでフォルダを開けませんでした。",
       "Could not open the folder in the file manager."},
      {containerError,
       "Tesselの共有フォルダを開けません。データフォルダが存在し、書き込めるか確認してください。",
       "Cannot open Tessel’s shared folder. Check that the data folder exists and can be "
       "written."},
  };
  for (const auto& text : texts) {
    EXPECT_EQ(text.text(), text.en);
    ScopedLanguage japanese("ja");
    EXPECT_EQ(text.text(), text.ja);
  }
}

TEST_F(ContentViewTest, WhileBusyTheFooterButtonsAreOffAndAConfirmedClearingDoesNothing) {
  startModel();
  addFavorites({"Archive"});
  show();
  QPushButton* clear = child<QPushButton>("clearHistoryButton");
  clear->click();
  ASSERT_TRUE(view->confirmDismiss());
  QMessageBox* confirmation = view->footer()->confirmation();
  EXPECT_EQ(confirmation->text(), "Clearing the move history means this move cannot be undone.");

  startHeldMove(temp.file("home/a.txt", "a"));
  EXPECT_FALSE(clear->isEnabled());
  EXPECT_FALSE(child<QPushButton>("undoMoveButton")->isEnabled());
  EXPECT_TRUE(child<QWidget>("busyIndicator")->isVisible());
  confirmation->findChild<QPushButton*>(QStringLiteral("confirmClearButton"))->click();
  EXPECT_EQ(model->status(), "Moving…");
  ASSERT_TRUE(waitUntil([this] { return !view->confirmDismiss(); }));

  finishHeldMove();
  EXPECT_TRUE(clear->isEnabled());
  EXPECT_FALSE(child<QWidget>("busyIndicator")->isVisible());
  EXPECT_NE(journal().find("a.txt"), std::string::npos);
  clear->click();
  view->footer()
      ->confirmation()
      ->findChild<QPushButton*>(QStringLiteral("confirmClearButton"))
      ->click();
  EXPECT_EQ(model->status(), "Undo history cleared.");
  EXPECT_FALSE(platform.fileExists(temp.at("data/Tessel/undo.json")));
}

TEST_F(ContentViewTest, EveryTextFollowsTheUsersLanguage) {
  ScopedLanguage japanese("ja");
  startModel();
  addFavorites({"Archive", "Inbox"});
  show();
  EXPECT_EQ(child<QLabel>("favoriteCount")->text(), "2件");
  EXPECT_EQ(child<QPushButton>("addFolderButton")->text(), "フォルダを追加");
  EXPECT_EQ(rowButton(0, "moveDownButton")->accessibleName(), "Archiveを下へ移動");
  EXPECT_EQ(rowButton(1, "moveUpButton")->toolTip(), "上へ移動");
  EXPECT_EQ(rowButton(1, "removeButton")->accessibleName(), "Inboxを移動先から外す");
  EXPECT_EQ(child<QComboBox>("policyChoice")->itemText(0), "両方残す（別名）");
  EXPECT_EQ(child<QComboBox>("destinationChoice")->itemText(0), "選択してください");
  EXPECT_EQ(child<QLabel>("selectedCount")->text(), "0件選択");
  EXPECT_EQ(child<QPushButton>("clearHistoryButton")->toolTip(),
            "直前の移動履歴を消去します。確定後は取り消せません。");
  EXPECT_EQ(child<QLabel>("statusLine")->text(), "準備完了");
  child<QPushButton>("clearHistoryButton")->click();
  view->footer()
      ->confirmation()
      ->findChild<QPushButton*>(QStringLiteral("confirmClearButton"))
      ->click();
  EXPECT_EQ(model->status(), "前の移動を確定しました。");
}

// Qt picks the font of an arrow by the script before it; the help lines must not mix widths.
TEST_F(ContentViewTest, TheJapaneseHelpLinesDrawEveryArrowInOneFont) {
  ScopedLanguage japanese("ja");
  startModel();
  show();
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

class StoreBuildContentViewTest : public ContentViewTest {
 protected:
  StoreBuildContentViewTest() {
    platform.variables["TESSEL_INFO_FILE"] = temp.file("store.json", "{}");
  }
};

TEST_F(StoreBuildContentViewTest, SourceFoldersAreListedAndRemovableOnlyInAStoreBuild) {
  startModel();
  desktop.folderAnswer = fileUrl(temp.folder("home/Downloads"));
  show();
  child<QPushButton>("addSourceFolderButton")->click();
  ASSERT_EQ(model->settings().roots.size(), 1u);
  QList<QWidget*> sourceRows = view->findChildren<QWidget*>(QStringLiteral("sourceFolderRow"));
  ASSERT_EQ(sourceRows.size(), 1);
  sourceRows[0]->findChild<QPushButton*>()->click();
  EXPECT_TRUE(model->settings().roots.empty());
  EXPECT_EQ(storedSettings().find("Downloads"), std::string::npos);
}

TEST_F(ContentViewTest, ADirectBuildHasNoSourceFolders) {
  startModel();
  show();
  EXPECT_EQ(view->findChild<QWidget*>(QStringLiteral("sourceFolders")), nullptr);
}

}  // namespace
}  // namespace tessel::testing
