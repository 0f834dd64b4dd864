#pragma once
// Fixture for the skinned controls and the dispatcher: a fresh Ui with one
// window record, objects registered with the records they need, synthetic
// strips whose frames and pieces each have a colour of their own, and a
// clock the test moves by hand.
//
// Sections: clock · colours and strips · fixture · objects · reading back.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "framework/framework.h"
#include "toolkit/tk.h"

using namespace zui;

namespace ctest {

// ---- clock -------------------------------------------------------------------
inline int32_t& clock_value() {
  static int32_t now = 100000;
  return now;
}
inline int32_t fake_clock() { return clock_value(); }

// ---- colours and strips ------------------------------------------------------
// Colour of frame / piece n: distinct, far apart, never black.
inline int32_t piece_colour(int n) {
  return tk_pack_colour(40 + (n * 53) % 200, 30 + (n * 97) % 210, 20 + (n * 31) % 230);
}
// Index of the piece colour at a pixel, -1 when none matches.
inline int colour_index(int32_t colour, int count = 32) {
  for (int n = 0; n < count; ++n)
    if (piece_colour(n) == colour) return n;
  return -1;
}

// Caption ink drawn in white: antialiased small text rarely reaches pure
// white, so every light pixel counts (no piece colour is that light).
inline bool is_whitish(int32_t colour) {
  return colour >= 0 && (colour & 0xFF) >= 200 && ((colour >> 8) & 0xFF) >= 200 &&
         ((colour >> 16) & 0xFF) >= 200;
}

inline void fill(int32_t image, int32_t x, int32_t y, int32_t w, int32_t h, int32_t colour) {
  tk_start_drawing(tk_image_output(image));
  tk_draw_box(x, y, w, h, colour);
  tk_stop_drawing();
}

// `frames` frames of w x h side by side, frame n in piece_colour(n).
inline int32_t frame_strip(int frames, int32_t w, int32_t h) {
  const int32_t image = tk_create_image(-1, frames * w, h);
  for (int n = 0; n < frames; ++n) fill(image, n * w, 0, w, h, piece_colour(n));
  return image;
}

// Stretch-button strip: per frame three slices of edge width e (left,
// middle, right) in colours 3n, 3n+1, 3n+2; frames `frameWidth` apart.
inline int32_t slice_strip(int frames, int32_t e, int32_t frameWidth, int32_t h) {
  const int32_t image = tk_create_image(-1, frames * frameWidth, h);
  for (int n = 0; n < frames; ++n)
    for (int k = 0; k < 3; ++k) fill(image, n * frameWidth + k * e, 0, e, h, piece_colour(3 * n + k));
  return image;
}

// Tab skin: pieces 0..9 p wide and piece 10 nine wide, 22 high, a one-pixel
// black gap after each.
inline int32_t tab_strip(int32_t p) {
  const int32_t image = tk_create_image(-1, 10 * (p + 1) + 9, 22);
  for (int n = 0; n <= 10; ++n) fill(image, n * (p + 1), 0, n == 10 ? 9 : p, 22, piece_colour(n));
  return image;
}

// Frame skin: twelve s x s pieces, no gap.
inline int32_t frame_skin(int32_t s) {
  const int32_t image = tk_create_image(-1, 12 * s, s);
  for (int n = 0; n < 12; ++n) fill(image, n * s, 0, s, s, piece_colour(n));
  return image;
}

// ---- fixture -----------------------------------------------------------------
class ControlsTest : public ::testing::Test {
 protected:
  static constexpr int32_t kHandle = 4242;  // the window record's handle
  Ui ui;
  WindowRecord* win = nullptr;

  void SetUp() override {
    clock_value() = 100000;
    ui.clock = &fake_clock;
    win = new_window_record(ui, "Main", 0, 0, 800, 600, "", 0);
    win->handle = kHandle;
  }
  // The clock wraps like the toolkit's.
  void advance(int32_t ms) { clock_value() = int32_t(uint32_t(clock_value()) + uint32_t(ms)); }

