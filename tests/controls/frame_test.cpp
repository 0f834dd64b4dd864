// Frames: nine-slice composition from the twelve square pieces, captioned
// and plain top rows, the caption centred in white, tiny frames.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "controls/frame_geometry.h"
#include "framework/framework.h"
#include "support/controls_fixtures.h"

using namespace zui;

using ctest::ControlsTest;

namespace {

class FrameTest : public ControlsTest {
 protected:
  NamedObject* frame(const std::string& name, int16_t w, int16_t h, int8_t s,
                     const std::string& caption = "") {
    NamedObject* o = add(name, Kind::Frame, 0, 0, w, h);
    o->visible = -2;
    o->caption = caption;
    o->canvas = std::make_unique<CanvasRecord>();
    o->canvas->sourceImage = ctest::frame_skin(s);
    o->canvas->canvasImage = tk_create_image(-1, 1, 1);
    o->canvas->iconSize = s;
    make_current(ui, o);
    draw_frame(ui, *o);
    return o;
  }
  int at(NamedObject* o, int x, int y) { return piece_at(o->canvas->canvasImage, x, y); }
};

}  // namespace

TEST_F(FrameTest, CornersStayEdgesAndCentreStretch) {
  NamedObject* f = frame("FramePlain", 200, 100, 10);
  ASSERT_EQ(tk_image_width(f->canvas->canvasImage), 200);
  ASSERT_EQ(tk_image_height(f->canvas->canvasImage), 100);
  const struct {
    int x, y, piece;
  } expect[] = {
      {0, 0, 8},    {9, 9, 8},    {10, 0, 9},   {189, 9, 9},  {190, 0, 10}, {199, 9, 10},
      {0, 10, 3},   {9, 89, 3},   {190, 10, 4}, {199, 89, 4}, {0, 90, 5},   {9, 99, 5},
      {10, 90, 6},  {189, 99, 6}, {190, 90, 7}, {199, 99, 7}, {10, 10, 11}, {189, 89, 11},
      {100, 50, 11},
  };
  for (const auto& e : expect) EXPECT_EQ(at(f, e.x, e.y), e.piece) << e.x << "," << e.y;

  // The geometry behind it: the top edge 180 x 10, the sides 10 x 80.
  const auto parts = frame_parts(200, 100, 10, false);
  EXPECT_EQ(parts[1].w, 180);
  EXPECT_EQ(parts[1].h, 10);
  EXPECT_EQ(parts[3].w, 10);
  EXPECT_EQ(parts[3].h, 80);
}

TEST_F(FrameTest, CaptionSwitchesTheTopRowAndIsCentredInWhite) {
  NamedObject* f = frame("FrameCaption", 200, 100, 20, "Case");
  EXPECT_EQ(at(f, 0, 0), 0);
  EXPECT_EQ(at(f, 21, 0), 1);
  EXPECT_EQ(at(f, 199, 0), 2);
  int first = -1, last = -1;
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 20; ++y)
      if (ctest::is_whitish(tk_image_pixel(f->canvas->canvasImage, x, y))) {
        if (first < 0) first = x;
        last = x;
      }
  ASSERT_GE(first, 0);
  EXPECT_NEAR((first + last) / 2.0, 100.0, 2.5);

  f->caption.clear();
  make_current(ui, f);
  draw_frame(ui, *f);
  EXPECT_EQ(at(f, 0, 0), 8);
  EXPECT_EQ(at(f, 21, 0), 9);
  EXPECT_EQ(at(f, 199, 0), 10);
}

TEST_F(FrameTest, SmallFramesAndResizes) {
  // 2s x 2s: the four corners and nothing stretched.
  NamedObject* tiny = frame("FrameTiny", 20, 20, 10);
  EXPECT_EQ(at(tiny, 0, 0), 8);
  EXPECT_EQ(at(tiny, 10, 0), 10);
  EXPECT_EQ(at(tiny, 0, 10), 5);
  EXPECT_EQ(at(tiny, 19, 19), 7);
  for (const FramePart& p : frame_parts(20, 20, 10, false))
    EXPECT_EQ(p.drawn, !p.stretched) << p.piece;

  // A resize is picked up at the next drawing.
  tiny->width = 60;
  make_current(ui, tiny);
  draw_frame(ui, *tiny);
  EXPECT_EQ(tk_image_width(tiny->canvas->canvasImage), 60);
  EXPECT_EQ(at(tiny, 30, 0), 9);

  // Without a valid skin nothing is drawn and nothing breaks.
  tk_free_image(tiny->canvas->sourceImage);
  tiny->width = 80;
  draw_frame(ui, *tiny);
  EXPECT_EQ(tk_image_width(tiny->canvas->canvasImage), 60);
}

// Held drawings: a frame drawn while drawings are held owes its drawing and
// keeps its old picture; letting go draws it once; a removed frame owes
// nothing.
TEST_F(FrameTest, HeldDrawingsAreMadeOnceWhenLetGo) {
  register_control_kinds(ui);  // letting go draws through the kind table
  hold_drawings(ui, true);
  NamedObject* f = frame("FrameHeld", 200, 100, 10);
  draw_frame(ui, *f);
  EXPECT_EQ(tk_image_width(f->canvas->canvasImage), 1);  // not drawn yet
  ASSERT_EQ(ui.owed.size(), 1u);
  NamedObject* gone = frame("FrameGone", 50, 50, 10);
  ASSERT_EQ(ui.owed.size(), 2u);
  ASSERT_EQ(remove_object(ui, "FrameGone", 0), 1);
  EXPECT_EQ(ui.owed.size(), 1u);
  (void)gone;
  hold_drawings(ui, false);
  EXPECT_TRUE(ui.owed.empty());
  EXPECT_EQ(f->drawOwed, 0);
  EXPECT_EQ(tk_image_width(f->canvas->canvasImage), 200);
  EXPECT_EQ(at(f, 100, 50), 11);
}
