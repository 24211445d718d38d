// What a right-click costs in a GTK 3 file manager's module (Nemo, Caja or Thunar, chosen by the
// build): the file manager asking the module, loaded as it loads it, for the menu of a selected
// file on the largest snapshot the host publishes, and freeing the items again. The baseline,
// timed in turns with it, is the extension core's own FinderSync::buildMenu() on the same
// snapshot with the module's row budget: the ratio is what the module adds to the core.
#include <stdlib.h>

#include "BenchTiming.h"
#include "FinderSync.h"
#include "FullSnapshot.h"
#include "LinuxWorkspace.h"
#include "PresetFinderController.h"
#include "TestFileInfo.h"
#include "container/SharedContainer.h"
#include TESSEL_BENCH_PROVIDER

namespace {

using namespace tessel;

// The module reads the snapshot where the environment says, as in the file manager.
struct ModuleEnvironment {
  ModuleEnvironment() {
    std::string pattern = "/tmp/tessel-bench-XXXXXX";
    folder = ::mkdtemp(pattern.data());
    ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    ::setenv("GIO_USE_VFS", "local", 1);
    ::setenv("TESSEL_HOST_EXECUTABLE", "/bin/true", 1);
    SharedContainer::publish(fullSnapshot());
  }
  ~ModuleEnvironment() { Platform::standard().removeItem(folder); }
  std::string folder;
};

void BM_ModuleMenuFullBesideBuildMenu(benchmark::State& state) {
  ModuleEnvironment environment;
  const std::string file = "/home/user/Desktop/report.pdf";
  GObject* provider = testing::Harness::newProvider();
  GList* files = g_list_append(nullptr, testing::fileInfoFor(file));

  PresetFinderController finder{std::vector<std::string>{file}};
  SilentNotificationCenter notifications;
  LinuxWorkspace workspace;
  FinderSync core{finder, notifications, workspace, TESSEL_BENCH_API::kMenuForm};

  timeInTurns(
      state,
      [&] {
        GList* items = testing::Harness::fileItems(provider, files);
        if (!items) state.SkipWithError("the module offered no menu");
        testing::Harness::freeItems(items);
      },
      [&] { benchmark::DoNotOptimize(core.buildMenu()); }, [] {});
  g_list_free_full(files, g_object_unref);
  g_object_unref(provider);
}
BENCHMARK(BM_ModuleMenuFullBesideBuildMenu);

}  // namespace

BENCHMARK_MAIN();
