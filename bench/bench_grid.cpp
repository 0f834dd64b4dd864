// The grid at scale: 100,000 rows × 8 columns, or as many rows as
// ZUI_BENCH_ROWS says (scripts/bench runs a million too).
//
// Sections: measuring helpers · our grid · the peer (a tree view over an
// item model with the same data and viewport) · benchmarks · summary.
//
// Measured: building with REDRAW off (flat, and a tree with every row under
// one parent), one drawing of a 700 × 400 grid at the top, the middle and
// the last scroll position, Down, Shift+Down and Ctrl+End moves including
// their drawing (the peer's Down, Page Down and Ctrl+End with its drawing),
// an idle dispatch over a screen holding the grid, and peak memory (VmHWM
// after a reset, against VmRSS before) in all and per cell. The summary at
// the end prints our figures next to the peer's as ratios.
//
// The BM_Source* benchmarks measure a grid over a data source
// (grid/grid_source.h) of ZUI_BENCH_SOURCE_ROWS rows (1,000,000 unless
// set; scripts/bench runs 10,000,000 too) whose texts are made when asked,
// against a QTreeView over a QAbstractTableModel that makes them the same
// way: the same drawings and moves, and the memory of the grid or view
// built and drawn once.
#include <benchmark/benchmark.h>

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTreeView>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_source.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

// The grid object named "Grid".
NamedObject& grid_object(Ui& ui) {
  find_object(ui, "Grid", 0);
  return *current_object(ui);
}

// Rows of every grid built here: ZUI_BENCH_ROWS, else 100,000.
int32_t rows_wanted() {
  const char* wanted = std::getenv("ZUI_BENCH_ROWS");
  const long n = wanted ? std::atol(wanted) : 0;
  return n > 0 && n < 50000000 ? static_cast<int32_t>(n) : 100000;
}
const int32_t kRows = rows_wanted();
constexpr int32_t kColumns = 8;
constexpr int16_t kWidth = 700;
constexpr int16_t kHeight = 400;
// Where the drawings are measured: the top, the middle, and the last
// position, where the last page shows.
const char* const kPositions[] = {"top", "middle", "last"};

// ---- measuring helpers ---------------------------------------------------------

using Clock = std::chrono::steady_clock;

// Last measured figure per name (milliseconds or megabytes), for the summary.
std::map<std::string, double>& figures() {
  static std::map<std::string, double> map;
  return map;
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"); 0 when unreadable.
long status_kb(const std::string& field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.compare(0, field.size() + 1, field + ":") == 0) return std::stol(line.substr(field.size() + 1));
  return 0;
}

// Resets the process's peak RSS to the current RSS (Linux "clear_refs" 5).
void reset_peak() {
  std::ofstream out("/proc/self/clear_refs");
  out << "5";
}

// "R<row>C<column>", written straight into `out`: both builds make their
// texts this way, so neither pays for the other's string handling.
void append_cell_text(std::string& out, int32_t row, int32_t column) {
  char buffer[32];
  buffer[0] = 'R';
  char* end = std::to_chars(buffer + 1, buffer + 16, row).ptr;
  *end++ = 'C';
  end = std::to_chars(end, buffer + sizeof buffer, column).ptr;
  out.append(buffer, end);
}

std::string cell_text(int32_t row, int32_t column) {
  std::string text;
  append_cell_text(text, row, column);
  return text;
}

std::string row_texts(int32_t row) {
  std::string texts;
  texts.reserve(16 * kColumns);
  for (int32_t c = 0; c < kColumns; ++c) {
    if (c) texts += '\n';
    append_cell_text(texts, row, c);
  }
  return texts;
}

// The grid source image: 350 × 40 of flat tiles, like the skin piece.
int32_t make_source() {
  const int32_t image = tk_create_image(-1, 350, 40);
  tk_start_drawing(tk_image_output(image));
  for (int k = 0; k < 18; ++k) {
    tk_draw_box(k * 20, 0, 20, 20, tk_pack_colour(40 + k * 10, 90, 200 - k * 8));
    tk_draw_box(k * 20, 20, 20, 20, tk_pack_colour(200, 20 + k * 10, 60));
  }
  tk_stop_drawing();
  return image;
}

// ---- our grid ------------------------------------------------------------------

