// The application: owns the model, the window and the delegate for the life of the process,
// and routes what each start of `tessel` asks for.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <memory>

#include "application/LaunchCommand.h"
#include "application/MainWindow.h"
#include "application/Presentation.h"
#include "application/QtOpenPanel.h"
#include "application/TesselServices.h"
#include "model/AppModel.h"
#include "model/DBusSettingsNotifier.h"
#include "model/XdgFolderOpener.h"
#include "window/ChooserPresenter.h"
#include "window/ExtensionSetup.h"

namespace tessel {

struct TesselAppDesktop {
  OpenPanel& panel;
  FolderOpener& folders;
  SettingsNotifier& notifier;
  // This installation's GNOME Files module, and the folder Files loads modules from.
  FilesModule extensionModule;
};

class TesselApp : public QObject {
  Q_OBJECT

 public:
  TesselApp(const LaunchCommand& launch, const QStringList& arguments, TesselAppDesktop desktop,
            Platform& platform = Platform::standard());
  ~TesselApp() override;

  // Starts up: the delegate, the model and the window, then the launch's own command.
  void start();
  // A command that a later start of `tessel` or a bus call handed over. The reply is for that
  // caller: empty, or the reason the Services entry received nothing, or why a wake-up URL's
  // request was not taken up (one line per such URL).
  QByteArray receive(const LaunchCommand& command);

  AppModel& model() { return *model_; }
  MainWindow& window() { return *window_; }
  TesselServices& services() { return services_; }
  Presentation& presentation() { return presentation_; }

 private:
  std::optional<QString> carryOut(const LaunchCommand& command);

  LaunchCommand launch_;
  TesselAppDesktop desktop_;
  Platform& platform_;
  Presentation presentation_;
  TesselServices services_;
  ChooserPresenter chooser_;  // outlives the model, which asks it for the window
  std::unique_ptr<AppModel> model_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace tessel
