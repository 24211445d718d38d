// Cost of the host's refreshMenu on two large trees, beside the bare cost of listing the very
// folders that refreshMenu listed, measured in the same run:
//   - one favourite with 10,000 sub-folders;
//   - 20 favourites, each a tree four folders wide and five levels deep.
// The counters show how many folders were listed and how many the tree holds: the walk must
// stop at the 400-folder budget, not visit the whole tree.
// Also the GUI thread's longest stall while a favourite's listing hangs for five seconds (a
// network mount that stopped answering), beside the same stall with no hang.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "NoDesktop.h"
#include "model/AppModel.h"
#include "model/FolderBookmark.h"
#include "path/PathText.h"
#include "records/RecordCoding.h"

namespace {

using namespace tessel;

// The real platform with the home and data folders moved into the benchmark's own folder,
// recording every folder it lists.
class ListingPlatform final : public PlatformWrapper {
 public:
  explicit ListingPlatform(std::string root)
      : PlatformWrapper(Platform::standard()), root_(std::move(root)) {}

  std::optional<std::string> environment(const std::string& name) override {
    if (name == "XDG_DATA_HOME") return joinPath(root_, "data");
    return PlatformWrapper::environment(name);
  }
  std::string homeFolder() override { return joinPath(root_, "home"); }
  std::vector<DirectoryEntry> contentsOfDirectory(const std::string& path) override {
    listed.push_back(path);
    if (path == hanging) std::this_thread::sleep_for(hang.load());
    return PlatformWrapper::contentsOfDirectory(path);
  }

  std::vector<std::string> listed;
  std::string hanging;  // a folder whose listing takes `hang`
  std::atomic<std::chrono::milliseconds> hang{};

 private:
  std::string root_;
};

// Makes `width` sub-folders in `folder`, and below each the same again, `levels` deep; returns
// how many folders it made.
int makeTree(const std::string& folder, int width, int levels) {
  if (levels == 0) return 0;
  int made = 0;
  for (int i = 1; i <= width; ++i) {
    const std::string child = joinPath(folder, "Folder " + std::to_string(i));
    Platform::standard().createDirectories(child);
    made += 1 + makeTree(child, width, levels - 1);
  }
  return made;
}

// A home folder with the favourites' trees and the settings naming them, removed at the end.
class Scenario {
 public:
  Scenario(int favorites, int width, int levels) {
    char pattern[] = "/tmp/tessel-bench-XXXXXX";
    root_ = ::mkdtemp(pattern);
    platform = std::make_unique<ListingPlatform>(root_);
    HostSettings settings;
    for (int f = 1; f <= favorites; ++f) {
      const std::string favorite = joinPath(root_, "home/Favorite " + std::to_string(f));
      Platform::standard().createDirectories(favorite);
      foldersInTree += makeTree(favorite, width, levels);
      settings.favorites.push_back(
          FolderGrant::make(favorite, FolderBookmark::create(favorite, Platform::standard())));
    }
    const std::string support = joinPath(root_, "data/Tessel");
    Platform::standard().createDirectories(support);
    Platform::standard().writeFileAtomically(joinPath(support, "settings.json"),
                                             encodeJson(settings), Durability::atomic);
    model = std::make_unique<AppModel>(Desktop{desktop_, desktop_, desktop_, desktop_, desktop_},
                                       *platform);
  }
  ~Scenario() {
    model.reset();
    Platform::standard().removeItem(root_);
  }

  // Publishes the menu and waits for the publication, running the event loop.
  void refreshMenu() {
    model->refreshMenu();
    while (!model->settled()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }

  // The folders one refreshMenu lists.
  std::vector<std::string> foldersListedByRefresh() {
    platform->listed.clear();
    refreshMenu();
    return platform->listed;
  }

  // The longest time the GUI thread went without running its event loop, from the refresh
  // until the menu is published, in milliseconds: a 10 ms timer measures the gaps.
  double longestStallDuringRefresh() {
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
      longest = std::max(longest, clock.elapsed() - last);
      last = clock.elapsed();
    });
    ticks.start(10);
    clock.start();
    refreshMenu();
    longest = std::max(longest, clock.elapsed() - last);
    return static_cast<double>(longest);
  }

  std::string firstFavorite() const { return joinPath(root_, "home/Favorite 1"); }

  std::unique_ptr<ListingPlatform> platform;
  std::unique_ptr<AppModel> model;
  int foldersInTree = 0;

 private:
  std::string root_;
  NoDesktop desktop_;
};

Scenario& wideFavorite() {
  static Scenario scenario(1, 10'000, 1);
  return scenario;
}

Scenario& twentyDeepFavorites() {
  static Scenario scenario(20, 4, 5);
  return scenario;
}

void refreshMenu(benchmark::State& state, Scenario& scenario) {
  const size_t listed = scenario.foldersListedByRefresh().size();
  for (auto _ : state) scenario.refreshMenu();
  state.counters["folders_listed"] = static_cast<double>(listed);
  state.counters["folders_in_tree"] = scenario.foldersInTree;
}

void listSameFolders(benchmark::State& state, Scenario& scenario) {
  const std::vector<std::string> folders = scenario.foldersListedByRefresh();
  for (auto _ : state) {
    for (const std::string& folder : folders) {
      benchmark::DoNotOptimize(Platform::standard().contentsOfDirectory(folder));
    }
  }
  state.counters["folders_listed"] = static_cast<double>(folders.size());
}

void BM_RefreshMenu_Wide(benchmark::State& state) {
  refreshMenu(state, wideFavorite());
}
void BM_ListSameFolders_Wide(benchmark::State& state) {
  listSameFolders(state, wideFavorite());
}
void BM_RefreshMenu_TwentyDeep(benchmark::State& state) {
  refreshMenu(state, twentyDeepFavorites());
}
void BM_ListSameFolders_TwentyDeep(benchmark::State& state) {
  listSameFolders(state, twentyDeepFavorites());
}
// One refresh a repetition; the counter is the figure, the time only says how long it took.
void guiStall(benchmark::State& state, std::chrono::milliseconds hang) {
  Scenario& scenario = twentyDeepFavorites();
  scenario.platform->hanging = scenario.firstFavorite();
  scenario.platform->hang = hang;
  double stall = 0;
  for (auto _ : state) stall = scenario.longestStallDuringRefresh();
  scenario.platform->hang = std::chrono::milliseconds{};
  state.counters["longest_gui_stall_ms"] = stall;
}

void BM_GuiStall_ListingHangsFiveSeconds(benchmark::State& state) {
  guiStall(state, std::chrono::seconds(5));
}
void BM_GuiStall_Baseline_NoHang(benchmark::State& state) {
  guiStall(state, std::chrono::milliseconds{});
}

BENCHMARK(BM_RefreshMenu_Wide)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListSameFolders_Wide)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshMenu_TwentyDeep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListSameFolders_TwentyDeep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuiStall_ListingHangsFiveSeconds)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GuiStall_Baseline_NoHang)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // The model is a QObject with a worker thread: it wants an application object.
  QCoreApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
