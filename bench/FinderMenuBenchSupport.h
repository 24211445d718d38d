// What the menu benchmarks share: a data folder of their own, the largest snapshot the host
// publishes, and timing single calls alone or in turns with a baseline.
#pragma once

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "records/Records.h"

namespace tessel {

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
inline MenuSnapshot fullSnapshot() {
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

inline double microsOf(const std::function<void()>& body) {
  const auto start = std::chrono::steady_clock::now();
  body();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
      .count();
}

// Reports the median and the 99th percentile of `micros` as `<prefix>median_us` and
// `<prefix>p99_us`, and returns the median.
inline double report(benchmark::State& state, std::vector<double> micros,
                     const std::string& prefix) {
  std::sort(micros.begin(), micros.end());
  const double median = micros[micros.size() / 2];
  state.counters[prefix + "median_us"] = median;
  state.counters[prefix + "p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
  return median;
}

// Times `body` and `baseline` in turns, each call alone after an untimed `prepare`: both meet
// the machine in the same state, so the ratio of their medians holds still when the machine's
// load moves, where two benchmarks run one after the other would not.
inline void timeInTurns(benchmark::State& state, const std::function<void()>& body,
                        const std::function<void()>& baseline,
                        const std::function<void()>& prepare) {
  const auto afterPrepare = [&](const std::function<void()>& call) {
    state.PauseTiming();
    prepare();
    state.ResumeTiming();
    return microsOf(call);
  };
  std::vector<double> bodyMicros;
  std::vector<double> baselineMicros;
  for (auto _ : state) {
    bodyMicros.push_back(afterPrepare(body));
    baselineMicros.push_back(afterPrepare(baseline));
  }
  const double median = report(state, std::move(bodyMicros), "");
  state.counters["ratio"] = median / report(state, std::move(baselineMicros), "baseline_");
}

}  // namespace tessel