  // ---- objects ---------------------------------------------------------------
  NamedObject* add(const std::string& name, int8_t kind, int16_t x, int16_t y, int16_t w,
                   int16_t h, const std::string& parent = "") {
    EXPECT_EQ(register_object(ui, name, kind, x, y, w, h, parent), 1) << name;
    NamedObject* o = current_object(ui);
    finish_creation(ui);
    return o;
  }
  NamedObject* container(const std::string& name, int16_t x, int16_t y, int16_t w, int16_t h,
                         const std::string& parent = "") {
    return add(name, Kind::Container, x, y, w, h, parent);
  }
  // A skinned image button (kind 99) with an image strip of `frames`
  // frames set, resting in frame 0.
  NamedObject* skinned(const std::string& name, int16_t x, int16_t y, int16_t w, int16_t h,
                       int frames = 5, const std::string& parent = "") {
    NamedObject* o = add(name, Kind::SkinnedButton, x, y, w, h, parent);
    o->control = std::make_unique<ButtonRecord>(o->kind, 0);
    button_record(*o)->stripImage = frame_strip(frames, w, h);
    button_record(*o)->frameCount = int16_t(frames);
    button_record(*o)->style = ButtonStyle::ImageStrip;
    o->catchMouseOver = 1;
    draw(o, 0);
    return o;
  }
  // A stretch button (kind 101) cut whole (edge width 0), frames w wide.
  NamedObject* stretch(const std::string& name, int16_t x, int16_t y, int16_t w, int16_t h,
                       int8_t toggleMode, const std::string& parent = "") {
    NamedObject* o = skinned(name, x, y, w, h, 5, parent);
    o->kind = Kind::StretchButton;
    button_record(*o)->stretch.emplace();
    stretch_record(*o)->frameWidth = w;
    stretch_record(*o)->toggleMode = static_cast<ToggleMode>(toggleMode);
    return o;
  }

  // A tab bar W wide with the synthetic tab skin (piece width p) and tabs
  // of the given widths, keys "K0", "K1", ..., the first one selected.
  NamedObject* tab_bar(const std::string& name, int16_t x, int16_t y, int16_t W,
                       const std::vector<int16_t>& widths, int8_t p = 18) {
    NamedObject* o = add(name, Kind::TabBar, x, y, W, 22);
    o->canvas = std::make_unique<CanvasRecord>();
    o->canvas->sourceImage = tab_strip(p);
    o->canvas->canvasImage = tk_create_image(-1, W, 22);
    o->control = std::make_unique<TabBarRecord>();
    tab_bar_record(*o)->pieceWidth = p;
    for (size_t i = 0; i < widths.size(); ++i) {
      TabEntry t;
      t.barName = name;
      t.key = "K" + std::to_string(i);
      t.caption = "";
      t.width = widths[i];
      tab_bar_record(*o)->tabs.push_back(t);
    }
    tab_bar_record(*o)->tabCount = int8_t(widths.size());
    o->text = "K0";
    return o;
  }
  // Index of the skin piece drawn at a pixel of an image, -1 for none.
  static int piece_at(int32_t image, int32_t x, int32_t y) {
    return colour_index(tk_image_pixel(image, x, y));
  }

  // ---- reading back ----------------------------------------------------------
  void draw(NamedObject* o, int16_t frame) {
    make_current(ui, o);
    draw_button_frame(ui, *o, frame);
  }
  // The strip frame the button shows now (by the colour of its picture), -1
  // when there is no picture.
  int shown_frame(const NamedObject* o) {
    if (!button_record(*o) || !tk_image_exists(button_record(*o)->shownImage)) return -1;
    return colour_index(tk_image_pixel(button_record(*o)->shownImage, 0, 0));
  }
  int8_t look(const NamedObject* o) { return button_record(*o)->look; }

  // One dispatch; returns the code, the name is in `name()`.
  int8_t dispatch(int32_t x, int32_t y, int32_t kind = 0, int32_t type = -1, int32_t gadget = 0,
                  int32_t menu = 0) {
    dispatch_event(ui, x, y, kind, type, gadget, menu);
    return event_code(ui);
  }
  std::string name() { return event_object_name(ui); }
};

}  // namespace ctest