struct OurGrid {
  Ui ui;
  int32_t source = 0;

  explicit OurGrid(bool tree) {
    WindowRecord* w = new_window_record(ui, "Main", 0, 0, 1024, 710, "", 0);
    w->handle = 77;
    source = make_source();
    create_grid(ui, "Grid", 6, 200, kWidth, kHeight, source, 20, "");
    set_attribute(ui, "Grid", "REDRAW", "0", 0);
    for (int32_t c = 0; c < kColumns; ++c)
      add_column(ui, "Grid", -1, "Column " + std::to_string(c), 90, 1, c % 3, 0, "", 0);
    for (int32_t r = 0; r < kRows; ++r)
      add_row(ui, "Grid", -1, "", 20, (tree && r > 0) ? 1 : 0, row_texts(r), "", 0);
  }
  ~OurGrid() { tk_free_image(source); }

  void finish() {
    set_attribute(ui, "Grid", "PERMANENTCURSOR", "1", 0);
    set_attribute(ui, "Grid", "REDRAW", "1", 1);
  }
  GridRecord& record() {
    find_object(ui, "Grid", 0);
    return *grid_record(*current_object(ui));
  }
};

OurGrid& shared_flat() {
  static OurGrid* grid = [] {
    auto* g = new OurGrid(false);
    g->finish();
    return g;
  }();
  return *grid;
}

OurGrid& shared_tree() {
  static OurGrid* grid = [] {
    auto* g = new OurGrid(true);
    g->finish();
    set_row_attribute(g->ui, "Grid", 0, "ISPARENT", "16", 1);  // open
    return g;
  }();
  return *grid;
}

// ---- the peer --------------------------------------------------------------------

struct Peer {
  QStandardItemModel model;
  QTreeView view;

  explicit Peer(bool tree) {
    model.setColumnCount(kColumns);
    QStringList headers;
    for (int c = 0; c < kColumns; ++c) headers << QStringLiteral("Column %1").arg(c);
    model.setHorizontalHeaderLabels(headers);
    auto row_items = [](int32_t r) {
      QList<QStandardItem*> items;
      items.reserve(kColumns);
      for (int c = 0; c < kColumns; ++c)
        items << new QStandardItem(QString::fromStdString(cell_text(r, c)));
      return items;
    };
    if (tree) {
      QList<QStandardItem*> parent = row_items(0);
      model.appendRow(parent);
      for (int32_t r = 1; r < kRows; ++r) parent.first()->appendRow(row_items(r));
    } else {
      for (int32_t r = 0; r < kRows; ++r) model.appendRow(row_items(r));
    }
    view.setUniformRowHeights(true);
    view.setModel(&model);
    for (int c = 0; c < kColumns; ++c) view.setColumnWidth(c, 90);
    view.resize(kWidth, kHeight);
    if (tree) view.expandAll();
  }

  void scroll_to(int32_t row) { view.verticalScrollBar()->setValue(row); }
  void paint(QImage& image) { view.render(&image); }
};

Peer& shared_peer() {
  static Peer* peer = [] {
    auto* p = new Peer(false);
    p->view.show();
    QApplication::processEvents();
    return p;
  }();
  return *peer;
}

// ---- benchmarks --------------------------------------------------------------------

// Peak and kept memory of one build, in MB.
template <typename Build>
void run_memory(benchmark::State& state, const std::string& name, Build build) {
  for (auto _ : state) {
    const long before = status_kb("VmRSS");
    reset_peak();
    auto built = build();
    const long peak = status_kb("VmHWM");
    const long kept = status_kb("VmRSS");
    state.counters["peak_MB"] = (peak - before) / 1024.0;
    state.counters["kept_MB"] = (kept - before) / 1024.0;
    figures()[name + " peak (MB)"] = (peak - before) / 1024.0;
    figures()[name + " kept (MB)"] = (kept - before) / 1024.0;
    state.counters["peak_B_per_cell"] = (peak - before) * 1024.0 / (static_cast<double>(kRows) * kColumns);
  }
}

