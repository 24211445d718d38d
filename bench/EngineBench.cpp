// Cost of the move engine on batches of 1,000 items, each figure beside baselines measured in
// the same iteration on the same kind of tree:
//   bare       the same renames done directly (renameat2), no checks and no journal;
//   old floor  what the engine's former protocol could not go below: a durable replace (write,
//              fsync, rename, fsync of the folder) of the whole journal before and after each
//              item's move (one after each item for an undo), at the sizes that protocol wrote.
// x_bare and x_old_floor are the engine's time over each; durable_writes and folder_syncs count
// what the engine made durable.
//
// Each iteration builds its trees under $TMPDIR (or /tmp) and syncs before timing, so that no
// earlier write is flushed inside a timed step.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "engine/MoveEngine.h"
#include "engine/MovePlanner.h"
#include "path/PathText.h"
#include "records/RecordCoding.h"

namespace {

using namespace tessel;
using Clock = std::chrono::steady_clock;

constexpr int kItems = 1000;

double secondsOf(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU time of this thread, system calls included: unlike wall time, it does not grow while
// other programs on a busy machine hold the processor.
double threadCpuSeconds() {
  timespec now;
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Counts what the engine makes durable.
class DurabilityCounter : public PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  void writeFileAtomically(const std::string& path, std::string_view bytes,
                           Durability durability) override {
    if (durability == Durability::durable) ++durableWrites;
    PlatformWrapper::writeFileAtomically(path, bytes, durability);
  }
  void syncFolder(const OpenFolder& folder) override {
    ++folderSyncs;
    PlatformWrapper::syncFolder(folder);
  }
  int durableWrites = 0;
  int folderSyncs = 0;
};

// A source folder of `count` files or folders (each folder holding one file), an empty
// destination and a journal path, removed at the end.
class BenchTree {
 public:
  BenchTree(bool folders, int count = kItems) {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tessel-bench-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root = pattern;
    sources = joinPath(root, "Sources");
    destination = joinPath(root, "Archive");
    journal = joinPath(root, "Support/undo.json");
    Platform& platform = Platform::standard();
    platform.createDirectories(destination, 0755);
    platform.createDirectories(sources, 0755);
    platform.createDirectories(parentPath(journal), 0755);
    for (int i = 0; i < count; ++i) {
      std::string item = joinPath(sources, "item " + std::to_string(i) + (folders ? "" : ".txt"));
      if (folders) {
        platform.createDirectories(item, 0755);
        platform.writeFileAtomically(joinPath(item, "inside.txt"), "content", Durability::atomic);
      } else {
        platform.writeFileAtomically(item, "content " + std::to_string(i), Durability::atomic);
      }
      items.push_back(std::move(item));
    }
    ::sync();
  }
  ~BenchTree() { Platform::standard().removeItem(root); }

  std::string root, sources, destination, journal;
  std::vector<std::string> items;
};

double bareRenames(const BenchTree& tree, bool back) {
  Platform& platform = Platform::standard();
  return secondsOf([&] {
    for (const std::string& item : tree.items) {
      const std::string moved = joinPath(tree.destination, lastComponent(item));
      back ? platform.moveItem(moved, item) : platform.moveItem(item, moved);
    }
  });
}

double durableReplaces(const std::string& folder, const std::vector<size_t>& sizes) {
  Platform& platform = Platform::standard();
  const std::string path = joinPath(folder, "floor.json");
  const std::string filler(*std::max_element(sizes.begin(), sizes.end()), 'x');
  ::sync();
  return secondsOf([&] {
    for (size_t size : sizes) {
      platform.writeFileAtomically(path, std::string_view(filler).substr(0, size),
                                   Durability::durable);
    }
  });
}

// The sizes of the journals the former protocol wrote for `journal`'s entries: for a move,
// each prefix with its last entry pending and then committed; for an undo, each shorter
// committed prefix.
std::vector<size_t> formerJournalSizes(const MoveJournal& journal, bool undo) {
  const size_t empty = encodeJson(MoveJournal{journal.id, journal.date, {}}).size();
  std::vector<size_t> prefix{empty};  // prefix[k]: the size with the first k entries committed
  for (MoveEntry entry : journal.entries) {
    entry.pending = false;
    prefix.push_back(prefix.back() + encodeJson(entry).size() + (prefix.size() > 1 ? 1 : 0));
  }
  std::vector<size_t> sizes;
  for (size_t k = 1; k < prefix.size(); ++k) {
    if (undo) {
      sizes.push_back(prefix[prefix.size() - 1 - k]);
    } else {
      sizes.push_back(prefix[k] - 1);  // "true" is one byte shorter than "false"
      sizes.push_back(prefix[k]);
    }
  }
  return sizes;
}

void report(benchmark::State& state, double engine, double bare, double oldFloor,
            const DurabilityCounter& counter) {
  state.SetIterationTime(engine);
  state.counters["bare_ms"] = bare * 1e3;
  state.counters["old_floor_ms"] = oldFloor * 1e3;
  state.counters["x_bare"] = engine / bare;
  state.counters["x_old_floor"] = engine / oldFloor;
  state.counters["durable_writes"] = counter.durableWrites;
  state.counters["folder_syncs"] = counter.folderSyncs;
}

MoveResult moveAll(MoveEngine& engine, const BenchTree& tree) {
  return engine.move(tree.items, tree.destination, {tree.sources}, {tree.destination},
                     ConflictPolicy::keepBoth);
}

// Arguments: whether the items are folders, and how many there are.
void BM_MoveItems(benchmark::State& state) {
  const bool folders = state.range(0) == 1;
  const int count = static_cast<int>(state.range(1));
  for (auto _ : state) {
    double engineTime = 0;
    DurabilityCounter counter(Platform::standard());
    MoveJournal written;
    {
      BenchTree tree(folders, count);
      MoveEngine engine(tree.journal, counter);
      engineTime = secondsOf([&] { moveAll(engine, tree); });
      written = engine.journal().value();
    }
    BenchTree tree(folders, count);
    const double bare = bareRenames(tree, false);
    report(state, engineTime, bare, durableReplaces(tree.root, formerJournalSizes(written, false)),
           counter);
  }
}
BENCHMARK(BM_MoveItems)
    ->ArgNames({"folders", "items"})
    ->Args({0, kItems})
    ->Args({1, kItems})
    ->Args({0, 1})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_UndoItems(benchmark::State& state) {
  const bool folders = state.range(0) == 1;
  for (auto _ : state) {
    BenchTree tree(folders);
    DurabilityCounter counter(Platform::standard());
    MoveEngine engine(tree.journal, counter);
    moveAll(engine, tree);
    const MoveJournal written = engine.journal().value();
    counter.durableWrites = counter.folderSyncs = 0;
    ::sync();
    const double engineTime = secondsOf([&] { engine.undo({tree.sources}, {tree.destination}); });
    bareRenames(tree, false);
    ::sync();
    const double bare = bareRenames(tree, true);
    report(state, engineTime, bare, durableReplaces(tree.root, formerJournalSizes(written, true)),
           counter);
  }
}
BENCHMARK(BM_UndoItems)
    ->ArgName("folders")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Every check of a 1,000-item batch, beside reading each item's attributes once. Both are
// timed in every iteration, in wall and in CPU time; the counters are the medians over the
// iterations.
void BM_ValidateItems(benchmark::State& state) {
  BenchTree tree(false);
  Platform& platform = Platform::standard();
  std::vector<double> engineTimes, statTimes, ratios, cpuRatios;
  for (auto _ : state) {
    double cpu = threadCpuSeconds();
    const double engineTime = secondsOf([&] {
      checkBatchSize(tree.items.size());
      const CheckedDestination destination =
          checkDestination(tree.destination, {tree.destination}, platform);
      benchmark::DoNotOptimize(
          planMoves(tree.items, {tree.sources}, destination, ConflictPolicy::keepBoth, platform));
    });
    const double engineCpu = threadCpuSeconds() - cpu;
    cpu = threadCpuSeconds();
    const double attributes = secondsOf([&] {
      for (const std::string& item : tree.items) {
        benchmark::DoNotOptimize(platform.attributesOfItem(item));
      }
    });
    const double statCpu = threadCpuSeconds() - cpu;
    state.SetIterationTime(engineTime);
    engineTimes.push_back(engineTime);
    statTimes.push_back(attributes);
    ratios.push_back(engineTime / attributes);
    cpuRatios.push_back(engineCpu / statCpu);
  }
  state.counters["validate_median_ms"] = median(engineTimes) * 1e3;
  state.counters["stat_median_ms"] = median(statTimes) * 1e3;
  state.counters["x_stat"] = median(ratios);
  state.counters["x_stat_cpu"] = median(cpuRatios);
}
BENCHMARK(BM_ValidateItems)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
