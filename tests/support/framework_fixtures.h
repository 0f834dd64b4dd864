#pragma once
// Shared fixture of the framework tests: a fresh context with one hidden
// window "Main" (800 × 600) and helpers to reach objects and make strips.
#include <gtest/gtest.h>

#include <string>

#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "toolkit/tk.h"

using namespace zui;

namespace fwtest {

inline constexpr int32_t kHiddenWindow = 0x10CF0000;  // hidden, sizable, caption

// A strip of `frames` frames, each `frameWidth` wide and `height` high;
// frame n is filled with strip_colour(n), so a shown picture tells which
// frame it was cut from.
inline int32_t strip_colour(int32_t n) { return tk_pack_colour(30 + n * 40, 200 - n * 30, 90); }
inline int32_t make_strip(int32_t frames, int32_t frameWidth, int32_t height) {
  const int32_t image = tk_create_image(-1, frames * frameWidth, height);
  if (image && tk_start_drawing(tk_image_output(image))) {
    for (int32_t n = 0; n < frames; ++n)
      tk_draw_box(n * frameWidth, 0, frameWidth, height, strip_colour(n));
    tk_stop_drawing();
  }
  return image;
}

class FrameworkTest : public ::testing::Test {
 protected:
  Ui ui;
  int32_t window = 0;

  void SetUp() override {
    window = create_window(ui, "Main", 10, 20, 800, 600, "Framework test", kHiddenWindow);
  }
  void TearDown() override {
    // Close every window this context still knows.
    while (ui.firstWindow) {
      ui.currentWindow = ui.firstWindow;
      close_window(ui, ui.firstWindow->name);
    }
  }

  // The named object without moving anything a test looks at afterwards.
  NamedObject* obj(const std::string& name) {
    for (NamedObject* o = ui.first; o; o = o->next)
      if (o->name == name) return o;
    return nullptr;
  }
  WindowRecord* win(const std::string& name) {
    for (WindowRecord* w = ui.firstWindow; w; w = w->next)
      if (w->name == name) return w;
    return nullptr;
  }
  // Names of the registry in order.
  std::string order() {
    std::string s;
    for (NamedObject* o = ui.first; o; o = o->next) s += (s.empty() ? "" : ",") + o->name;
    return s;
  }
  int32_t registry_size() {
    int32_t n = 0;
    for (NamedObject* o = ui.first; o; o = o->next) ++n;
    return n;
  }
};

}  // namespace fwtest