// The laid-out text cache filled to its bound with cell-like texts: what
// it holds then, in MB and per text. Measured at the first fill only: later
// fills reuse the memory the emptied cache gave back.
void BM_TextCacheAtBound(benchmark::State& state) {
  static const long grown = [] {
    const int32_t bound = tk_text_cache_limit(0);
    tk_text_cache_limit(bound);  // empty
    const int32_t canvas = tk_create_image(-1, 100, 20);
    const long before = status_kb("VmRSS");
    tk_start_drawing(tk_image_output(canvas));
    for (int32_t i = 0; i < bound; ++i) tk_draw_text(0, 0, "cell " + std::to_string(i * 7919));
    tk_stop_drawing();
    const long kb = status_kb("VmRSS") - before;
    tk_free_image(canvas);
    return kb;
  }();
  const int32_t bound = tk_text_cache_limit(0);
  tk_text_cache_limit(bound);
  for (auto _ : state) benchmark::DoNotOptimize(grown);
  state.counters["cache_MB"] = grown / 1024.0;
  state.counters["B_per_text"] = grown * 1024.0 / bound;
}
BENCHMARK(BM_TextCacheAtBound)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MemoryFlat(benchmark::State& state) {
  run_memory(state, "memory flat", [] { return std::make_unique<OurGrid>(false); });
}
BENCHMARK(BM_MemoryFlat)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_PeerMemoryFlat(benchmark::State& state) {
  run_memory(state, "peer memory flat", [] { return std::make_unique<Peer>(false); });
}
BENCHMARK(BM_PeerMemoryFlat)->Iterations(1)->Unit(benchmark::kMillisecond);

template <typename Build>
void run_build(benchmark::State& state, const std::string& name, Build build) {
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    auto built = build();
    const auto end = Clock::now();
    total += std::chrono::duration<double, std::milli>(end - start).count();
    state.PauseTiming();
    built.reset();
    state.ResumeTiming();
  }
  figures()[name] = total / static_cast<double>(state.iterations());
}

void BM_BuildFlat(benchmark::State& state) {
  run_build(state, "build flat (ms)", [] { return std::make_unique<OurGrid>(false); });
}
BENCHMARK(BM_BuildFlat)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_BuildTree(benchmark::State& state) {
  run_build(state, "build tree (ms)", [] { return std::make_unique<OurGrid>(true); });
}
BENCHMARK(BM_BuildTree)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_PeerBuildFlat(benchmark::State& state) {
  run_build(state, "peer build flat (ms)", [] { return std::make_unique<Peer>(false); });
}
BENCHMARK(BM_PeerBuildFlat)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PeerBuildTree(benchmark::State& state) {
  run_build(state, "peer build tree (ms)", [] { return std::make_unique<Peer>(true); });
}
BENCHMARK(BM_PeerBuildTree)->Unit(benchmark::kMillisecond)->Iterations(3);

// SCROLLY of a named position in our grid: the last is where Ctrl+End
// leaves the view, the last page whole.
int32_t scroll_position(OurGrid& grid, const std::string& where) {
  if (where == "top") return 0;
  if (where == "middle") return kRows / 2;
  grid_key(grid.ui, grid_object(grid.ui), GridKey::Last);
  return grid.record().scrollY;
}

void BM_Render(benchmark::State& state, const std::string& where) {
  OurGrid& grid = shared_flat();
  set_attribute(grid.ui, "Grid", "SCROLLY", std::to_string(scroll_position(grid, where)), 0);
  NamedObject& object = grid_object(grid.ui);
  const auto start = Clock::now();
  for (auto _ : state) render_grid(grid.ui, object);
  figures()["render at " + where + " (ms)"] =
      std::chrono::duration<double, std::milli>(Clock::now() - start).count() /
      static_cast<double>(state.iterations());
  state.counters["lastVisibleRow"] = grid.record().lastVisibleRow;
}

// The flat grid built and drawn at twice the display scale: four times the
// device pixels, the same logical drawing.
OurGrid& shared_flat_at_twice() {
  static OurGrid* grid = [] {
    tk_set_display_scale(200);
    auto* g = new OurGrid(false);
    g->finish();
    tk_set_display_scale(100);
    return g;
  }();
  return *grid;
}

