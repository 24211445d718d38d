#include "application/TesselApp.h"

#include <QFileInfo>
#include <cstdio>

namespace tessel {

TesselApp::TesselApp(const LaunchCommand& launch, const QStringList& arguments,
                     TesselAppDesktop desktop, Platform& platform)
    : launch_(launch),
      desktop_(std::move(desktop)),
      platform_(platform),
      services_(arguments, presentation_) {}

// The window goes before the model it shows.
TesselApp::~TesselApp() {
  window_.reset();
  model_.reset();
}

void TesselApp::start() {
  services_.applicationWillFinishLaunching();
  services_.applicationDidFinishLaunching();

  model_ = std::make_unique<AppModel>(
      Desktop{desktop_.panel, presentation_, desktop_.folders, desktop_.notifier, chooser_},
      platform_);
  chooser_.attach(*model_);
  const FilesModule& module = desktop_.extensionModule;
  // Files has Tessel when its own folder holds the module, whichever installation put it there.
  const QString loaded = module.filesFolder + "/" + QFileInfo(module.installed).fileName();
  window_ = std::make_unique<MainWindow>(
      *model_, ContentEnvironment{desktop_.panel, QString::fromStdString(platform_.homeFolder()),
                                  module, [loaded] { return QFileInfo::exists(loaded); }});
  presentation_.addWindow(window_.get());

  // A background start never puts the window on the screen: it would only be taken away.
  if (!services_.backgroundLaunch) presentation_.showMainWindow();
  window_->content()->refreshExtensionEnabled();
  services_.contentAppeared(*model_);
  // The caller who started this host hears why nothing was received, as one who handed the
  // same command to a running host does. Why a request was not taken up is in the status line,
  // which this host logs already.
  const std::optional<QString> error = carryOut(launch_);
  if (error && launch_.service) std::fprintf(stderr, "tessel: %s\n", error->toUtf8().constData());
}

QByteArray TesselApp::receive(const LaunchCommand& command) {
  // Opening Tessel again while it runs, as the user does from the launcher.
  if (!command.background && command.urls.isEmpty() && !command.service) {
    services_.applicationShouldHandleReopen(presentation_.hasVisibleWindows());
    return {};
  }
  const std::optional<QString> error = carryOut(command);
  return error ? error->toUtf8() : QByteArray();
}

std::optional<QString> TesselApp::carryOut(const LaunchCommand& command) {
  if (command.service) {
    // A build distributed directly offers no Services entry, so nothing reaches it.
    if (!services_.servicesRegistered()) return std::nullopt;
    return services_.moveFiles(command.service->items, command.service->userData);
  }
  QStringList refusals;
  for (const QString& url : command.urls) {
    if (const std::optional<QString> refusal = services_.openURL(url)) refusals.append(*refusal);
  }
  if (refusals.isEmpty()) return std::nullopt;
  return refusals.join(QLatin1Char('\n'));
}

}  // namespace tessel
