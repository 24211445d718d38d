// What a right-click costs inside Dolphin: tessel-dolphin.so's actions for one selected file on
// the largest snapshot the host publishes (20 favourites over 400 folders, 20 recent
// destinations), asked of the plugin as KFileItemActions asks, in turns with the core's own
// buildMenu() on the same snapshot, the baseline. Each call is timed alone; the medians, the
// 99th percentiles (in microseconds) and the ratio of the medians are reported.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <KAbstractFileItemActionPlugin>
#include <KFileItem>
#include <KFileItemListProperties>
#include <KPluginFactory>
#include <KPluginMetaData>
#include <QAction>
#include <QApplication>

#include "BenchTiming.h"
#include "FinderSync.h"
#include "FullSnapshot.h"
#include "LinuxWorkspace.h"
#include "ModuleFinderController.h"
#include "container/SharedContainer.h"

namespace {

using namespace tessel;

// Dolphin's side: the plugin made by its factory, and the properties of the selected file.
struct DolphinMenu {
  DolphinMenu()
      : plugin(KPluginFactory::instantiatePlugin<KAbstractFileItemActionPlugin>(
                   KPluginMetaData(QStringLiteral(TESSEL_DOLPHIN_MODULE)))
                   .plugin) {
    if (!plugin) std::abort();
  }
  ~DolphinMenu() { delete plugin; }

  void actions() { benchmark::DoNotOptimize(plugin->actions(selected, nullptr)); }

  KAbstractFileItemActionPlugin* plugin;
  KFileItemListProperties selected{KFileItemList{
      KFileItem(QUrl::fromLocalFile(QStringLiteral("/home/user/Desktop/report.pdf")))}};
};

// The core as the plugin holds it, on the same snapshot, with nothing after buildMenu().
struct CoreMenu {
  void buildMenu() {
    ModuleFinderController::SelectionScope scope(finder, selection);
    benchmark::DoNotOptimize(sync.buildMenu());
  }

  ModuleFinderController finder;
  ModuleFinderController::Selection selection =
      std::make_shared<std::vector<std::string>>(1, "/home/user/Desktop/report.pdf");
  SilentNotificationCenter notifications;
  LinuxWorkspace workspace;
  FinderSync sync{finder, notifications, workspace, {SIZE_MAX, false}};
};

void BM_DolphinActionsFull(benchmark::State& state) {
  DolphinMenu dolphin;
  CoreMenu core;
  timeInTurns(
      state, [&] { dolphin.actions(); }, [&] { core.buildMenu(); },
      // The last menu's actions go when Dolphin's event loop runs again.
      [] { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); });
}
BENCHMARK(BM_DolphinActionsFull);

}  // namespace

int main(int argc, char** argv) {
  char pattern[] = "/tmp/tessel-bench-XXXXXX";
  const std::string data = ::mkdtemp(pattern);
  ::setenv("XDG_DATA_HOME", data.c_str(), 1);
  ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
  SharedContainer::publish(fullSnapshot());
  int result = 0;
  {
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
  }
  Platform::standard().removeItem(data);
  return result;
}