// One drawing at the top at 1x and at 2x, in the same run.
void BM_RenderAtScale(benchmark::State& state) {
  const int32_t percent = state.range(0);
  OurGrid& grid = percent == 200 ? shared_flat_at_twice() : shared_flat();
  tk_set_display_scale(percent);
  set_attribute(grid.ui, "Grid", "SCROLLY", "0", 0);
  NamedObject& object = grid_object(grid.ui);
  for (auto _ : state) render_grid(grid.ui, object);
  tk_set_display_scale(100);
}
BENCHMARK(BM_RenderAtScale)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_RenderTree(benchmark::State& state, const std::string& where) {
  OurGrid& grid = shared_tree();
  set_attribute(grid.ui, "Grid", "SCROLLY", std::to_string(scroll_position(grid, where)), 0);
  NamedObject& object = grid_object(grid.ui);
  for (auto _ : state) render_grid(grid.ui, object);
}

void BM_PeerPaint(benchmark::State& state, const std::string& where) {
  Peer& peer = shared_peer();
  QScrollBar* bar = peer.view.verticalScrollBar();
  peer.scroll_to(where == "top" ? 0 : where == "middle" ? kRows / 2 : bar->maximum());
  QApplication::processEvents();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  const auto start = Clock::now();
  for (auto _ : state) peer.paint(image);
  figures()["peer paint at " + where + " (ms)"] =
      std::chrono::duration<double, std::milli>(Clock::now() - start).count() /
      static_cast<double>(state.iterations());
}

// Times `move` (one key, drawing included) and records its mean under
// `name`; after a stretch of moves `reset` puts the cursor back (untimed).
template <typename Move, typename Reset>
void time_moves(benchmark::State& state, const std::string& name, Move move, Reset reset) {
  reset();
  int32_t moves = 0;
  double total = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    move();
    total += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (++moves == 200) {
      state.PauseTiming();
      reset();
      moves = 0;
      state.ResumeTiming();
    }
  }
  figures()[name] = total / static_cast<double>(state.iterations());
}

// Moves with the key handler on a grid of `rows` rows (a record or a
// source grid). The cursor starts in the middle.
template <typename Grid>
void run_moves_on(benchmark::State& state, Grid& grid, int32_t rows, int32_t key,
                  const std::string& name) {
  time_moves(
      state, name, [&] { grid_key(grid.ui, grid_object(grid.ui), key); },
      [&] {
        set_attribute(grid.ui, "Grid", "SCROLLY", std::to_string(rows / 2), 0);
        set_cursor(grid.ui, "Grid", 0, rows / 2, 1);
      });
  state.counters["cursorRow"] = grid.record().cursorRow;
}

void run_moves(benchmark::State& state, int32_t key, const std::string& name) {
  run_moves_on(state, shared_flat(), kRows, key, name);
}

// Ctrl+End from the top: the cursor to the last row, which scrolls the
// whole grid; Ctrl+Home (untimed) brings it back.
template <typename Grid>
void run_ctrl_end_on(benchmark::State& state, Grid& grid, const std::string& name) {
  NamedObject& object = grid_object(grid.ui);
  grid_key(grid.ui, object, GridKey::First);
  double total = 0;
  int32_t reached = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    grid_key(grid.ui, object, GridKey::Last);
    total += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    state.PauseTiming();
    reached = grid.record().cursorRow;
    grid_key(grid.ui, object, GridKey::First);
    state.ResumeTiming();
  }
  figures()[name] = total / static_cast<double>(state.iterations());
  state.counters["cursorRow"] = reached;
}

// The peer's moves: the key goes to the view, which moves its current row
// and scrolls, and the view is then drawn into an image of the viewport, as
// our move ends with its drawing. Page Down is the view's page move.
template <typename View>
void run_peer_moves_on(benchmark::State& state, View& peer, int32_t rows, Qt::Key key,
                       const std::string& name) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  time_moves(
      state, name,
      [&] {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&peer.view, &press);
        peer.paint(image);
      },
      [&] {
        const QModelIndex start = peer.model.index(rows / 2, 0);
        peer.view.setCurrentIndex(start);
        peer.view.scrollTo(start, QAbstractItemView::PositionAtTop);
      });
  state.counters["currentRow"] = peer.view.currentIndex().row();
}

