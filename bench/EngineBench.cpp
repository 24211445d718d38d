// Cost of the move engine on batches of 1,000 items, each figure beside baselines measured in
// the same iteration on the same kind of tree:
//   bare   the same renames done directly (renameat2), no checks and no journal;
//   floor  the journal protocol alone: as many durable replaces (write, fsync, rename, fsync
//          of the folder) as the engine made, of files of exactly the sizes it wrote.
// x_bare and x_floor are the engine's time over each. For moving files, three more figures tell
// whether rewriting the whole journal on every step matters: floor_flat, the same number of
// durable replaces all of the first (one-entry) size; encode, producing the bytes of every
// journal the batch wrote as the engine does (each entry encoded once, in one buffer); and
// reencode, encoding each of those journals afresh, as a plain whole-file rewrite would.
//
// Each iteration builds its trees under $TMPDIR (or /tmp) and syncs before timing, so that no
// earlier write is flushed inside a timed step.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "engine/JournalText.h"
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

// Remembers the size of every journal the engine writes.
class WriteSizeRecorder : public PlatformWrapper {
 public:
  using PlatformWrapper::PlatformWrapper;
  void writeFileAtomically(const std::string& path, std::string_view bytes,
                           Durability durability) override {
    sizes.push_back(bytes.size());
    PlatformWrapper::writeFileAtomically(path, bytes, durability);
  }
  std::vector<size_t> sizes;
};

// A source folder of kItems files or folders (each folder holding one file), an empty
// destination and a journal path, removed at the end.
class BenchTree {
 public:
  explicit BenchTree(bool folders) {
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
    for (int i = 0; i < kItems; ++i) {
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

void report(benchmark::State& state, double engine, double bare, double floor) {
  state.SetIterationTime(engine);
  state.counters["bare_ms"] = bare * 1e3;
  state.counters["floor_ms"] = floor * 1e3;
  state.counters["x_bare"] = engine / bare;
  state.counters["x_floor"] = engine / floor;
}

MoveResult moveAll(MoveEngine& engine, const BenchTree& tree) {
  return engine.move(tree.items, tree.destination, {tree.sources}, {tree.destination},
                     ConflictPolicy::keepBoth);
}

void BM_MoveItems(benchmark::State& state) {
  const bool folders = state.range(0) == 1;
  for (auto _ : state) {
    double engineTime = 0;
    WriteSizeRecorder recorder(Platform::standard());
    MoveJournal written;
    {
      BenchTree tree(folders);
      MoveEngine engine(tree.journal, recorder);
      engineTime = secondsOf([&] { moveAll(engine, tree); });
      written = engine.journal().value();
    }
    BenchTree tree(folders);
    const double bare = bareRenames(tree, false);
    const double floor = durableReplaces(tree.root, recorder.sizes);
    report(state, engineTime, bare, floor);
    if (folders) continue;

    const std::vector<size_t> flat(recorder.sizes.size(), recorder.sizes.front());
    state.counters["floor_flat_ms"] = durableReplaces(tree.root, flat) * 1e3;
    state.counters["encode_ms"] = 1e3 * secondsOf([&] {
                                    JournalText text(MoveJournal{written.id, written.date, {}});
                                    for (MoveEntry entry : written.entries) {
                                      entry.pending = true;
                                      text.push(entry);
                                      benchmark::DoNotOptimize(text.bytes());
                                      entry.pending = false;
                                      text.replaceLast(entry);
                                      benchmark::DoNotOptimize(text.bytes());
                                    }
                                  });
    state.counters["reencode_ms"] = 1e3 * secondsOf([&] {
                                      MoveJournal growing{written.id, written.date, {}};
                                      for (const MoveEntry& entry : written.entries) {
                                        growing.entries.push_back(entry);
                                        benchmark::DoNotOptimize(encodeJson(growing));
                                        benchmark::DoNotOptimize(encodeJson(growing));
                                      }
                                    });
  }
}
BENCHMARK(BM_MoveItems)
    ->ArgName("folders")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_UndoItems(benchmark::State& state) {
  for (auto _ : state) {
    BenchTree tree(false);
    WriteSizeRecorder recorder(Platform::standard());
    MoveEngine engine(tree.journal, recorder);
    moveAll(engine, tree);
    recorder.sizes.clear();
    ::sync();
    const double engineTime = secondsOf([&] { engine.undo({tree.sources}, {tree.destination}); });
    bareRenames(tree, false);
    ::sync();
    const double bare = bareRenames(tree, true);
    report(state, engineTime, bare, durableReplaces(tree.root, recorder.sizes));
  }
}
BENCHMARK(BM_UndoItems)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

// Every check of a 1,000-item batch, beside reading each item's attributes once.
void BM_ValidateItems(benchmark::State& state) {
  BenchTree tree(false);
  Platform& platform = Platform::standard();
  for (auto _ : state) {
    const double engineTime = secondsOf([&] {
      checkBatchSize(tree.items.size());
      const CheckedDestination destination =
          checkDestination(tree.destination, {tree.destination}, platform);
      benchmark::DoNotOptimize(
          planMoves(tree.items, {tree.sources}, destination, ConflictPolicy::keepBoth, platform));
    });
    const double attributes = secondsOf([&] {
      for (const std::string& item : tree.items) {
        benchmark::DoNotOptimize(platform.attributesOfItem(item));
      }
    });
    state.SetIterationTime(engineTime);
    state.counters["stat_ms"] = attributes * 1e3;
    state.counters["x_stat"] = engineTime / attributes;
  }
}
BENCHMARK(BM_ValidateItems)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
