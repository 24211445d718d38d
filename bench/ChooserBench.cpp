// What the chooser window costs where the user waits for it, on the largest snapshot the host
// publishes (20 favourites over 400 folders, 20 recent destinations), each beside a baseline
// measured in the same run:
//   - one keystroke in the search field: the filter alone (narrowing, finding the first hit,
//     walking the rows a tree shows), and the whole window's answer (that, the tree's layout
//     and a repaint of the window); the baseline is a plain case-insensitive contains over the
//     same 420 names;
//   - the window built with the snapshot and shown until the tree has painted on its exposed
//     window (Qt's offscreen platform), beside an empty widget shown the same way;
//   - a "choose" request from its arrival at the host (handleURL) until the chooser's tree has
//     painted, on a host whose favourites are real folders of that shape with the menu
//     published, beside the window alone built from a snapshot in memory (the case above).
// The counters give the median and the 95th percentile of single keystrokes or windows, in
// milliseconds.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QApplication>
#include <QLineEdit>
#include <QTreeView>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>

#include "NoDesktop.h"
#include "container/SharedContainer.h"
#include "model/AppModel.h"
#include "model/ChooserTree.h"
#include "model/FolderBookmark.h"
#include "model/FolderFilter.h"
#include "records/RecordCoding.h"
#include "request/HostAddress.h"
#include "request/HostRequest.h"
#include "window/ChooserPresenter.h"
#include "window/ChooserWindow.h"

