// The real demo screen, built offscreen in this process: what one dispatch
// of the 20 ms main loop costs, and how long the loop takes from a posted
// click or key to the window repainted, next to the same reactions of the
// same screen written as a plain Qt Widgets form.
//
//   QT_QPA_PLATFORM=offscreen build-rel/bench_demo
//   valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no \
//     build-rel/bench_demo --count-instructions 20000
//
// The second form skips the benchmarks and runs fixed numbers of dispatches
// (and ten of each reaction) with callgrind collecting only inside them, one
// dump per case, so the instructions per dispatch are exact where seconds
// are noisy.
//
// Sections: the demo · the peer form · dispatch · reaction latency ·
// instruction counts · entry point.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSplitter>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#define CALLGRIND_TOGGLE_COLLECT
#define CALLGRIND_DUMP_STATS_AT(name)
#endif

#include "app/app.h"
#include "bench/peer_form.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

using namespace zui;

namespace {

using peer::Clock;
using peer::PeerForm;
using peer::seconds_since;

// CPU time of the whole process (Qt paints large areas on helper threads).
double cpu_ms() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// One timed reaction: wall time for the benchmark, CPU time as a counter
// (on a loaded machine the wall time includes waiting for a core).
template <typename React>
void time_reaction(benchmark::State& state, React react) {
  const double c0 = cpu_ms();
  const auto t0 = Clock::now();
  const bool answered = react();
  state.SetIterationTime(seconds_since(t0));
  state.counters["cpu_ms"] = cpu_ms() - c0;
  if (!answered) state.SkipWithError("the input was not answered");
}

// ---- the demo ------------------------------------------------------------------

// The demo as its main loop runs it, with the "grid matrix" page shown so
// that the data grids can be reached.
struct Demo {
  App app;

  Demo() {
    start_up(app);
    build_demo_screen(app);
    run_ms(200);
    const QPoint tab = tab_middle("PanelVersionData", 1);
    point_at(tab);
    post_click("PanelVersionData", tab);
    run_ms(300);
  }

