// Strip animations (every run mode's frame sequence, timing, the disabled
// end) and visibility propagation down the object tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/controls.h"
#include "framework/framework.h"
#include "support/controls_fixtures.h"

using namespace zui;

using ctest::ControlsTest;

namespace {

class AnimationTest : public ControlsTest {
 protected:
  NamedObject* arrow = nullptr;

  void SetUp() override {
    ControlsTest::SetUp();
    arrow = skinned("Arrow", 0, 0, 10, 10, 6);
    button_record(*arrow)->style = ButtonStyle::Both;
    button_record(*arrow)->firstFrame = 0;
    button_record(*arrow)->lastFrame = 4;
    button_record(*arrow)->delay = 50;
  }
  // What starting a run does: look 16 + mode, the frame just outside the
  // range so that the first step shows the range's first frame.
  void start(int8_t mode) {
    ButtonRecord& b = *button_record(*arrow);
    b.look = int8_t(16 + mode);
    b.frame = int16_t(b.look < 32 ? b.firstFrame - 1 : b.lastFrame + 1);
  }
  // Runs `steps` due steps; each entry is the frame shown after the step,
  // 'E' for the step that ended the run (look back to 0), '.' for a turning
  // step that showed nothing, '?' for a picture that is not the frame.
  std::string run(int steps) {
    std::string seen;
    const ButtonRecord& b = *button_record(*arrow);
    for (int i = 0; i < steps; ++i) {
      advance(50);
      make_current(ui, arrow);
      animation_step(ui, *arrow);
      if (b.look == 0) {
        seen += 'E';
        break;
      }
      if (b.frame < b.firstFrame || b.frame > b.lastFrame)
        seen += '.';
      else
        seen += shown_frame(arrow) == b.frame ? char('0' + b.frame) : '?';
    }
    return seen;
  }
};

}  // namespace

TEST_F(AnimationTest, OnceRunsForwardAndBackward) {
  start(0);
  EXPECT_EQ(run(10), "0123E");
  start(1);
  EXPECT_EQ(run(10), "0123E");
  start(16);
  EXPECT_EQ(run(10), "43210E");
  start(20);  // look 36: backward once
  EXPECT_EQ(run(10), "43210E");
}

TEST_F(AnimationTest, RepeatingAndTurningModes) {
  start(2);  // forward without end
  EXPECT_EQ(run(10), "0123.0123.");
  start(17);  // backward without end
  EXPECT_EQ(run(12), "43210.43210.");
  start(3);  // forward, then backward once
  EXPECT_EQ(run(20), "0123.43210E");
  start(18);  // backward, then forward once
  EXPECT_EQ(run(20), "43210.0123E");
  start(4);  // there and back without end
  EXPECT_EQ(run(16), "0123.43210.0123.");
  start(19);
  EXPECT_EQ(run(16), "43210.0123.43210");
}

TEST_F(AnimationTest, StepsComeOnlyAfterTheDelay) {
  start(0);
  run(1);
  const int32_t picture = button_record(*arrow)->shownImage;
  advance(49);
  make_current(ui, arrow);
  animation_step(ui, *arrow);
  EXPECT_EQ(button_record(*arrow)->frame, 0);
  EXPECT_EQ(button_record(*arrow)->shownImage, picture);
  advance(1);
  animation_step(ui, *arrow);
  EXPECT_EQ(button_record(*arrow)->frame, 1);

  // The clock wraps round; a step is still due once the delay has passed.
  ctest::clock_value() = INT32_MAX - 10;
  animation_step(ui, *arrow);
  EXPECT_EQ(button_record(*arrow)->frame, 2);
  advance(49);  // wraps to a negative value
  animation_step(ui, *arrow);
  EXPECT_EQ(button_record(*arrow)->frame, 2);
  advance(1);
  animation_step(ui, *arrow);
  EXPECT_EQ(button_record(*arrow)->frame, 3);
}

