// The host's state and everything it does: the settings and folder grants, the menu snapshot
// it publishes for the file-manager extension, and the moves, undos and requests it carries
// out. Lives on the GUI thread and is touched only there. Whatever may wait on the disk runs on
// a worker and its outcome comes back as a queued call: engine moves and undos and the
// settings writes on "Tessel.moves", the folder walk and publication of the menu on
// "Tessel.menu", so a favourite on a slow or hung mount never freezes the window.
//
// Every outcome ends in the one status line, `status`; failures never escape an operation
// (except openFolder, whose caller shows the message).
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "engine/MoveEngine.h"
#include "model/Desktop.h"
#include "model/FolderAccess.h"
#include "model/HostSettings.h"
#include "model/SerialWorker.h"
#include "model/SettingsStore.h"
#include "platform/Platform.h"
#include "records/Records.h"
#include "request/HostRequest.h"

namespace tessel {

class AppModel : public QObject {
  Q_OBJECT
  Q_PROPERTY(tessel::HostSettings settings READ settings WRITE setSettings NOTIFY settingsChanged)
  Q_PROPERTY(QString status READ status WRITE setStatus NOTIFY statusChanged)
  Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
  Q_PROPERTY(bool extensionEnabled READ extensionEnabled WRITE setExtensionEnabled NOTIFY
                 extensionEnabledChanged)
  Q_PROPERTY(QList<QUrl> selectedSources READ selectedSources WRITE setSelectedSources NOTIFY
                 selectedSourcesChanged)
  Q_PROPERTY(QString selectedDestination READ selectedDestination WRITE setSelectedDestination
                 NOTIFY selectedDestinationChanged)

 public:
  // Receives true when a move or undo went through completely; runs once, on the GUI thread.
  using Completion = std::function<void(bool)>;

  // Starts the host: makes the support folder (migrating a sandboxed build's files once in a
  // direct build), loads the settings, opens the grants and publishes the menu. Never fails;
  // a failure stops the start-up where it happened and shows in `status`.
  explicit AppModel(Desktop desktop, Platform& platform = Platform::standard(),
                    QObject* parent = nullptr);
  // Waits for a running move or undo to finish; its outcome is then dropped.
  ~AppModel() override;

  const HostSettings& settings() const { return settings_; }
  // Replaces the settings in memory; saveSettings() stores them.
  void setSettings(const HostSettings& settings);
  const QString& status() const { return status_; }
  void setStatus(const QString& status);
  bool busy() const { return busy_; }
  bool extensionEnabled() const { return extensionEnabled_; }
  void setExtensionEnabled(bool enabled);
  const QList<QUrl>& selectedSources() const { return selectedSources_; }
  void setSelectedSources(const QList<QUrl>& sources);
  const QString& selectedDestination() const { return selectedDestination_; }
  void setSelectedDestination(const QString& destination);

  bool direct() const { return access_.direct(); }
  const std::string& supportFolder() const { return store_.supportFolder(); }
  // For the window's "Clear Undo History"; the engine serialises its own calls.
  MoveEngine& engine() { return engine_; }
  // False while a settings write or a menu publication has been started and not finished.
  bool settled() const { return unfinishedWrites_ == 0; }

  // Settings and grants.
  void reopenScopes();
  std::string resolveGrant(const FolderGrant& grant) const;
  const std::vector<std::string>& retainedScopes() const { return access_.retainedScopes(); }
  // Stores the settings in the background, then reopens the grants and refreshes the menu; a
  // failure shows in `status`.
  void saveSettings();
  // Adds the picked folder as a favourite (true) or a source folder (false); a folder already
  // in that list only gets a renewed bookmark.
  void addFolder(const QUrl& url, bool favorite);
  void addSourceFolder();

  // Builds and publishes a new menu snapshot in the background and tells the extension. Of
  // several refreshes in a row only the newest publishes.
  void refreshMenu();
  // The snapshot this model last published, kept so a window can show it without reading the
  // file; empty until the first publication is back. menuPublished() says when it changes.
  const MenuSnapshot& publishedMenu() const { return publishedMenu_; }

