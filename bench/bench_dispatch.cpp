// Cost of an idle dispatch: the main loop's call after a timed-out wait,
// with the mouse resting, over a screen of 60 objects. Such a call must
// compose no image and allocate nothing; both are checked while timing.
//
// Sections: allocation counting · the screen · benchmarks · entry point.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "controls/controls.h"
#include "framework/framework.h"
#include "toolkit/tk.h"

using namespace zui;

// ---- allocation counting -----------------------------------------------------
namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

// ---- the screen --------------------------------------------------------------
namespace {

int32_t strip(int frames, int w, int h) {
  const int32_t image = tk_create_image(-1, frames * w, h);
  tk_start_drawing(tk_image_output(image));
  for (int n = 0; n < frames; ++n) tk_draw_box(n * w, 0, w, h, 0x203040 + n * 0x101010);
  tk_stop_drawing();
  return image;
}

NamedObject* add(Ui& ui, const std::string& name, int8_t kind, int16_t x, int16_t y, int16_t w,
                 int16_t h, const std::string& parent = "") {
  register_object(ui, name, kind, x, y, w, h, parent);
  NamedObject* o = current_object(ui);
  finish_creation(ui);
  return o;
}

NamedObject* button(Ui& ui, const std::string& name, int16_t x, int16_t y,
                    const std::string& parent) {
  NamedObject* o = add(ui, name, Kind::SkinnedButton, x, y, 24, 24, parent);
  o->control = std::make_unique<ButtonRecord>(o->kind, 0);
  button_record(*o)->stripImage = strip(5, 24, 24);
  button_record(*o)->frameCount = 5;
  button_record(*o)->style = ButtonStyle::ImageStrip;
  o->catchMouseOver = 1;
  make_current(ui, o);
  draw_button_frame(ui, *o, 0);
  return o;
}

// 60 objects in the shapes of the demo screen: areas, panels with labels,
// inputs and combos, tool buttons, a tab bar, frames and a splitter-like
// pinned object. The last button sits deep inside nested containers.
struct Screen {
  Ui ui;
  NamedObject* target = nullptr;
  Screen() {
    WindowRecord* w = new_window_record(ui, "Main", 0, 0, 1024, 710, "", 0);
    w->handle = 77;
    add(ui, "ContainerTop", Kind::Container, 0, 0, 1024, 40);
    add(ui, "ContainerLeft", Kind::Container, 0, 40, 220, 650);
    add(ui, "ContainerCenter", Kind::Container, 225, 40, 800, 650);
    add(ui, "SplitterSideMain", Kind::Splitter, 0, 40, 1024, 650)->visible = -2;
    add(ui, "FrameHead", Kind::Frame, 0, 0, 800, 200, "ContainerCenter")->visible = -2;
    add(ui, "ContainerHead", Kind::Container, 5, 25, 790, 170, "ContainerCenter");
    add(ui, "TabBarHead", Kind::TabBar, 0, 0, 790, 22, "ContainerHead")->control =
        std::make_unique<TabBarRecord>();
    add(ui, "PanelHeadCase", Kind::Container, 0, 22, 790, 148, "ContainerHead");
    for (int row = 0; row < 8; ++row) {
      add(ui, "LabelHead" + std::to_string(row), Kind::Label, 5, int16_t(5 + row * 18), 90, 16,
          "PanelHeadCase");
      add(ui, "InputHead" + std::to_string(row), Kind::Input, 100, int16_t(5 + row * 18), 150,
          16, "PanelHeadCase");
      NamedObject* combo = add(ui, "ComboHead" + std::to_string(row), Kind::Combo, 300,
                               int16_t(5 + row * 18), 150, 20, "PanelHeadCase");
      combo->dropHeight = 120;
    }
    for (int i = 0; i < 10; ++i)
      button(ui, "ButtonIcon" + std::to_string(i), int16_t(600 + i * 30), 8, "ContainerTop");
    for (int i = 0; i < 6; ++i)
      button(ui, "ButtonSide" + std::to_string(i), int16_t(5 + i * 30), 600, "ContainerLeft");
    add(ui, "ContainerMain", Kind::Container, 0, 205, 800, 445, "ContainerCenter");
    add(ui, "PanelVersion", Kind::Container, 5, 30, 790, 400, "ContainerMain");
    add(ui, "PanelVersionInner", Kind::Container, 10, 10, 700, 300, "PanelVersion");
    while (ui.count < 59)
      add(ui, "LabelFill" + std::to_string(ui.count), Kind::Label, 0, 0, 10, 10, "PanelVersion");
    target = button(ui, "ButtonDeep", 100, 100, "PanelVersionInner");
  }
};

// ---- benchmarks --------------------------------------------------------------

void run_idle(benchmark::State& state, int32_t mouseX, int32_t mouseY) {
  Screen screen;
  Ui& ui = screen.ui;
  if (ui.count != 60) state.SkipWithError("the screen must hold 60 objects");
  dispatch_event(ui, mouseX, mouseY, 0, -1, 0, 0);  // the hover look comes once
  const int32_t shown = button_record(*screen.target)->shownImage;
  const int32_t probeBefore = tk_create_image(-1, 1, 1);
  const long allocationsBefore = g_allocations.load();

  for (auto _ : state) {
    dispatch_event(ui, mouseX, mouseY, 0, -1, 0, 0);
    benchmark::DoNotOptimize(current_window(ui)->eventCode);
  }

  const long allocations = g_allocations.load() - allocationsBefore;
  const int32_t probeAfter = tk_create_image(-1, 1, 1);
  state.counters["allocations"] = double(allocations);
  state.counters["images_composed"] = double(probeAfter - probeBefore - 1);
  if (allocations != 0) state.SkipWithError("an idle dispatch allocated");
  if (probeAfter != probeBefore + 1 || button_record(*screen.target)->shownImage != shown)
    state.SkipWithError("an idle dispatch composed an image");
  tk_free_image(probeBefore);
  tk_free_image(probeAfter);
}

void BM_IdleDispatchOverNestedButton(benchmark::State& state) {
  // ButtonDeep: 225 + 0 + 5 + 10 + 100 = 340, 40 + 205 + 30 + 10 + 100 = 385.
  run_idle(state, 350, 395);
}
BENCHMARK(BM_IdleDispatchOverNestedButton);

void BM_IdleDispatchMouseOutside(benchmark::State& state) { run_idle(state, -1, -1); }
BENCHMARK(BM_IdleDispatchMouseOutside);

}  // namespace

// ---- entry point -------------------------------------------------------------
int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  tk_init_strings();
  tk_init_drawing();
  tk_init_images();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
