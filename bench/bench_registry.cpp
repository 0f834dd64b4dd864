// Cost of the registry's lookups over one screen's worth of objects (the
// demo has about a hundred): the fast path when the wanted object is
// current, a hit at the far end of the window's group, a miss that scans
// everything, and registering plus removing a whole screen.
//
// The objects are registered without gadgets, so only the registry itself
// is timed.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "framework/framework.h"

using namespace zui;

namespace {

std::vector<std::string> names(int n) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back("ObjectNumber" + std::to_string(i));
  return out;
}

void fill(Ui& ui, const std::vector<std::string>& all) {
  new_window_record(ui, "Main", 0, 0, 800, 600, "", 0);
  for (const std::string& n : all) register_object(ui, n, Kind::Label, 0, 0, 10, 10, "");
}

void BM_FindCurrent(benchmark::State& state) {
  Ui ui;
  const auto all = names(int(state.range(0)));
  fill(ui, all);
  find_object(ui, all.front(), 0);
  for (auto _ : state) benchmark::DoNotOptimize(find_object(ui, all.front(), 0));
}
BENCHMARK(BM_FindCurrent)->Arg(100);

void BM_FindLastOfWindow(benchmark::State& state) {
  Ui ui;
  const auto all = names(int(state.range(0)));
  fill(ui, all);
  for (auto _ : state) {
    find_object(ui, all.front(), 0);
    benchmark::DoNotOptimize(find_object(ui, all.back(), 0));
  }
}
BENCHMARK(BM_FindLastOfWindow)->Arg(100)->Arg(1000);

void BM_FindMissing(benchmark::State& state) {
  Ui ui;
  const auto all = names(int(state.range(0)));
  fill(ui, all);
  for (auto _ : state) benchmark::DoNotOptimize(find_object(ui, "NoSuchObject", 0));
}
BENCHMARK(BM_FindMissing)->Arg(100)->Arg(1000);

void BM_RegisterAndRemoveScreen(benchmark::State& state) {
  const auto all = names(int(state.range(0)));
  for (auto _ : state) {
    Ui ui;
    fill(ui, all);
    for (const std::string& n : all) free_object(ui, n);
    benchmark::DoNotOptimize(ui.count);
  }
}
BENCHMARK(BM_RegisterAndRemoveScreen)->Arg(100);

}  // namespace

BENCHMARK_MAIN();
