// What the model asks of the desktop, as small interfaces so that tests can stand in for the
// desktop. The real ones are Qt and the D-Bus session bus; the window layer supplies the panel,
// the windows and the chooser.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <optional>
#include <string>
#include <vector>

namespace tessel {

// Lets the user pick items. Both calls activate the application and block until the user
// answers; none means the user cancelled.
class OpenPanel {
 public:
  virtual ~OpenPanel() = default;
  // One folder; `prompt` is the confirm button's title.
  virtual std::optional<QUrl> chooseFolder(const QString& prompt) = 0;
  // Any number of files and folders, in the panel's order.
  virtual std::optional<QList<QUrl>> chooseItems() = 0;
};

// The application's windows.
class WindowPresenter {
 public:
  virtual ~WindowPresenter() = default;
  // Takes every visible window off the screen.
  virtual void hideVisibleWindows() = 0;
  // Activates the application and brings its first window that can take focus to the front.
  virtual void bringForward() = 0;
};

// Opens a folder in the user's file manager; false when it could not be asked to.
class FolderOpener {
 public:
  virtual ~FolderOpener() = default;
  virtual bool openFolder(const QString& path) = 0;
};

// Tells the file-manager extension that the menu snapshot changed.
class SettingsNotifier {
 public:
  virtual ~SettingsNotifier() = default;
  virtual void postSettingsChanged() = 0;
};

// Lets the user pick, in a window of the host's own, the folder that items from the file manager
// move into. Returns once the window is up; the move the user then picks goes through the
// model like any other.
class FolderChooser {
 public:
  virtual ~FolderChooser() = default;
  virtual void chooseDestination(const std::vector<std::string>& sources) = 0;
};

struct Desktop {
  OpenPanel& panel;
  WindowPresenter& windows;
  FolderOpener& folders;
  SettingsNotifier& notifier;
  FolderChooser& chooser;
};

}  // namespace tessel
