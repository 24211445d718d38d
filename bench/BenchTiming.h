// Single calls timed alone, for benchmarks that report the median and the 99th percentile of
// calls rather than Google Benchmark's mean.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace tessel {

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

// Times each call of `body` alone.
inline void timeEachCall(benchmark::State& state, const std::function<void()>& body) {
  std::vector<double> micros;
  for (auto _ : state) micros.push_back(microsOf(body));
  report(state, std::move(micros), "");
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