// The peer's Ctrl+End from the top, drawn; Ctrl+Home (untimed) goes back.
template <typename View>
void run_peer_ctrl_end_on(benchmark::State& state, View& peer, const std::string& name) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  auto send = [&](Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QCoreApplication::sendEvent(&peer.view, &press);
  };
  send(Qt::Key_Home);
  double total = 0;
  int32_t reached = 0;
  for (auto _ : state) {
    const auto start = Clock::now();
    send(Qt::Key_End);
    peer.paint(image);
    total += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    state.PauseTiming();
    reached = peer.view.currentIndex().row();
    send(Qt::Key_Home);
    state.ResumeTiming();
  }
  figures()[name] = total / static_cast<double>(state.iterations());
  state.counters["currentRow"] = reached;
}

void BM_KeyDown(benchmark::State& state) { run_moves(state, GridKey::Down, "Down (ms)"); }
BENCHMARK(BM_KeyDown)->Unit(benchmark::kMicrosecond);

void BM_KeyPageDown(benchmark::State& state) {
  run_moves(state, GridKey::PageDown, "Shift+Down (ms)");
}
BENCHMARK(BM_KeyPageDown)->Unit(benchmark::kMicrosecond);

void BM_KeyCtrlEnd(benchmark::State& state) {
  run_ctrl_end_on(state, shared_flat(), "Ctrl+End (ms)");
}
BENCHMARK(BM_KeyCtrlEnd)->Unit(benchmark::kMicrosecond);

void run_peer_moves(benchmark::State& state, Qt::Key key, const std::string& name) {
  run_peer_moves_on(state, shared_peer(), kRows, key, name);
}

void BM_PeerKeyDown(benchmark::State& state) { run_peer_moves(state, Qt::Key_Down, "peer Down (ms)"); }
BENCHMARK(BM_PeerKeyDown)->Unit(benchmark::kMicrosecond);

void BM_PeerKeyPageDown(benchmark::State& state) {
  run_peer_moves(state, Qt::Key_PageDown, "peer Page Down (ms)");
}
BENCHMARK(BM_PeerKeyPageDown)->Unit(benchmark::kMicrosecond);

void BM_PeerKeyCtrlEnd(benchmark::State& state) {
  run_peer_ctrl_end_on(state, shared_peer(), "peer Ctrl+End (ms)");
}
BENCHMARK(BM_PeerKeyCtrlEnd)->Unit(benchmark::kMicrosecond);

// An idle dispatch: the wait timed out, nothing happened.
void run_dispatch(benchmark::State& state, int32_t mouseX, int32_t mouseY,
                  const std::string& name) {
  OurGrid& grid = shared_flat();
  dispatch_event(grid.ui, mouseX, mouseY, TK_EVENT_NONE, -1, 0, 0);
  const auto start = Clock::now();
  for (auto _ : state) dispatch_event(grid.ui, mouseX, mouseY, TK_EVENT_NONE, -1, 0, 0);
  figures()[name] = std::chrono::duration<double, std::milli>(Clock::now() - start).count() /
                    static_cast<double>(state.iterations());
}

void BM_IdleDispatchMouseElsewhere(benchmark::State& state) {
  run_dispatch(state, 900, 50, "idle dispatch, mouse elsewhere (ms)");
}
BENCHMARK(BM_IdleDispatchMouseElsewhere)->Unit(benchmark::kMicrosecond);

void BM_IdleDispatchMouseOnGrid(benchmark::State& state) {
  run_dispatch(state, 300, 300, "idle dispatch, mouse resting on the grid (ms)");
}
BENCHMARK(BM_IdleDispatchMouseOnGrid)->Unit(benchmark::kMicrosecond);

// ---- a source grid and its peer ----------------------------------------------------

// Rows of the source grids: ZUI_BENCH_SOURCE_ROWS, else 1,000,000.
int32_t source_rows_wanted() {
  const char* wanted = std::getenv("ZUI_BENCH_SOURCE_ROWS");
  const long n = wanted ? std::atol(wanted) : 0;
  return n > 0 && n <= INT32_MAX ? static_cast<int32_t>(n) : 1000000;
}
const int32_t kSourceRows = source_rows_wanted();

