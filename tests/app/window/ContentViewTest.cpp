// The settings window on a real model: what it shows, and what its controls change; and the
// mount watcher, whose test mounts a tmpfs and is skipped without the privilege to.
#include <sys/mount.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

#include "HostHarness.h"
#include "ScopedLanguage.h"
#include "window/ContentView.h"
#include "window/DisclosureGroup.h"
#include "window/FolderDisplay.h"
#include "window/MountWatcher.h"
#include "window/SettingsEdits.h"

namespace tessel::testing {
namespace {

using Strings = std::vector<std::string>;

class ContentViewTest : public HostHarness {
 protected:
  // Where the window says Files loads modules from, and where this installation's module is
  // (inside the home folder, where Files does not look).
  static constexpr const char* kFilesFolder = "/usr/lib/x86_64-linux-gnu/nautilus/extensions-4";
  static constexpr const char* kUserModule = ".local/lib/nautilus/extensions-4/tessel-nautilus.so";

  // A model started now, with these favourites, and the window on it.
  void show(const Strings& favorites = {}) {
    start();
    addFavorites(favorites);
    view = std::make_unique<ContentView>(
        *model, ContentEnvironment{desktop,
                                   QString::fromStdString(platform.home),
                                   {QString::fromStdString(homePath(kUserModule)), kFilesFolder},
                                   [this] { return extensionInstalled; }});
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
  QStringList helpLines() const {
    QStringList lines;
    for (const QLabel* line : child<DisclosureGroup>("helpGroup")->findChildren<QLabel*>())
      lines.append(line->text());
    return lines;
  }
  // The favourites' rows as the next frame shows them, once the deletions queued are done.
  QList<QWidget*> rows() const {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return view->findChildren<QWidget*>(QStringLiteral("favoriteRow"));
  }
  QToolButton* rowButton(int row, const char* name) const {
    return rows().at(row)->findChild<QToolButton*>(QString::fromLatin1(name));
  }
  // Per row, whether up, down and remove are enabled.
  Strings buttonStates() const {
    Strings states;
    for (int row = 0; row < rows().size(); ++row) {
      states.emplace_back();
      for (const char* name : {"moveUpButton", "moveDownButton", "removeButton"})
        states.back() += rowButton(row, name)->isEnabled() ? '1' : '0';
    }
    return states;
  }
  void clearHistory() {
    child("clearHistoryButton")->click();
    view->footer()->confirmation()->findChild<QPushButton*>("confirmClearButton")->click();
  }

  bool extensionInstalled = false;
  std::unique_ptr<ContentView> view;
};

TEST_F(ContentViewTest, FavouriteRowsOfferOnlyTheMovesThatExistAndChangesAreStored) {
  show();
  EXPECT_TRUE(child<QWidget>("favoritesPlaceholder")->isVisible());
  addFavorites({"Archive"});
  EXPECT_EQ(rowButton(0, "moveUpButton")->accessibleName(), "Move Archive up");
  addFavorites({"Inbox", "Photos"});
  EXPECT_EQ(text("favoriteCount"), "3 folders");
  EXPECT_EQ(buttonStates(), (Strings{"011", "111", "101"}));
  rowButton(0, "moveDownButton")->click();
  EXPECT_EQ(model->settings().favorites.at(1).name, "Archive");
  rowButton(1, "removeButton")->click();
  EXPECT_EQ(storedSettings(), model->settings());
  EXPECT_TRUE(platform.fileExists(homePath("Archive")));
  EXPECT_EQ(buttonStates(), (Strings{"011", "101"}));
  // Nothing moves past the end, whatever calls for it.
  EXPECT_EQ(SettingsEdits::reordered(model->settings().favorites, 1, 1), std::nullopt);
}

TEST_F(ContentViewTest, AddedFoldersThePolicyAManualMoveAndAStoreBuildsSourceFoldersTakeEffect) {
  show();
  child("addFolderButton")->click();  // cancelled
  desktop.folderAnswer = fileUrl(temp.folder("home/Archive"));
  child("addFolderButton")->click();
  ASSERT_EQ(model->settings().favorites.size(), 1u);
  child<QComboBox>("policyChoice")->activated(2);
  EXPECT_EQ(storedSettings().policy, ConflictPolicy::cancel);

  // A move needs sources and a destination.
  QPushButton* move = child("moveButton");
  QComboBox* destinations = child<QComboBox>("destinationChoice");
  destinations->activated(0);
  EXPECT_TRUE(model->selectedDestination().isEmpty());
  desktop.itemsAnswer = QList<QUrl>{fileUrl(temp.file("home/report.pdf", "x"))};
  child("selectFilesButton")->click();
  EXPECT_EQ(text("selectedCount"), "1 selected");
  EXPECT_FALSE(move->isEnabled());
  destinations->activated(1);
  ASSERT_TRUE(move->isEnabled());
  move->click();
  ASSERT_TRUE(waitUntil([this] { return !model->busy(); }));
  EXPECT_TRUE(platform.fileExists(homePath("Archive/report.pdf")));

  // Source folders are listed, and removable, only in a store build.
  EXPECT_EQ(view->findChild<QWidget*>(QStringLiteral("sourceFolders")), nullptr);
  view.reset();
  platform.writeInfo(false);
  show();
  desktop.folderAnswer = fileUrl(temp.folder("home/Downloads"));
  child("addSourceFolderButton")->click();
  ASSERT_EQ(model->settings().roots.size(), 1u);
  EXPECT_EQ(model->settings().favorites.size(), 1u);
  view->findChild<QWidget*>(QStringLiteral("sourceFolderRow"))->findChild<QPushButton*>()->click();
  EXPECT_TRUE(storedSettings().roots.empty());
}

TEST_F(ContentViewTest, RecentDestinationsShowTheFirstTwentyInDisplayForm) {
  show();
  HostSettings settings = model->settings();
  for (int index = 0; index < 25; ++index)
    settings.recent.push_back(homePath("r" + std::to_string(index)));
  model->setSettings(settings);
  // Opened, the groups lay their paths out at the window's width.
  for (const char* group : {"manualMoveGroup", "recentGroup", "helpGroup"})
    child<DisclosureGroup>(group)->setExpanded(true);
  QCoreApplication::processEvents();
  const QList<PathLabel*> paths = view->findChildren<PathLabel*>(QStringLiteral("recentPath"));
  ASSERT_EQ(paths.size(), 20);
  EXPECT_EQ(paths[19]->fullText(), "~/r19");
  // The help says which form the folder hierarchy takes.
  EXPECT_TRUE(
      helpLines().contains("The folder hierarchy opens in a window when it has more "
                           "folders than the menu can show quickly."));
  for (const QString path : {"/home/a", "/home/ab/Archive"})
    EXPECT_EQ(displayPath(path, "/home/a"), path);
  EXPECT_EQ(displayPath("/home/a/", "/home/a"), "~/");
}

// Installed under a prefix such as ~/.local, the module is on disk but Files never loads it.
// The indicator, the help and the set-up dialog follow the module each time the window shows.
TEST_F(ContentViewTest, TheIndicatorHelpAndSetUpDialogSayWhereTheModuleIsAndWhetherFilesHasIt) {
  show();
  for (const auto& [moduleUnderPrefix, filesHasModule, indicator, headline, module] :
       std::vector<std::tuple<bool, bool, QString, QString, QString>>{
           {false, false, "Enable Files Extension", "Tessel’s module for Files is not installed.",
            "(not found)"},
           {true, false, "Enable Files Extension",
            "Tessel’s module is installed where Files cannot load it.",
            QString::fromStdString(homePath(kUserModule))},
           {true, true, "Available in Files", "Files has Tessel’s module.",
            QString::fromLatin1(kFilesFolder) + "/tessel-nautilus.so"}}) {
    SCOPED_TRACE(headline.toStdString());
    if (moduleUnderPrefix) temp.file(std::string("home/") + kUserModule);
    extensionInstalled = filesHasModule;
    view->hide();
    view->show();
    EXPECT_EQ(text("extensionIndicator"), indicator);
    EXPECT_EQ(child<QLabel>("enableExtensionHint")->isHidden(), filesHasModule);
    child("extensionSettingsButton")->click();
    QMessageBox* dialog = child<QMessageBox>("extensionSetup");
    EXPECT_EQ(dialog->text(), headline);
    EXPECT_TRUE(dialog->informativeText().contains(module));
    dialog->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(ContentViewTest, WhileBusyTheFooterButtonsAreOffAndAConfirmedClearingDoesNothing) {
  show({"Archive"});
  QPushButton* clear = child("clearHistoryButton");
  clear->click();
  ASSERT_TRUE(view->confirmDismiss());

  startHeldMove(temp.file("home/a.txt", "a"));
  EXPECT_FALSE(clear->isEnabled());
  EXPECT_TRUE(child<QWidget>("busyIndicator")->isVisible());
  view->footer()->confirmation()->findChild<QPushButton*>("confirmClearButton")->click();
  EXPECT_EQ(status(), "Moving…");
  ASSERT_TRUE(waitUntil([this] { return !view->confirmDismiss(); }));

  finishHeldMove();
  EXPECT_NE(journal().find("a.txt"), std::string::npos);
  clearHistory();
  EXPECT_EQ(status(), "Undo history cleared.");
  EXPECT_FALSE(platform.fileExists(support() + "/undo.json"));
}

TEST_F(ContentViewTest, EveryTextFollowsTheUsersLanguage) {
  ScopedLanguage japanese("ja");
  show({"Archive", "Inbox"});
  EXPECT_TRUE(helpLines().contains("フォルダが多いときは、階層をウィンドウで選べます。"));
  EXPECT_EQ(text("favoriteCount"), "2件");
  EXPECT_EQ(text("statusLine"), "準備完了");
  clearHistory();
  EXPECT_EQ(status(), "前の移動を確定しました。");
}

TEST(MountWatcherTest, EachMountAndUnmountIsReportedOnce) {
  MountWatcher watcher;
  ASSERT_TRUE(watcher.watching());
  int changes = 0;
  QObject::connect(&watcher, &MountWatcher::mountsChanged, [&] { ++changes; });
  TempFolder temp;
  const std::string point = temp.folder("volume");
  if (::mount("tessel-test", point.c_str(), "tmpfs", 0, "size=1m") != 0)
    GTEST_SKIP() << "cannot mount here";
  EXPECT_TRUE(waitUntil([&] { return changes == 1; }));
  ::umount(point.c_str());
  EXPECT_TRUE(waitUntil([&] { return changes == 2; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace tessel::testing
