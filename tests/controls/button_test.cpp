// Skinned image buttons: which strip pixels a frame is composed from, and
// the push, toggle and radio look sequences.
#include <gtest/gtest.h>

#include "controls/button_looks.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "support/controls_fixtures.h"

using namespace zui;

using ctest::colour_index;
using ctest::ControlsTest;

TEST_F(ControlsTest, WholeFramesAreCutFromTheStripAndOutOfRangeRequestsAreIgnored) {
  NamedObject* b = skinned("ButtonA", 0, 0, 20, 10, 5);  // strip 100 wide
  draw(b, 4);
  EXPECT_EQ(shown_frame(b), 4);
  EXPECT_EQ(tk_image_width(button_record(*b)->shownImage), 20);
  EXPECT_EQ(colour_index(tk_image_pixel(button_record(*b)->shownImage, 19, 9)), 4);

  const int32_t before = button_record(*b)->shownImage;
  for (int16_t n : {5, 6, -1}) {
    draw(b, n);
    EXPECT_EQ(button_record(*b)->shownImage, before) << n;
    EXPECT_EQ(shown_frame(b), 4) << n;
  }
  // Each new frame frees the picture it replaces.
  draw(b, 1);
  EXPECT_NE(button_record(*b)->shownImage, 0);
  EXPECT_EQ(tk_image_exists(before), 0);

  // A frame count larger than the strip holds is still cut only inside it.
  button_record(*b)->frameCount = 9;
  draw(b, 5);
  EXPECT_EQ(shown_frame(b), 1);
}

TEST_F(ControlsTest, StretchFramesAreThreeSlicesWithTheMiddleStretched) {
  NamedObject* b = add("ButtonWide", Kind::StretchButton, 0, 0, 120, 10);
  b->control = std::make_unique<ButtonRecord>(b->kind, 0);
  button_record(*b)->stripImage = ctest::slice_strip(5, 4, 12, 10);
  button_record(*b)->frameCount = 5;
  button_record(*b)->style = ButtonStyle::ImageStrip;
  button_record(*b)->stretch.emplace();
  stretch_record(*b)->edgeWidth = 4;
  stretch_record(*b)->frameWidth = 12;

  const auto slice_at = [&](int x) {
    return colour_index(tk_image_pixel(button_record(*b)->shownImage, x, 5));
  };
  draw(b, 2);  // slices 6, 7, 8
  ASSERT_EQ(tk_image_width(button_record(*b)->shownImage), 120);
  EXPECT_EQ(slice_at(0), 6);
  EXPECT_EQ(slice_at(3), 6);
  EXPECT_EQ(slice_at(4), 7);
  EXPECT_EQ(slice_at(60), 7);
  EXPECT_EQ(slice_at(115), 7);
  EXPECT_EQ(slice_at(116), 8);
  EXPECT_EQ(slice_at(119), 8);

  // The object's width is not bound to the strip's: frame 4 still fits.
  draw(b, 4);
  EXPECT_EQ(slice_at(0), 12);
  // Frame 5 would start beyond the strip.
  draw(b, 5);
  EXPECT_EQ(slice_at(0), 12);
}

TEST_F(ControlsTest, StretchCaptionIsCentredInWhite) {
  NamedObject* b = add("ButtonCaption", Kind::StretchButton, 0, 0, 120, 24);
  b->control = std::make_unique<ButtonRecord>(b->kind, 0);
  button_record(*b)->stripImage = ctest::slice_strip(5, 4, 12, 24);
  button_record(*b)->frameCount = 5;
  button_record(*b)->stretch.emplace();
  stretch_record(*b)->edgeWidth = 4;
  stretch_record(*b)->frameWidth = 12;
  const auto white_columns = [&](int32_t* first, int32_t* last) {
    *first = -1;
    *last = -1;
    for (int x = 0; x < 120; ++x)
      for (int y = 0; y < 24; ++y)
        if (ctest::is_whitish(tk_image_pixel(button_record(*b)->shownImage, x, y))) {
          if (*first < 0) *first = x;
          *last = x;
        }
  };
  int32_t first = 0, last = 0;
  draw(b, 0);
  white_columns(&first, &last);
  EXPECT_EQ(first, -1) << "an empty caption draws no text";

  b->caption = "Save";
  draw(b, 0);
  white_columns(&first, &last);
  ASSERT_GE(first, 0);
  // Centred: the ink is balanced around the middle within a few pixels.
  EXPECT_NEAR((first + last) / 2.0, 60.0, 3.0);
}