// The record grid's texts and columns, made when asked: nothing is stored.
class BenchSource : public GridSource {
 public:
  int32_t row_count() const override { return kSourceRows; }
  int16_t column_count() const override { return kColumns; }
  std::string caption(int16_t c) const override { return "Column " + std::to_string(c); }
  int16_t column_width(int16_t) const override { return 90; }
  int8_t column_orientation(int16_t c) const override { return static_cast<int8_t>(c % 3); }
  std::string_view cell_text(int16_t c, int32_t r, std::string& scratch) const override {
    scratch.clear();
    append_cell_text(scratch, r, c);
    return scratch;
  }
};

struct SourceGrid {
  Ui ui;
  int32_t source = 0;

  SourceGrid() {
    WindowRecord* w = new_window_record(ui, "Main", 0, 0, 1024, 710, "", 0);
    w->handle = 77;
    source = make_source();
    create_grid(ui, "Grid", 6, 200, kWidth, kHeight, source, 20, "");
    set_grid_source(ui, "Grid", std::make_shared<BenchSource>());
    for (int16_t c = 0; c < kColumns; ++c) set_column_attribute(ui, "Grid", c, "INPUTTYPE", "1", 0);
    set_attribute(ui, "Grid", "PERMANENTCURSOR", "1", 1);
  }
  ~SourceGrid() { tk_free_image(source); }
  GridRecord& record() {
    find_object(ui, "Grid", 0);
    return *grid_record(*current_object(ui));
  }
};

SourceGrid& shared_source_grid() {
  static SourceGrid* grid = new SourceGrid();
  return *grid;
}

// The fair peer of a source grid: a model that makes its texts when asked.
class BenchTableModel : public QAbstractTableModel {
 public:
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kSourceRows; }
  int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kColumns; }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole) return {};
    std::string text;
    append_cell_text(text, index.row(), index.column());
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  }
  QVariant headerData(int section, Qt::Orientation o, int role) const override {
    if (role != Qt::DisplayRole || o != Qt::Horizontal) return {};
    return QStringLiteral("Column %1").arg(section);
  }
};

struct SourcePeer {
  BenchTableModel model;
  QTreeView view;

  SourcePeer() {
    view.setUniformRowHeights(true);
    view.setModel(&model);
    for (int c = 0; c < kColumns; ++c) view.setColumnWidth(c, 90);
    view.resize(kWidth, kHeight);
    view.show();
    QApplication::processEvents();
  }
  void paint(QImage& image) { view.render(&image); }
};

SourcePeer& shared_source_peer() {
  static SourcePeer* peer = new SourcePeer();
  return *peer;
}

