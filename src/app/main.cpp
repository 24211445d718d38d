// `tessel`, the host: one per user session. A start that finds a host running hands its
// command over and ends; otherwise this process becomes the host, takes its name on the
// session bus, and keeps running, with or without its window, until the user quits it.
#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QIcon>

#include <cstdio>
#include <string>

#include "application/ApplicationBus.h"
#include "application/LaunchCommandLine.h"
#include "application/QtOpenPanel.h"
#include "application/SingleInstance.h"
#include "application/TerminationSignals.h"
#include "application/TesselApp.h"
#include "core/Localization.h"
#include "model/DBusSettingsNotifier.h"
#include "model/SettingsStore.h"
#include "model/XdgFolderOpener.h"
#include "window/ThemeIcons.h"

namespace {

using namespace tessel;

// Without a display the host still carries out requests; it just has no window to show.
void useOffscreenWithoutDisplay() {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
      qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
}

// Hands the command to the running host; none when this process has become the host.
std::optional<int> handOver(SingleInstance& instance, const LaunchCommand& command) {
  try {
    const SingleInstance::HandOver handed = instance.handOver(command.encode());
    switch (handed.outcome) {
      case SingleInstance::HandOver::Outcome::becameHost:
        return std::nullopt;
      case SingleInstance::HandOver::Outcome::unanswered:
        std::fprintf(stderr, "tessel: %s\n",
                     localizedText("動いているTesselがまだ応答しません。応答すると実行します。",
                                   "The running Tessel has not answered yet; it will carry this "
                                   "out when it does.")
                         .c_str());
        return 0;
      case SingleInstance::HandOver::Outcome::answered:
        if (!handed.reply.isEmpty()) std::fprintf(stderr, "tessel: %s\n", handed.reply.constData());
        return 0;
    }
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tessel: %s\n", error.what());
    return 1;
  }
}

// The caller's folder as bytes, for relative FILE paths.
QByteArray currentFolder() {
  std::string folder(4096, '\0');
  if (::getcwd(folder.data(), folder.size()) == nullptr) return "/";
  return QByteArray(folder.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  QByteArrayList rawArguments;
  for (int index = 0; index < argc; ++index) rawArguments.append(argv[index]);
  const LaunchCommandLine line = LaunchCommandLine::read(rawArguments, currentFolder());
  std::fputs(line.standardOutput.constData(), stdout);
  std::fputs(line.standardError.constData(), stderr);
  if (!line.command) return line.exitStatus;
  const LaunchCommand& command = *line.command;
  QStringList arguments;
  for (int index = 1; index < argc; ++index) arguments.append(QString::fromLocal8Bit(argv[index]));

  SettingsStore store(Platform::standard());
  SingleInstance instance(QString::fromStdString(store.supportFolder()));
  if (!instance.claim()) {
    if (const std::optional<int> status = handOver(instance, command)) return *status;
  }

  useOffscreenWithoutDisplay();
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tessel"));
  QGuiApplication::setDesktopFileName(QStringLiteral("com.quillmark.Tessel"));
  QApplication::setQuitOnLastWindowClosed(false);
  TerminationSignals termination;
  ThemeIcons::useFallbackTheme();
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/tessel.svg")));

  QtOpenPanel panel;
  XdgFolderOpener folders;
  DBusSettingsNotifier notifier;
  // The module lies where this installation put it, relative to this program, whatever the prefix.
  const FilesModule module{
      QDir::cleanPath(QCoreApplication::applicationDirPath() +
                      QStringLiteral("/" TESSEL_PROGRAM_TO_MODULE "/tessel-nautilus.so")),
      QStringLiteral(TESSEL_FILES_EXTENSION_DIR)};
  TesselApp tessel(command, arguments, {panel, folders, notifier, module});
  instance.listen([&tessel](const QByteArray& message) {
    const std::optional<LaunchCommand> handed = LaunchCommand::decode(message);
    return handed ? tessel.receive(*handed) : QByteArray();
  });
  tessel.start();
  // Only the holder of the lock takes the name, so whichever way a caller reaches the host,
  // it reaches the one that writes the journal.
  ApplicationBus bus([&tessel](const LaunchCommand& handed) { return tessel.receive(handed); });
  bus.publish();
  return application.exec();
}