TEST_F(ControlsTest, PushButtonLooks) {
  NamedObject* b = skinned("ButtonPush", 0, 0, 20, 20);
  make_current(ui, b);
  button_leave(ui, *b, 0);  // resting already: nothing
  EXPECT_EQ(shown_frame(b), 0);

  button_hover(ui, *b);
  EXPECT_EQ(look(b), Look::Hover);
  EXPECT_EQ(shown_frame(b), 2);
  EXPECT_EQ(win->hoveredObject, b);
  button_press(ui, *b);
  EXPECT_EQ(look(b), Look::Pressed);
  EXPECT_EQ(shown_frame(b), 1);
  button_hover(ui, *b);  // does nothing while pressed
  EXPECT_EQ(shown_frame(b), 1);
  button_leave(ui, *b, 0);
  EXPECT_EQ(look(b), Look::Resting);
  EXPECT_EQ(shown_frame(b), 0);

  // A disabled button returns to its disabled frame.
  b->disabled = 1;
  button_hover(ui, *b);
  button_leave(ui, *b, 0);
  EXPECT_EQ(shown_frame(b), 3);
  b->disabled = 0;

  // Forced leave redraws a resting button; without an image strip it does
  // nothing.
  draw(b, 2);
  button_leave(ui, *b, 1);
  EXPECT_EQ(shown_frame(b), 0);
  button_record(*b)->style = ButtonStyle::AnimationStrip;
  draw(b, 2);
  button_leave(ui, *b, 1);
  EXPECT_EQ(shown_frame(b), 2);
  // Without an image strip a press still applies from the hover look only.
  button_press(ui, *b);
  EXPECT_EQ(look(b), Look::Resting);
}

TEST_F(ControlsTest, HoveringAnotherButtonResetsThePressedOne) {
  NamedObject* a = skinned("ButtonA", 0, 0, 20, 20);
  NamedObject* b = skinned("ButtonB", 30, 0, 20, 20);
  make_current(ui, a);
  button_hover(ui, *a);
  button_press(ui, *a);
  ASSERT_EQ(shown_frame(a), 1);

  make_current(ui, b);
  button_hover(ui, *b);
  EXPECT_EQ(look(a), Look::Resting);
  EXPECT_EQ(shown_frame(a), 0);
  EXPECT_EQ(look(b), Look::Hover);
  EXPECT_EQ(win->hoveredObject, b);
  EXPECT_EQ(current_object(ui), b);

  // A removed button is forgotten, never touched.
  remove_object(ui, "ButtonB", 0);
  EXPECT_EQ(win->hoveredObject, nullptr);
  make_current(ui, a);
  button_hover(ui, *a);
  EXPECT_EQ(win->hoveredObject, a);
}

TEST_F(ControlsTest, ToggleButtonSequence) {
  NamedObject* t = stretch("ButtonToggle", 0, 0, 20, 20, 1);
  make_current(ui, t);
  button_hover(ui, *t);
  EXPECT_EQ(shown_frame(t), 2);  // hover while off
  button_press(ui, *t);
  EXPECT_EQ(t->text, "1");
  EXPECT_EQ(shown_frame(t), 4);
  button_leave(ui, *t, 0);
  EXPECT_EQ(shown_frame(t), 1);  // resting, on

  button_hover(ui, *t);
  EXPECT_EQ(shown_frame(t), 4);  // hover while on
  button_press(ui, *t);
  EXPECT_EQ(t->text, "0");
  EXPECT_EQ(shown_frame(t), 2);
  button_leave(ui, *t, 0);
  EXPECT_EQ(shown_frame(t), 0);
}

TEST_F(ControlsTest, RadioButtonsAreExclusiveWithinTheirParent) {
  container("GroupA", 0, 0, 200, 50);
  container("GroupB", 0, 60, 200, 50);
  NamedObject* r1 = stretch("Radio1", 0, 0, 20, 20, 2, "GroupA");
  NamedObject* r2 = stretch("Radio2", 30, 0, 20, 20, 2, "GroupA");
  NamedObject* r3 = stretch("Radio3", 60, 0, 20, 20, 2, "GroupA");
  NamedObject* other = stretch("RadioOther", 0, 0, 20, 20, 2, "GroupB");
  NamedObject* toggle = stretch("ToggleSameGroup", 90, 0, 20, 20, 1, "GroupA");
  for (NamedObject* o : {r1, r2, other, toggle}) {
    o->text = "1";
    draw(o, 1);
  }

  make_current(ui, r3);
  button_press(ui, *r3);
  EXPECT_EQ(r3->text, "1");
  EXPECT_EQ(shown_frame(r3), 4);
  EXPECT_EQ(current_object(ui), r3);
  for (NamedObject* o : {r1, r2}) {
    EXPECT_EQ(o->text, "0") << o->name;
    EXPECT_EQ(shown_frame(o), 0) << o->name;
  }
  // Other groups and non-radio buttons keep their state.
  EXPECT_EQ(other->text, "1");
  EXPECT_EQ(toggle->text, "1");
  EXPECT_EQ(shown_frame(toggle), 1);

  // Clicking an on radio button changes nothing but its look byte.
  button_leave(ui, *r3, 0);
  const int32_t picture = button_record(*r3)->shownImage;
  button_press(ui, *r3);
  EXPECT_EQ(r3->text, "1");
  EXPECT_EQ(button_record(*r3)->shownImage, picture);
  EXPECT_EQ(look(r3), Look::Pressed);
}