// Memory of a source grid or its peer, built and drawn once.
void BM_SourceMemory(benchmark::State& state) {
  run_memory(state, "source memory", [] {
    auto grid = std::make_unique<SourceGrid>();
    render_grid(grid->ui, grid_object(grid->ui));
    return grid;
  });
}
BENCHMARK(BM_SourceMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SourcePeerMemory(benchmark::State& state) {
  run_memory(state, "source peer memory", [] {
    auto peer = std::make_unique<SourcePeer>();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    peer->paint(image);
    return peer;
  });
}
BENCHMARK(BM_SourcePeerMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SourceRender(benchmark::State& state, const std::string& where) {
  SourceGrid& grid = shared_source_grid();
  NamedObject& object = grid_object(grid.ui);
  int32_t scroll = where == "middle" ? kSourceRows / 2 : 0;
  if (where == "last") {
    grid_key(grid.ui, object, GridKey::Last);
    scroll = grid.record().scrollY;
  }
  set_attribute(grid.ui, "Grid", "SCROLLY", std::to_string(scroll), 0);
  for (auto _ : state) render_grid(grid.ui, object);
  state.counters["lastVisibleRow"] = grid.record().lastVisibleRow;
}

void BM_SourcePeerPaint(benchmark::State& state, const std::string& where) {
  SourcePeer& peer = shared_source_peer();
  QScrollBar* bar = peer.view.verticalScrollBar();
  bar->setValue(where == "top" ? 0 : where == "middle" ? kSourceRows / 2 : bar->maximum());
  QApplication::processEvents();
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) peer.paint(image);
}

// Down and Page Down from the middle, drawing included.
void run_source_moves(benchmark::State& state, int32_t key, const std::string& name) {
  run_moves_on(state, shared_source_grid(), kSourceRows, key, name);
}

void BM_SourceKeyDown(benchmark::State& state) {
  run_source_moves(state, GridKey::Down, "source Down (ms)");
}
BENCHMARK(BM_SourceKeyDown)->Unit(benchmark::kMicrosecond);

void BM_SourceKeyPageDown(benchmark::State& state) {
  run_source_moves(state, GridKey::PageDownKey, "source Page Down (ms)");
}
BENCHMARK(BM_SourceKeyPageDown)->Unit(benchmark::kMicrosecond);

void BM_SourceKeyCtrlEnd(benchmark::State& state) {
  run_ctrl_end_on(state, shared_source_grid(), "source Ctrl+End (ms)");
}
BENCHMARK(BM_SourceKeyCtrlEnd)->Unit(benchmark::kMicrosecond);

void run_source_peer_moves(benchmark::State& state, Qt::Key key, const std::string& name) {
  run_peer_moves_on(state, shared_source_peer(), kSourceRows, key, name);
}

void BM_SourcePeerKeyDown(benchmark::State& state) {
  run_source_peer_moves(state, Qt::Key_Down, "source peer Down (ms)");
}
BENCHMARK(BM_SourcePeerKeyDown)->Unit(benchmark::kMicrosecond);

void BM_SourcePeerKeyPageDown(benchmark::State& state) {
  run_source_peer_moves(state, Qt::Key_PageDown, "source peer Page Down (ms)");
}
BENCHMARK(BM_SourcePeerKeyPageDown)->Unit(benchmark::kMicrosecond);

void BM_SourcePeerKeyCtrlEnd(benchmark::State& state) {
  run_peer_ctrl_end_on(state, shared_source_peer(), "source peer Ctrl+End (ms)");
}
BENCHMARK(BM_SourcePeerKeyCtrlEnd)->Unit(benchmark::kMicrosecond);

// ---- summary -------------------------------------------------------------------------

void print_summary() {
  const auto& f = figures();
  auto get = [&](const std::string& key) {
    auto it = f.find(key);
    return it == f.end() ? -1.0 : it->second;
  };
  std::printf("\n%-48s %12s\n", "figure", "value");
  for (const auto& [key, value] : f) std::printf("%-48s %12.4f\n", key.c_str(), value);
  auto ratio = [&](const char* label, const std::string& ours, const std::string& peer) {
    const double a = get(ours), b = get(peer);
    if (a > 0 && b > 0) std::printf("%-48s %11.2fx\n", label, b / a);
  };
  std::printf("\npeer / ours (above 1: we are ahead)\n");
  ratio("build flat", "build flat (ms)", "peer build flat (ms)");
  ratio("build tree", "build tree (ms)", "peer build tree (ms)");
  for (const char* p : kPositions) {
    const std::string at = std::string(" at ") + p + " (ms)";
    ratio(("paint" + at).c_str(), "render" + at, "peer paint" + at);
  }
  ratio("Down", "Down (ms)", "peer Down (ms)");
  ratio("Shift+Down / Page Down", "Shift+Down (ms)", "peer Page Down (ms)");
  ratio("Ctrl+End", "Ctrl+End (ms)", "peer Ctrl+End (ms)");
  ratio("memory peak", "memory flat peak (MB)", "peer memory flat peak (MB)");
  ratio("memory kept", "memory flat kept (MB)", "peer memory flat kept (MB)");
}

}  // namespace

int main(int argc, char** argv) {
  tk_init_strings();
  tk_init_drawing();
  tk_init_fonts();
  tk_init_windows();
  tk_init_gadgets();
  tk_init_images();
  for (const char* where : kPositions) {
    const std::string w = where;
    benchmark::RegisterBenchmark(("BM_Render/" + w).c_str(),
                                 [w](benchmark::State& s) { BM_Render(s, w); })
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BM_RenderTree/" + w).c_str(),
                                 [w](benchmark::State& s) { BM_RenderTree(s, w); })
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BM_PeerPaint/" + w).c_str(),
                                 [w](benchmark::State& s) { BM_PeerPaint(s, w); })
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BM_SourceRender/" + w).c_str(),
                                 [w](benchmark::State& s) { BM_SourceRender(s, w); })
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(("BM_SourcePeerPaint/" + w).c_str(),
                                 [w](benchmark::State& s) { BM_SourcePeerPaint(s, w); })
        ->Unit(benchmark::kMicrosecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  print_summary();
  return 0;
}