namespace {

using namespace tessel;

const char* const kNames[] = {"Projekt ", "写真 ", "Reports ", "ｶﾀﾛｸﾞ ", "Ａｒｃｈｉｖｅ "};

// Each favourite holds 5 folders, each the top of a chain three folders deeper: 20 folders a
// favourite, four levels, 400 in all. The recent destinations are one folder of each.
MenuSnapshot fullSnapshot(const std::string& home = "/home/user") {
  MenuSnapshot snapshot;
  snapshot.roots = {home};
  int number = 0;
  for (int f = 0; f < 20; ++f) {
    const std::string name = "Favourite " + std::to_string(f);
    MenuDestination favourite{name, home + "/" + name, {}};
    for (int c = 0; c < 5; ++c) {
      std::vector<MenuDestination>* level = &favourite.children;
      std::string parent = favourite.path;
      for (int depth = 1; depth <= 4; ++depth, ++number) {
        const std::string child = kNames[number % 5] + std::to_string(number);
        parent += "/" + child;
        level->push_back({child, parent, {}});
        level = &level->back().children;
      }
    }
    snapshot.recent.push_back(favourite.children[static_cast<size_t>(f % 5)]);
    snapshot.recent.back().children.clear();
    snapshot.favorites.push_back(std::move(favourite));
  }
  return snapshot;
}

// What a user types, one keystroke at a time, in turn.
const QStringList& keystrokes() {
  static const QStringList texts{
      "p",        "pr",        "pro",        "proj", "proje", "projek", "projekt",
      "projekt ", "projekt 1", "projekt 12", "写",   "写真",  "写真 3", "ｶ",
      "カタ",     "re",        "rep",        "a",    "ar",    "arc",    ""};
  return texts;
}

class Timings {
 public:
  void time(const std::function<void()>& body) {
    const auto start = std::chrono::steady_clock::now();
    body();
    millis_.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  void report(benchmark::State& state) {
    std::sort(millis_.begin(), millis_.end());
    state.counters["median_ms"] = millis_[millis_.size() / 2];
    state.counters["p95_ms"] = millis_[std::min(millis_.size() - 1, millis_.size() * 95 / 100)];
  }

 private:
  std::vector<double> millis_;
};

// Times `keystroke` with each text in turn, one text an iteration.
void eachKeystroke(benchmark::State& state, const std::function<void(const QString&)>& keystroke) {
  Timings timings;
  qsizetype next = 0;
  for (auto _ : state) {
    const QString& typed = keystrokes()[next++ % keystrokes().size()];
    timings.time([&] { keystroke(typed); });
  }
  timings.report(state);
}

int rowsShown(const QAbstractItemModel& model, const QModelIndex& parent = {}) {
  int rows = model.rowCount(parent);
  for (int row = 0; row < model.rowCount(parent); ++row)
    rows += rowsShown(model, model.index(row, 0, parent));
  return rows;
}

void BM_Keystroke_Baseline_PlainContains(benchmark::State& state) {
  QStringList names;
  const std::function<void(const MenuDestination&)> collect = [&](const MenuDestination& folder) {
    names.push_back(QString::fromStdString(folder.name));
    for (const MenuDestination& child : folder.children) collect(child);
  };
  const MenuSnapshot snapshot = fullSnapshot();
  for (const MenuDestination& folder : snapshot.favorites) collect(folder);
  for (const MenuDestination& folder : snapshot.recent) collect(folder);
  eachKeystroke(state, [&](const QString& typed) {
    benchmark::DoNotOptimize(std::count_if(names.begin(), names.end(), [&](const QString& name) {
      return name.contains(typed, Qt::CaseInsensitive);
    }));
  });
  state.counters["names"] = static_cast<double>(names.size());
}

void BM_Keystroke_Filter(benchmark::State& state) {
  ChooserTree tree(QStringLiteral("Recent"));
  tree.setSnapshot(fullSnapshot());
  FolderFilter filter(tree);
  eachKeystroke(state, [&](const QString& typed) {
    filter.setText(typed);
    benchmark::DoNotOptimize(filter.firstHit());
    benchmark::DoNotOptimize(rowsShown(filter));
  });
}

void BM_Keystroke_Window(benchmark::State& state) {
  ChooserWindow window({"/home/user/a.txt"}, fullSnapshot(), [](auto&&...) {});
  window.show();
  while (!window.windowHandle()->isExposed()) QApplication::processEvents();
  auto* search = window.findChild<QLineEdit*>(QStringLiteral("folderSearch"));
  eachKeystroke(state, [&](const QString& typed) {
    search->setText(typed);
    window.repaint();
  });
}

// Notes that a widget has painted.
class PaintWatch : public QObject {
 public:
  bool painted = false;

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

// Shows the widget `make` builds and runs the event loop until the part of it that `make`
// names has painted on the exposed window; the widget is destroyed untimed.
template <typename Make>
void showUntilPainted(benchmark::State& state, Make make) {
  Timings timings;
  for (auto _ : state) {
    std::unique_ptr<QWidget> widget;
    PaintWatch watch;
    timings.time([&] {
      QWidget* painted = nullptr;
      widget = make(painted);
      painted->installEventFilter(&watch);
      widget->show();
      while (!watch.painted || !widget->windowHandle()->isExposed()) QApplication::processEvents();
    });
    state.PauseTiming();
    widget.reset();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  timings.report(state);
}

void BM_Shown_Baseline_EmptyWidget(benchmark::State& state) {
  showUntilPainted(state, [](QWidget*& painted) {
    auto widget = std::make_unique<QWidget>();
    widget->resize(440, 520);
    painted = widget.get();
    return widget;
  });
}

void BM_Shown_Chooser(benchmark::State& state) {
  const MenuSnapshot snapshot = fullSnapshot();
  showUntilPainted(state, [&](QWidget*& painted) -> std::unique_ptr<QWidget> {
    auto window = std::make_unique<ChooserWindow>(
        std::vector<std::string>{"/home/user/a.txt", "/home/user/b.txt"}, snapshot,
        [](auto&&...) {});
    painted = window->findChild<QTreeView*>(QStringLiteral("folderTree"))->viewport();
    return window;
  });
}

// Settings whose favourites and recent destinations are fullSnapshot()'s, made as folders below
// `home`.
HostSettings fullSettings(const std::string& home, Platform& platform) {
  const MenuSnapshot shape = fullSnapshot(home);
  const std::function<void(const MenuDestination&)> make = [&](const MenuDestination& folder) {
    platform.createDirectories(folder.path);
    for (const MenuDestination& child : folder.children) make(child);
  };
  HostSettings settings;
  for (const MenuDestination& favourite : shape.favorites) {
    make(favourite);
    settings.favorites.push_back(
        FolderGrant::make(favourite.path, FolderBookmark::create(favourite.path, platform)));
  }
  for (const MenuDestination& recent : shape.recent) settings.recent.push_back(recent.path);
  return settings;
}

void BM_Request_Chooser(benchmark::State& state) {
  char pattern[] = "/tmp/tessel-bench-XXXXXX";
  const std::string root = ::mkdtemp(pattern);
  ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  Platform& platform = Platform::standard();
  platform.createDirectories(root + "/data/Tessel");
  platform.writeFileAtomically(root + "/data/Tessel/settings.json",
                               encodeJson(fullSettings(root + "/home", platform)),
                               Durability::atomic);
  const std::string item = root + "/home/a.txt";
  platform.writeFileAtomically(item, "a", Durability::atomic);
  {
    NoDesktop none;
    ChooserPresenter chooser;
    AppModel model(Desktop{none, none, none, none, chooser});
    chooser.attach(model);
    while (!model.settled()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    state.counters["published"] = static_cast<double>(model.publishedMenu().favorites.size());
    Timings timings;
    for (auto _ : state) {
      state.PauseTiming();
      const MoveRequest request = storedRequest(HostRequest{HostRequest::Choose{{item}}}, platform);
      SharedContainer::enqueue(request, platform);
      const QString url = QString::fromStdString(HostAddress::wakeUpUrl(request.id));
      PaintWatch watch;
      state.ResumeTiming();
      timings.time([&] {
        model.handleURL(url);
        ChooserWindow* window = chooser.window();
        window->findChild<QTreeView*>(QStringLiteral("folderTree"))
            ->viewport()
            ->installEventFilter(&watch);
        while (!watch.painted || !window->windowHandle()->isExposed())
          QApplication::processEvents();
      });
      state.PauseTiming();
      chooser.window()->reject();
      QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
      state.ResumeTiming();
    }
    timings.report(state);
  }
  platform.removeItem(root);
}

BENCHMARK(BM_Keystroke_Baseline_PlainContains)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Keystroke_Filter)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Keystroke_Window)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Shown_Baseline_EmptyWidget)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Shown_Chooser)->Iterations(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Request_Chooser)->Iterations(100)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