  NamedObject* object(const std::string& name) {
    return find_object(app.ui, name, 0) == 1 ? current_object(app.ui) : nullptr;
  }
  QWidget* widget(const std::string& name) {
    return tk_gadget_widget(get_gadget(app.ui, name));
  }
  QWidget* client() { return tk_window_client(app.state.mainWindow); }
  // Middle of a named object in window client coordinates.
  QPoint middle(const std::string& name) {
    NamedObject* o = object(name);
    return o ? QPoint(o->absX + o->width / 2, o->absY + o->height / 2) : QPoint(-1, -1);
  }
  QPoint tab_middle(const std::string& bar, int index) {
    NamedObject* o = object(bar);
    int x = o->absX;
    for (int i = 0; i < index; ++i) x += tab_bar_record(*o)->tabs[i].width;
    return QPoint(x + tab_bar_record(*o)->tabs[index].width / 2, o->absY + o->height / 2);
  }
  void point_at(QPoint clientPoint) { QCursor::setPos(client()->mapToGlobal(clientPoint)); }
  // A left click posted to the named gadget's widget.
  void post_click(const std::string& name, QPoint clientPoint) {
    QWidget* w = widget(name);
    const QPointF global = client()->mapToGlobal(QPointF(clientPoint));
    peer::post_left_click(w, w->mapFromGlobal(global), global);
  }
  // A key posted where the user's keys go: the window's focused widget, else
  // the window.
  void post_key(Qt::Key key) {
    QWidget* top = tk_window_widget(app.state.mainWindow);
    QWidget* target = top->focusWidget() != nullptr ? top->focusWidget() : top;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
  }
  void run_ms(int ms) {
    const auto t0 = Clock::now();
    while (seconds_since(t0) * 1000 < ms) main_loop_iteration(app, 5);
  }
  // Loop iterations without waiting until the loop has reported (code,
  // name) and the window has been painted after that; false after 2 s.
  bool run_until_redrawn(int8_t code, const std::string& name) {
    const auto t0 = Clock::now();
    bool reacted = false;
    int32_t paints = 0;
    while (seconds_since(t0) < 2) {
      main_loop_iteration(app, 0);
      if (!reacted && app.uiCode == code && app.uiObject == name) {
        reacted = true;
        paints = tk_window_paint_count(app.state.mainWindow);
      } else if (reacted && tk_window_paint_count(app.state.mainWindow) > paints) {
        return true;
      }
    }
    return false;
  }
  // Runs the loop until it reports (code, name); false after timeoutMs.
  bool run_until(int8_t code, const std::string& name, int timeoutMs) {
    const auto t0 = Clock::now();
    while (seconds_since(t0) * 1000 < timeoutMs) {
      main_loop_iteration(app, 5);
      if (app.uiCode == code && app.uiObject == name) return true;
    }
    return false;
  }
};

Demo& demo() {
  static Demo* d = new Demo;
  return *d;
}

// ---- the peer form -----------------------------------------------------------------

PeerForm& peer_form() {
  static PeerForm* p = new PeerForm;
  return *p;
}

// ---- dispatch ------------------------------------------------------------------------

// One dispatch after a timed-out wait with the mouse resting at one point.
void idle_dispatch(benchmark::State& state, QPoint at) {
  Demo& d = demo();
  Ui& ui = d.app.ui;
  dispatch_event(ui, at.x(), at.y(), TK_EVENT_NONE, -1, 0, 0);
  for (auto _ : state) {
    dispatch_event(ui, at.x(), at.y(), TK_EVENT_NONE, -1, 0, 0);
    benchmark::DoNotOptimize(event_code(ui));
  }
  state.counters["objects"] = ui.count;
}

// The worst resting place: over a data grid, whose shortcuts are installed
// again on every dispatch.
void BM_IdleDispatchOverGrid(benchmark::State& state) {
  idle_dispatch(state, demo().middle("GridVersionConfig"));
}
BENCHMARK(BM_IdleDispatchOverGrid);

void BM_IdleDispatchOverButton(benchmark::State& state) {
  idle_dispatch(state, demo().middle("ButtonAddVersion"));
}
BENCHMARK(BM_IdleDispatchOverButton);

void BM_IdleDispatchMouseOutside(benchmark::State& state) {
  idle_dispatch(state, QPoint(-1, -1));
}
BENCHMARK(BM_IdleDispatchMouseOutside);

// The mouse moving from button to button, one button further per dispatch.
void moving_dispatch(benchmark::State& state, const std::vector<std::string>& buttons) {
  Demo& d = demo();
  Ui& ui = d.app.ui;
  std::vector<QPoint> points;
  for (const std::string& b : buttons) points.push_back(d.middle(b));
  size_t i = 0;
  for (auto _ : state) {
    const QPoint p = points[i++ % points.size()];
    dispatch_event(ui, p.x(), p.y(), TK_EVENT_NONE, -1, 0, 0);
  }
  dispatch_event(ui, -1, -1, TK_EVENT_NONE, -1, 0, 0);
}

// The sidebar's tool buttons have one face and no hover look: the dispatch
// finds the new button under the mouse and changes nothing.
void BM_MouseAcrossSidebarButtons(benchmark::State& state) {
  moving_dispatch(state, {"ButtonSideBarAdd", "ButtonSideBarCopy", "ButtonSideBarSync",
                          "ButtonSideBarBlank1", "ButtonSideBarBlank2"});
}
BENCHMARK(BM_MouseAcrossSidebarButtons);

// The version buttons have hover strips: every dispatch puts one button back
// to rest and draws the hover frame of the next.
void BM_MouseAcrossHoverButtons(benchmark::State& state) {
  moving_dispatch(state, {"ButtonAddVersion", "ButtonCopyVersion", "ButtonCloseVersion"});
}
BENCHMARK(BM_MouseAcrossHoverButtons);

// ---- reaction latency ------------------------------------------------------------------

// Posted click on the head area's arrow to the window repainted after the
// layout pass; collapsing and expanding take turns. Between two clicks the
// arrow's turning animation runs out (untimed).
void BM_ClickHeadArrow(benchmark::State& state) {
  Demo& d = demo();
  const QPoint arrow = d.middle("ButtonHeadExpCol");
  d.point_at(arrow);
  d.run_ms(100);
  for (auto _ : state) {
    time_reaction(state, [&] {
      d.post_click("ButtonHeadExpCol", arrow);
      return d.run_until_redrawn(Code::LeftClick, "ButtonHeadExpCol");
    });
    d.run_until(Code::AnimationDone, "ButtonHeadExpCol", 2000);
    d.run_ms(50);
  }
}
BENCHMARK(BM_ClickHeadArrow)->UseManualTime()->Iterations(1)->Repetitions(20)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_PeerClickHeadArrow(benchmark::State& state) {
  PeerForm& p = peer_form();
  for (auto _ : state) {
    p.toggled = false;
    time_reaction(state, [&] {
      p.post_click(p.arrow);
      return p.run_until_redrawn([&] { return p.toggled; });
    });
    p.settle();
  }
}
BENCHMARK(BM_PeerClickHeadArrow)->UseManualTime()->Iterations(1)->Repetitions(20)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// Down over the configuration grid (from its first to its second shown row)
// to the grid redrawn; Up puts the cursor back (untimed).
void BM_DownKeyOverGrid(benchmark::State& state) {
  Demo& d = demo();
  d.point_at(d.middle("GridVersionConfig"));
  d.run_ms(100);
  for (auto _ : state) {
    time_reaction(state, [&] {
      d.post_key(Qt::Key_Down);
      return d.run_until_redrawn(Code::GridCursor, "GridVersionConfig");
    });
    d.post_key(Qt::Key_Up);
    d.run_until(Code::GridCursor, "GridVersionConfig", 2000);
    d.run_ms(20);
  }
}
BENCHMARK(BM_DownKeyOverGrid)->UseManualTime()->Iterations(1)->Repetitions(20)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_PeerDownKeyOverGrid(benchmark::State& state) {
  PeerForm& p = peer_form();
  for (auto _ : state) {
    const QModelIndex start = p.config->currentIndex();
    time_reaction(state, [&] {
      p.post_key(p.config, Qt::Key_Down);
      return p.run_until_redrawn([&] { return p.config->currentIndex() != start; });
    });
    p.post_key(p.config, Qt::Key_Up);
    p.settle();
  }
}
BENCHMARK(BM_PeerDownKeyOverGrid)->UseManualTime()->Iterations(1)->Repetitions(20)
    ->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// ---- instruction counts ------------------------------------------------------------------

// Dumps what callgrind collected since the last dump under the name
// "CASE N": N runs of the case (the reader divides by it).
void dump(const char* name, int runs) {
  char label[96];
  std::snprintf(label, sizeof label, "%s %d", name, runs);
  CALLGRIND_DUMP_STATS_AT(label);
  (void)label;
}

// Under callgrind: `count` dispatches per dispatch case and ten runs of each
// reaction, the demo's and the peer form's, each case dumped on its own.
int count_instructions(int count) {
  constexpr int kReactions = 10;
  Demo& d = demo();
  Ui& ui = d.app.ui;
  const QPoint grid = d.middle("GridVersionConfig");
  const QPoint buttons[] = {d.middle("ButtonAddVersion"), d.middle("ButtonCopyVersion"),
                            d.middle("ButtonCloseVersion")};
  CALLGRIND_START_INSTRUMENTATION;
  dispatch_event(ui, grid.x(), grid.y(), TK_EVENT_NONE, -1, 0, 0);
  CALLGRIND_TOGGLE_COLLECT;
  for (int i = 0; i < count; ++i) dispatch_event(ui, grid.x(), grid.y(), TK_EVENT_NONE, -1, 0, 0);
  CALLGRIND_TOGGLE_COLLECT;
  dump("idle-over-grid", count);
  dispatch_event(ui, -1, -1, TK_EVENT_NONE, -1, 0, 0);
  CALLGRIND_TOGGLE_COLLECT;
  for (int i = 0; i < count; ++i) dispatch_event(ui, -1, -1, TK_EVENT_NONE, -1, 0, 0);
  CALLGRIND_TOGGLE_COLLECT;
  dump("idle-mouse-outside", count);
  CALLGRIND_TOGGLE_COLLECT;
  for (int i = 0; i < count; ++i) {
    const QPoint p = buttons[i % 3];
    dispatch_event(ui, p.x(), p.y(), TK_EVENT_NONE, -1, 0, 0);
  }
  CALLGRIND_TOGGLE_COLLECT;
  dump("hover-change", count);
  // Reactions: collected from the posted input to the repainted window.
  const QPoint arrow = d.middle("ButtonHeadExpCol");
  d.point_at(arrow);
  d.run_ms(100);
  for (int i = 0; i < kReactions; ++i) {
    CALLGRIND_TOGGLE_COLLECT;
    d.post_click("ButtonHeadExpCol", arrow);
    d.run_until_redrawn(Code::LeftClick, "ButtonHeadExpCol");
    CALLGRIND_TOGGLE_COLLECT;
    d.run_until(Code::AnimationDone, "ButtonHeadExpCol", 5000);
    d.run_ms(50);
  }
  dump("click-head-arrow", kReactions);
  d.point_at(grid);
  d.run_ms(100);
  for (int i = 0; i < kReactions; ++i) {
    CALLGRIND_TOGGLE_COLLECT;
    d.post_key(Qt::Key_Down);
    d.run_until_redrawn(Code::GridCursor, "GridVersionConfig");
    CALLGRIND_TOGGLE_COLLECT;
    d.post_key(Qt::Key_Up);
    d.run_until(Code::GridCursor, "GridVersionConfig", 5000);
    d.run_ms(20);
  }
  dump("down-key-over-grid", kReactions);
  // The same reactions of the peer form, from the posted input to its
  // repaint.
  PeerForm& p = peer_form();
  for (int i = 0; i < kReactions; ++i) {
    p.toggled = false;
    CALLGRIND_TOGGLE_COLLECT;
    p.post_click(p.arrow);
    p.run_until_redrawn([&] { return p.toggled; });
    CALLGRIND_TOGGLE_COLLECT;
    p.settle();
  }
  dump("peer-click-head-arrow", kReactions);
  for (int i = 0; i < kReactions; ++i) {
    const QModelIndex start = p.config->currentIndex();
    CALLGRIND_TOGGLE_COLLECT;
    p.post_key(p.config, Qt::Key_Down);
    p.run_until_redrawn([&] { return p.config->currentIndex() != start; });
    CALLGRIND_TOGGLE_COLLECT;
    p.post_key(p.config, Qt::Key_Up);
    p.settle();
  }
  dump("peer-down-key-over-grid", kReactions);
  CALLGRIND_STOP_INSTRUMENTATION;
  std::printf("objects %d dispatches %d\n", ui.count, count);
  return 0;
}

}  // namespace

// ---- entry point -----------------------------------------------------------------------
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (argc == 3 && std::strcmp(argv[1], "--count-instructions") == 0)
    return count_instructions(std::atoi(argv[2]));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
