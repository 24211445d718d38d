// Cost of Tessel's record coding on the largest menu snapshot the host publishes (20
// favourites sharing 400 folders, 20 recent destinations), beside the bare nlohmann parse of
// the same bytes as the baseline.
#include <benchmark/benchmark.h>

#include "records/RecordCoding.h"

namespace {

using namespace tessel;

MenuSnapshot fullSnapshot() {
  MenuSnapshot snapshot;
  snapshot.roots = {"/home/user", "/Users/Shared", "/media/user/Backup"};
  for (int f = 0; f < 20; ++f) {
    const std::string path = "/home/user/Favourite " + std::to_string(f);
    MenuDestination favourite{"Favourite " + std::to_string(f), path, {}};
    for (int c = 0; c < 20; ++c) {
      const std::string child = path + "/Projekt – 書類 " + std::to_string(c);
      favourite.children.push_back({"Projekt – 書類 " + std::to_string(c), child, {}});
    }
    snapshot.favorites.push_back(std::move(favourite));
    snapshot.recent.push_back({"Recent " + std::to_string(f), path + "/recent", {}});
  }
  return snapshot;
}

void BM_EncodeSnapshot(benchmark::State& state) {
  const MenuSnapshot snapshot = fullSnapshot();
  for (auto _ : state) benchmark::DoNotOptimize(encodeJson(snapshot));
}
BENCHMARK(BM_EncodeSnapshot);

void BM_DecodeSnapshot(benchmark::State& state) {
  const std::string bytes = encodeJson(fullSnapshot());
  for (auto _ : state) benchmark::DoNotOptimize(decodeJson<MenuSnapshot>(bytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_DecodeSnapshot);

// Baseline: parsing the same bytes into a generic JSON tree, without reading any record.
void BM_BaselineParseOnly(benchmark::State& state) {
  const std::string bytes = encodeJson(fullSnapshot());
  for (auto _ : state) benchmark::DoNotOptimize(nlohmann::json::parse(bytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_BaselineParseOnly);

}  // namespace
