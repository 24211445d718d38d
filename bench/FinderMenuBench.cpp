// What a right-click costs: FinderSync::buildMenu() on the largest snapshot the host publishes
// (20 favourites over 400 folders, 20 recent destinations), unchanged and right after each
// publication, and on the empty one. The baseline is the bare read and decoding of the same
// "menu.json": again and again beside the unchanged snapshot's menu, and in turns with the
// menu after each publication. Each call is timed alone so that the median and the 99th
// percentile of single calls are reported (in microseconds).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "FinderMenuBenchSupport.h"
#include "FinderSync.h"
#include "LinuxWorkspace.h"
#include "PresetFinderController.h"
#include "container/SharedContainer.h"
#include "path/PathText.h"
#include "records/RecordCoding.h"

namespace {

using namespace tessel;

// Times each call of `body` alone.
void timeEachCall(benchmark::State& state, const std::function<void()>& body) {
  std::vector<double> micros;
  for (auto _ : state) micros.push_back(microsOf(body));
  report(state, std::move(micros), "");
}

// A published snapshot and the extension core that reads it, as in Files.
struct PublishedMenu {
  explicit PublishedMenu(MenuSnapshot published) : snapshot(std::move(published)) { publish(); }

  void publish() { SharedContainer::publish(snapshot, platform); }
  void buildMenu() { benchmark::DoNotOptimize(finderSync.buildMenu()); }
  // The baseline: reading and decoding "menu.json", nothing else.
  void readAndDecode() {
    benchmark::DoNotOptimize(decodeJson<MenuSnapshot>(platform.readFile(path)));
  }

  BenchPlatform platform;
  MenuSnapshot snapshot;
  std::string path = joinPath(SharedContainer::url(platform), "menu.json");
  PresetFinderController finder{std::vector<std::string>{"/home/user/Desktop/report.pdf"}};
  SilentNotificationCenter notifications;
  LinuxWorkspace workspace;
  FinderSync finderSync{finder, notifications, workspace, {}, platform};
};

// The same file again and again: the kept snapshot serves every menu.
void BM_BuildMenuFull(benchmark::State& state) {
  PublishedMenu menu(fullSnapshot());
  timeEachCall(state, [&] { menu.buildMenu(); });
}
BENCHMARK(BM_BuildMenuFull);

// The first menu after the host published again: the snapshot is read and decoded anew.
void BM_BuildMenuFullAfterPublication(benchmark::State& state) {
  PublishedMenu menu(fullSnapshot());
  timeInTurns(
      state, [&] { menu.buildMenu(); }, [&] { menu.readAndDecode(); }, [&] { menu.publish(); });
}
BENCHMARK(BM_BuildMenuFullAfterPublication);

// Baseline of the unchanged snapshot's menu, run beside it: reading and decoding the same file
// again and again, what a menu on an unchanged snapshot no longer does.
void BM_BaselineReadAndDecodeFullSnapshot(benchmark::State& state) {
  PublishedMenu menu(fullSnapshot());
  timeEachCall(state, [&] { menu.readAndDecode(); });
}
BENCHMARK(BM_BaselineReadAndDecodeFullSnapshot);

void BM_BuildMenuEmpty(benchmark::State& state) {
  PublishedMenu menu(MenuSnapshot{});
  timeEachCall(state, [&] { menu.buildMenu(); });
}
BENCHMARK(BM_BuildMenuEmpty);

}  // namespace
