// Renders every skinned control in each of its states to /tmp for looking
// at: one PNG per control and state, plus one sheet with all of them at
// double size. Run with --gtest_also_run_disabled_tests.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "controls/controls.h"
#include "framework/framework.h"
#include "support/controls_fixtures.h"

using namespace zui;

using ctest::ControlsTest;

namespace {

class Gallery : public ControlsTest {
 protected:
  std::vector<std::pair<std::string, int32_t>> shots;  // name, copied picture

  void shoot(const std::string& name, int32_t image) {
    const int32_t copy = tk_copy_image(image, -1);
    tk_save_image(copy, "/tmp/controls_" + name + ".png");
    shots.emplace_back(name, copy);
  }
  void sheet() {
    int32_t height = 0;
    for (auto& s : shots) height += 2 * tk_image_height(s.second) + 22;
    const int32_t image = tk_create_image(-1, 820, height);
    tk_start_drawing(tk_image_output(image));
    tk_draw_box(0, 0, 820, height, 0x808080);
    tk_drawing_mode(TK_DRAW_TRANSPARENT);
    int32_t y = 0;
    for (auto& s : shots) {
      tk_draw_text(4, y + 2, s.first, 0xFFFFFF);
      y += 20;
      tk_draw_image(tk_image_handle(s.second), 4, y, 2 * tk_image_width(s.second),
                    2 * tk_image_height(s.second));
      y += 2 * tk_image_height(s.second) + 2;
    }
    tk_stop_drawing();
    tk_save_image(image, "/tmp/controls_sheet.png");
  }
};

// A strip whose frames look like buttons: a border and a face per look.
int32_t button_strip(int frames, int w, int h) {
  const int32_t faces[] = {0x505050, 0x202080, 0x707030, 0x404040, 0x309030};
  const int32_t image = tk_create_image(-1, frames * w, h);
  tk_start_drawing(tk_image_output(image));
  for (int n = 0; n < frames; ++n) {
    tk_draw_box(n * w, 0, w, h, 0xC0C0C0);
    tk_draw_box(n * w + 2, 2, w - 4, h - 4, faces[n % 5]);
  }
  tk_stop_drawing();
  return image;
}

}  // namespace

TEST_F(Gallery, DISABLED_RenderEveryControlAndState) {
  // Skinned button: rest, hover, pressed, leave, disabled.
  NamedObject* b = skinned("ButtonIcon", 0, 0, 30, 24);
  button_record(*b)->stripImage = button_strip(5, 30, 24);
  draw(b, 0);
  shoot("button_rest", button_record(*b)->shownImage);
  dispatch(10, 10);
  shoot("button_hover", button_record(*b)->shownImage);
  dispatch(10, 10, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, 1);
  shoot("button_pressed", button_record(*b)->shownImage);
  dispatch(-1, -1);
  shoot("button_left", button_record(*b)->shownImage);
  b->disabled = 1;
  make_current(ui, b);
  button_leave(ui, *b, 1);
  shoot("button_disabled", button_record(*b)->shownImage);
  b->disabled = 0;

  // Stretch toggle with a caption: off, hover, on.
  NamedObject* t = add("ButtonToggleSave", Kind::StretchButton, 100, 0, 140, 24);
  t->caption = "Save version";
  t->control = std::make_unique<ButtonRecord>(t->kind, 0);
  button_record(*t)->stripImage = button_strip(5, 12, 24);
  button_record(*t)->frameCount = 5;
  button_record(*t)->style = ButtonStyle::ImageStrip;
  button_record(*t)->stretch.emplace();
  stretch_record(*t)->edgeWidth = 4;
  stretch_record(*t)->frameWidth = 12;
  stretch_record(*t)->toggleMode = ToggleMode::Toggle;
  draw(t, 0);
  shoot("stretch_off", button_record(*t)->shownImage);
  dispatch(150, 10);
  shoot("stretch_hover", button_record(*t)->shownImage);
  dispatch(150, 10, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, 1);
  dispatch(-1, -1);
  shoot("stretch_on", button_record(*t)->shownImage);

  // Tab bar: first selected, second selected, overflowing, scrolled.
  NamedObject* bar = tab_bar("TabBarHead", 0, 100, 400, {108, 108, 108});
  const char* captions[] = {"General", "Parties", "Documents"};
  for (int i = 0; i < 3; ++i) tab_bar_record(*bar)->tabs[size_t(i)].caption = captions[i];
  make_current(ui, bar);
  draw_tab_bar(ui, *bar);
  shoot("tabs_first", bar->canvas->canvasImage);
  dispatch(150, 110, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, 1);
  shoot("tabs_second", bar->canvas->canvasImage);
  bar->width = 250;
  make_current(ui, bar);
  draw_tab_bar(ui, *bar);
  shoot("tabs_overflow", bar->canvas->canvasImage);
  make_current(ui, bar);
  tab_bar_click(ui, *bar, 245, 105);
  shoot("tabs_scrolled", bar->canvas->canvasImage);

  // Frames: captioned, plain, corners only.
  for (auto [name, w, h, s, caption] :
       std::vector<std::tuple<std::string, int16_t, int16_t, int8_t, std::string>>{
           {"frame_caption", 200, 100, 20, "Case data"},
           {"frame_plain", 200, 100, 10, ""},
           {"frame_tiny", 20, 20, 10, ""}}) {
    NamedObject* f = add("Frame" + name, Kind::Frame, 0, 200, w, h);
    f->caption = caption;
    f->canvas = std::make_unique<CanvasRecord>();
    f->canvas->sourceImage = ctest::frame_skin(s);
    f->canvas->canvasImage = tk_create_image(-1, 1, 1);
    f->canvas->iconSize = s;
    make_current(ui, f);
    draw_frame(ui, *f);
    shoot(name, f->canvas->canvasImage);
  }
  sheet();
}
