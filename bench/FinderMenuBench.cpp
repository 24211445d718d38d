// What a right-click costs: FinderSync::buildMenu() on the largest snapshot the host publishes
// (20 favourites over 400 folders, 20 recent destinations), unchanged and right after each
// publication, and on the empty one, beside the
// bare read and decoding of the same "menu.json" as the baseline. Each call is timed alone so
// that the median and the 99th percentile of single menus are reported (in microseconds).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>

#include "FinderSync.h"
#include "LinuxWorkspace.h"
#include "PresetFinderController.h"
#include "container/SharedContainer.h"
#include "path/PathText.h"
#include "records/RecordCoding.h"

namespace {

using namespace tessel;

// The real platform with the data folder in a temporary folder of its own.
class BenchPlatform final : public PlatformWrapper {
 public:
  BenchPlatform() : PlatformWrapper(Platform::standard()) {
    std::string pattern = "/tmp/tessel-bench-XXXXXX";
    folder_ = ::mkdtemp(pattern.data());
  }
  ~BenchPlatform() override { Platform::standard().removeItem(folder_); }

  std::optional<std::string> environment(const std::string& name) override {
    if (name == "XDG_DATA_HOME") return folder_;
    return PlatformWrapper::environment(name);
  }

 private:
  std::string folder_;
};

// Each favourite holds 4 folders with 4 sub-folders each: 20 folders a favourite, 400 in all.
MenuSnapshot fullSnapshot() {
  MenuSnapshot snapshot;
  snapshot.roots = {"/home/user", "/media/user/Backup"};
  for (int f = 0; f < 20; ++f) {
    const std::string path = "/home/user/Favourite " + std::to_string(f);
    MenuDestination favourite{"Favourite " + std::to_string(f), path, {}};
    for (int c = 0; c < 4; ++c) {
      const std::string child = path + "/Projekt – 書類 " + std::to_string(c);
      MenuDestination folder{"Projekt – 書類 " + std::to_string(c), child, {}};
      for (int g = 0; g < 4; ++g) {
        folder.children.push_back(
            {"Jahr " + std::to_string(2020 + g), child + "/Jahr " + std::to_string(2020 + g), {}});
      }
      favourite.children.push_back(std::move(folder));
    }
    snapshot.recent.push_back(f % 2 ? favourite.children[0]
                                    : MenuDestination{favourite.name, path, {}});
    snapshot.favorites.push_back(std::move(favourite));
  }
  return snapshot;
}

// Times each call of `body` alone, after an untimed `prepare`, and reports the median and the
// 99th percentile.
template <class Body, class Prepare = void (*)()>
void timeEachCall(
    benchmark::State& state, Body body, Prepare prepare = [] {}) {
  std::vector<double> micros;
  for (auto _ : state) {
    state.PauseTiming();
    prepare();
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    body();
    micros.push_back(
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(micros.begin(), micros.end());
  state.counters["median_us"] = micros[micros.size() / 2];
  state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}

void buildMenu(benchmark::State& state, const MenuSnapshot& snapshot, bool republish = false) {
  BenchPlatform platform;
  SharedContainer::publish(snapshot, platform);
  PresetFinderController finder(std::vector<std::string>{"/home/user/Desktop/report.pdf"});
  SilentNotificationCenter notifications;
  LinuxWorkspace workspace;
  FinderSync finderSync(finder, notifications, workspace, platform);
  timeEachCall(
      state, [&] { benchmark::DoNotOptimize(finderSync.buildMenu()); },
      [&] {
        if (republish) SharedContainer::publish(snapshot, platform);
      });
}

void BM_BuildMenuFull(benchmark::State& state) {
  buildMenu(state, fullSnapshot());
}
BENCHMARK(BM_BuildMenuFull);

// The first menu after the host published again: the snapshot is read and decoded anew.
void BM_BuildMenuFullAfterPublication(benchmark::State& state) {
  buildMenu(state, fullSnapshot(), true);
}
BENCHMARK(BM_BuildMenuFullAfterPublication);

void BM_BuildMenuEmpty(benchmark::State& state) {
  buildMenu(state, MenuSnapshot{});
}
BENCHMARK(BM_BuildMenuEmpty);

// Baseline: reading and decoding the full "menu.json", nothing else; of the same file again and
// again, and right after each publication, as the menu after a publication reads it.
void readAndDecode(benchmark::State& state, bool republish) {
  BenchPlatform platform;
  const MenuSnapshot snapshot = fullSnapshot();
  SharedContainer::publish(snapshot, platform);
  const std::string path = joinPath(SharedContainer::url(platform), "menu.json");
  timeEachCall(
      state, [&] { benchmark::DoNotOptimize(decodeJson<MenuSnapshot>(platform.readFile(path))); },
      [&] {
        if (republish) SharedContainer::publish(snapshot, platform);
      });
}

void BM_BaselineReadAndDecodeFullSnapshot(benchmark::State& state) {
  readAndDecode(state, false);
}
BENCHMARK(BM_BaselineReadAndDecodeFullSnapshot);

void BM_BaselineReadAndDecodeAfterPublication(benchmark::State& state) {
  readAndDecode(state, true);
}
BENCHMARK(BM_BaselineReadAndDecodeAfterPublication);

}  // namespace
