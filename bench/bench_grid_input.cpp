// Input side of a large grid: cursor moves with and without drawing, mouse
// hits and the expander animation step, on 100,000 rows × 8 columns.
//
//   cmake -S . -B build-rel -DCMAKE_BUILD_TYPE=Release && cmake --build build-rel --target bench_grid_input
//   QT_QPA_PLATFORM=offscreen build-rel/bench_grid_input
//
// Shapes: "flat" (no tree), "open tree" (every row under row 0, opened),
// "collapsed" (a parent every 10 rows, each collapsed over its 9 children).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "app/app.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

// The grid object named "Grid".
NamedObject& grid_object(Ui& ui) {
  find_object(ui, "Grid", 0);
  return *current_object(ui);
}

constexpr int32_t kRows = 100000;
constexpr int32_t kColumns = 8;

enum class Shape { Flat, OpenTree, Collapsed };

struct BigGrid {
  Ui ui;
  int32_t source = 0;

  explicit BigGrid(Shape shape) {
    WindowRecord* w = new_window_record(ui, "Main", 0, 0, 1024, 710, "", 0);
    w->handle = 77;
    source = tk_create_image(-1, 350, 40);
    create_grid(ui, "Grid", 6, 200, 700, 400, source, 20, "");
    set_attribute(ui, "Grid", "REDRAW", "0", 0);
    for (int32_t c = 0; c < kColumns; ++c)
      add_column(ui, "Grid", -1, "Column " + std::to_string(c), 90, 1, 0, 0, "", 0);
    for (int32_t r = 0; r < kRows; ++r) {
      int8_t level = 0;
      if (shape == Shape::OpenTree) level = r > 0 ? 1 : 0;
      if (shape == Shape::Collapsed) level = r % 10 == 0 ? 0 : 1;
      add_row(ui, "Grid", -1, "", 20, level, "R" + std::to_string(r) + "\nsecond", "", 0);
    }
    if (shape == Shape::OpenTree) record().rows[0].isParent = 16;
    set_attribute(ui, "Grid", "PERMANENTCURSOR", "1", 0);
    set_attribute(ui, "Grid", "REDRAW", "1", 1);
  }
  ~BigGrid() { tk_free_image(source); }

  GridRecord& record() {
    find_object(ui, "Grid", 0);
    return *grid_record(*current_object(ui));
  }
};

BigGrid& grid(Shape shape) {
  static BigGrid* grids[3] = {};
  BigGrid*& g = grids[static_cast<int>(shape)];
  if (!g) g = new BigGrid(shape);
  return *g;
}

// Down moves from the middle of the shown rows; the cursor is put back
// every 200 moves (untimed). Without drawing when `draw` is false.
void moves(benchmark::State& state, Shape shape, int32_t key, bool draw) {
  BigGrid& g = grid(shape);
  auto reset = [&] {
    set_attribute(g.ui, "Grid", "REDRAW", "1", 0);
    set_attribute(g.ui, "Grid", "SCROLLY", shape == Shape::Collapsed ? "1600" : "16000", 0);
    set_cursor(g.ui, "Grid", 0, 16000, 1);
    if (!draw) set_attribute(g.ui, "Grid", "REDRAW", "0", 0);
  };
  reset();
  int32_t n = 0;
  for (auto _ : state) {
    grid_key(g.ui, grid_object(g.ui), key);
    if (++n == 200) {
      state.PauseTiming();
      reset();
      n = 0;
      state.ResumeTiming();
    }
  }
  set_attribute(g.ui, "Grid", "REDRAW", "1", 0);
}

void BM_DownFlat(benchmark::State& s) { moves(s, Shape::Flat, GridKey::Down, true); }
void BM_DownFlatNoDrawing(benchmark::State& s) { moves(s, Shape::Flat, GridKey::Down, false); }
void BM_PageDownFlat(benchmark::State& s) { moves(s, Shape::Flat, GridKey::PageDown, true); }
// Up from the first drawn row scrolls above the walk anchor, so the shown
// rows are walked from row 0 again.
void BM_UpFlat(benchmark::State& s) { moves(s, Shape::Flat, GridKey::Up, true); }
void BM_UpFlatNoDrawing(benchmark::State& s) { moves(s, Shape::Flat, GridKey::Up, false); }
void BM_DownOpenTree(benchmark::State& s) { moves(s, Shape::OpenTree, GridKey::Down, true); }
void BM_DownCollapsed(benchmark::State& s) { moves(s, Shape::Collapsed, GridKey::Down, true); }
void BM_PageDownCollapsed(benchmark::State& s) {
  moves(s, Shape::Collapsed, GridKey::PageDown, true);
}
BENCHMARK(BM_DownFlat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DownFlatNoDrawing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDownFlat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpFlat)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpFlatNoDrawing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DownOpenTree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DownCollapsed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PageDownCollapsed)->Unit(benchmark::kMicrosecond);

// The mouse resting over a cell (no click) with 16,000 rows scrolled away:
// nothing changes, so nothing is drawn.
void BM_MouseRestingOverCell(benchmark::State& state) {
  BigGrid& g = grid(Shape::Flat);
  set_attribute(g.ui, "Grid", "SCROLLY", "16000", 1);
  grid_mouse(g.ui, grid_object(g.ui), 6 + 200, 200 + 200, -1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(grid_mouse(g.ui, grid_object(g.ui), 6 + 200, 200 + 200, -1));
  }
}
BENCHMARK(BM_MouseRestingOverCell)->Unit(benchmark::kMicrosecond);

// One animation step with one expander turning among 10,000 parents; the
// clock stands still, so the step is not due and nothing is drawn.
int32_t g_clock = 0;
int32_t still_clock() { return g_clock; }

void BM_StepExpandersAmongTenThousandParents(benchmark::State& state) {
  BigGrid& g = grid(Shape::Collapsed);
  g.ui.clock = still_clock;
  toggle_expander(g.record(), 0, 0);
  g.record().cells[0].expander->lastStep = g_clock;
  for (auto _ : state) {
    step_expanders(g.ui, grid_object(g.ui));
  }
  state.counters["active"] = static_cast<double>(g.record().activeExpanders.size());
  toggle_expander(g.record(), 0, 0);
  g.ui.clock = nullptr;
}
BENCHMARK(BM_StepExpandersAmongTenThousandParents)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  init_toolkit();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