TEST_F(ControlsTest, PressOutcomeIsDecidedWithoutDrawing) {
  NamedObject o;
  o.kind = Kind::StretchButton;
  o.control = std::make_unique<ButtonRecord>(o.kind, 0);
  button_record(o)->stretch.emplace();
  // No image strip and not hovered: a click does nothing to the look.
  EXPECT_FALSE(press_outcome(o).applies);
  button_record(o)->look = Look::Hover;
  EXPECT_TRUE(press_outcome(o).applies);
  // Kinds without skinned frames never get a pressed look.
  o.kind = Kind::ImageButton;
  EXPECT_FALSE(press_outcome(o).applies);
  o.kind = Kind::StretchButton;
  stretch_record(o)->toggleMode = ToggleMode::Radio;
  o.text = "0";
  const PressOutcome on = press_outcome(o);
  EXPECT_EQ(on.frame, ButtonFrame::HoverOn);
  EXPECT_EQ(on.newState, '1');
  EXPECT_TRUE(on.switchOffRadioSiblings);
  o.text = "1";
  const PressOutcome stay = press_outcome(o);
  EXPECT_EQ(stay.frame, ButtonFrame::None);
  EXPECT_EQ(stay.newState, 0);
}

TEST_F(ControlsTest, OperationsOnAGivenButtonLeaveTheCurrentObjectAlone) {
  NamedObject* page = container("Page", 0, 0, 200, 50);
  NamedObject* r1 = stretch("Radio1", 0, 0, 20, 20, 2, "Page");
  NamedObject* r2 = stretch("Radio2", 30, 0, 20, 20, 2, "Page");
  NamedObject* bar = tab_bar("Tabs", 0, 100, 400, {108, 108});
  r1->text = "1";
  draw(r1, 1);

  make_current(ui, nullptr);
  button_hover(ui, *r2);
  button_press(ui, *r2);
  EXPECT_EQ(r1->text, "0");
  EXPECT_EQ(shown_frame(r1), 0);
  reset_page_buttons(ui, *bar, "Page");
  EXPECT_EQ(look(r2), Look::Resting);
  EXPECT_EQ(current_object(ui), nullptr);

  make_current(ui, page);
  button_hover(ui, *r1);
  EXPECT_EQ(win->hoveredObject, r1);
  draw_tab_bar(ui, *bar);
  tab_bar_click(ui, *bar, bar->absX + 150, bar->absY + 10);
  EXPECT_EQ(bar->text, "K1");
  EXPECT_EQ(current_object(ui), page);
}

TEST_F(ControlsTest, InAWindowWhoseButtonsFireOnReleaseOnlyALetGoOverTheButtonClicks) {
  win->flags = kWindowButtonsFireOnRelease;
  struct Case {
    int8_t mode;      // 0 push, 1 toggle
    bool draggedOff;  // the mouse left the button before it was let go
    int8_t code;      // reported on the release
    const char* text;
    int frame;  // shown afterwards
  };
  const Case cases[] = {
      {0, false, Code::LeftClick, "", 2},  // a push button hovers after its click
      {0, true, Code::None, "", 0},
      {1, false, Code::LeftClick, "1", 4},  // a toggle switches on the release
      {1, true, Code::None, "", 0},
  };
  int16_t x = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(x);
    NamedObject* b = stretch("Button" + std::to_string(x), x, 0, 20, 20, c.mode);
    dispatch(x + 5, 5);
    EXPECT_EQ(dispatch(x + 5, 5, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, b->gadget), Code::None);
    EXPECT_EQ(look(b), Look::Pressed);
    EXPECT_EQ(shown_frame(b), c.mode == 0 ? 1 : 2);  // held: pressed, or a toggle's hover
    EXPECT_EQ(b->text, "");
    const int16_t letGoX = c.draggedOff ? x + 50 : x + 5;
    dispatch(letGoX, 5);
    EXPECT_EQ(dispatch(letGoX, 5, TK_EVENT_GADGET, TK_TYPE_LEFT_RELEASE, b->gadget), c.code);
    EXPECT_EQ(b->text, c.text);
    EXPECT_EQ(shown_frame(b), c.frame);
    x += 100;
  }
}