TEST_F(AnimationTest, OnlyOneFrameImageExistsAndADisabledButtonEndsDisabled) {
  start(0);
  std::vector<int32_t> pictures;
  for (int i = 0; i < 4; ++i) {
    run(1);
    pictures.push_back(button_record(*arrow)->shownImage);
  }
  for (size_t i = 0; i + 1 < pictures.size(); ++i) EXPECT_EQ(tk_image_exists(pictures[i]), 0);
  EXPECT_EQ(tk_image_exists(pictures.back()), 1);

  arrow->disabled = 1;
  EXPECT_EQ(run(1), "E");
  EXPECT_EQ(shown_frame(arrow), 3);
}

TEST_F(AnimationTest, RemovingARunningHoveredButtonLeavesNothingBehind) {
  dispatch(5, 5);
  ASSERT_EQ(win->hoveredObject, arrow);
  start(2);  // forward without end: only removal ends it
  EXPECT_EQ(run(2), "01");
  const int32_t picture = button_record(*arrow)->shownImage;
  EXPECT_EQ(remove_object(ui, "Arrow", 1), 1);
  arrow = nullptr;
  EXPECT_EQ(win->hoveredObject, nullptr);
  EXPECT_EQ(tk_image_exists(picture), 0);
  // The dispatcher keeps stepping, hovering and clicking where it was.
  for (int i = 0; i < 6; ++i) {
    advance(50);
    EXPECT_EQ(dispatch(5, 5), Code::None);
  }
  EXPECT_EQ(dispatch(5, 5, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK), Code::None);
  EXPECT_EQ(find_object(ui, "Arrow", 0), -1);
}

// ---- visibility ------------------------------------------------------------

TEST_F(ControlsTest, VisibilityPropagatesByModeAndKeepsTheCurrentObject) {
  container("Top", 0, 0, 100, 100);
  NamedObject* plain = add("Plain", Kind::Input, 0, 0, 10, 10, "Top");
  NamedObject* inner = container("Inner", 0, 0, 50, 50, "Top");
  NamedObject* deep = add("Deep", Kind::Input, 0, 0, 10, 10, "Inner");
  NamedObject* tabHidden = add("TabHidden", Kind::Input, 0, 0, 10, 10, "Inner");
  NamedObject* pinned = add("Pinned", Kind::Frame, 0, 0, 10, 10, "Inner");
  NamedObject* below = add("BelowTabHidden", Kind::Input, 0, 0, 10, 10, "TabHidden");
  NamedObject* stranger = add("Stranger", Kind::Input, 0, 0, 10, 10);
  tabHidden->visible = -1;
  pinned->visible = -2;

  make_current(ui, stranger);
  propagate_visibility(ui, "Top", 0, 0);
  EXPECT_EQ(current_object(ui), stranger);
  for (NamedObject* o : {plain, inner, deep, below}) EXPECT_EQ(o->visible, 0) << o->name;
  EXPECT_EQ(tabHidden->visible, -1);  // children are visited anyway
  EXPECT_EQ(pinned->visible, -2);
  EXPECT_EQ(stranger->visible, 1);

  propagate_visibility(ui, "Top", 1, 0);
  for (NamedObject* o : {plain, inner, deep, below}) EXPECT_EQ(o->visible, 1) << o->name;
  EXPECT_EQ(tabHidden->visible, -1);

  propagate_visibility(ui, "Top", -1, 1);
  EXPECT_EQ(tabHidden->visible, -1);
  EXPECT_EQ(deep->visible, -1);
  propagate_visibility(ui, "Top", 1, 1);
  EXPECT_EQ(tabHidden->visible, 1);
  EXPECT_EQ(pinned->visible, -2);
  propagate_visibility(ui, "Top", 1, 2);
  EXPECT_EQ(pinned->visible, 1);

  // An unknown name changes nothing; the current position stays.
  make_current(ui, nullptr);
  propagate_visibility(ui, "Nobody", 0, 2);
  EXPECT_EQ(current_object(ui), nullptr);
  EXPECT_EQ(plain->visible, 1);
}

TEST_F(ControlsTest, VisibilityEndsOnParentNameCycles) {
  NamedObject* a = container("LoopA", 0, 0, 10, 10);
  NamedObject* b = container("LoopB", 0, 0, 10, 10, "LoopA");
  a->parentName = "LoopB";  // as after a rename gone wrong
  propagate_visibility(ui, "LoopA", 0, 0);
  EXPECT_EQ(a->visible, 0);
  EXPECT_EQ(b->visible, 0);
}