  // Requests and operations.
  // Carries out the stored request a wake-up URL names; any other URL is ignored. Returns the
  // reason when the host did not take the request up: it could not be consumed, its move or
  // undo could not start, its folder could not be opened, or its operation is unknown. None
  // once it was taken up (a move or undo runs, whose outcome comes later; a folder was opened)
  // or when the URL was ignored.
  std::optional<QString> handleURL(const QString& url);
  // Both return the reason they could not start (also in the status line, except for an undo
  // while busy, which leaves it alone); none once the work is on the worker.
  std::optional<QString> move(const std::vector<std::string>& sources,
                              const std::string& destination, bool hierarchical,
                              Completion completion = {});
  std::optional<QString> undoLastMove(Completion completion = {});
  // How many moves have moved at least one item so far. A move that skipped or stopped part-way
  // reports false to its completion although items moved; comparing this before and after
  // tells such a move from one that moved nothing.
  std::uint64_t movesThatMovedItems() const { return movesThatMovedItems_; }
  // Opens a folder inside a favourite in the file manager. Throws TesselError when it is
  // outside every favourite, gone, or the file manager cannot be asked.
  void openFolder(const QString& path);
  void acceptServiceSources(const QList<QUrl>& items);
  void chooseSourceFiles();
  // Shows the window when a request that came from the file manager did not go through.
  void revealOnFailure(bool ok);

 signals:
  void settingsChanged();
  void statusChanged();
  void busyChanged();
  void extensionEnabledChanged();
  void selectedSourcesChanged();
  void selectedDestinationChanged();
  void menuPublished();

 private:
  void start();
  // The stored settings; an undecodable file is copied aside before the error is thrown.
  std::optional<HostSettings> loadSettings();
  void setStatusText(const std::string& text);
  void setBusy(bool busy);
  // The engine's source roots for a move with these service roots, or an undo.
  std::vector<std::string> sourceRoots(const std::vector<std::string>& extraRoots) const;
  // Runs `job` on the worker while `busy` is set; back on this thread, `finish` takes its
  // result and says whether the operation went through completely. A job that threw shows
  // its error in the status line.
  template <class T>
  void runEngineJob(std::function<T()> job, std::function<bool(const T&)> finish,
                    const Completion& completion);
  // The move's result in the status line and, when something moved, in the recent list.
  bool finishMove(const MoveResult& result, const std::string& destination,
                  const std::vector<std::string>& moveServiceRoots);
  std::optional<QString> carryOut(const HostRequest& request);
  // Ends an operation that cannot start: the reason goes to the status line and is returned.
  QString refuse(const std::string& reason, const Completion& completion);
  // Walks and publishes the menu of the current settings unless `generation` is overtaken.
  void publishMenu(std::uint64_t generation);

  Desktop desktop_;
  Platform& platform_;
  HostSettings settings_;
  QString status_;
  bool busy_ = false;
  bool extensionEnabled_ = false;
  QList<QUrl> selectedSources_;
  QString selectedDestination_;
  MenuSnapshot publishedMenu_;
  std::uint64_t movesThatMovedItems_ = 0;

  SettingsStore store_;
  FolderAccess access_;
  MoveEngine engine_;
  // Canonical paths of the items last received through Services; empty when none wait.
  std::set<std::string> serviceSourcePaths_;
  // The service roots of the last move that moved something: extra source roots for undo.
  std::vector<std::string> lastServiceRoots_;
  int unfinishedWrites_ = 0;
  // The number of the newest refreshMenu(); a walk that finds it changed publishes nothing.
  std::atomic<std::uint64_t> newestMenu_ = 0;
  // Declared last: their threads stop first, while everything a job touches still exists.
  SerialWorker worker_{QStringLiteral("Tessel.moves")};
  SerialWorker menuWorker_{QStringLiteral("Tessel.menu")};
};

}  // namespace tessel
