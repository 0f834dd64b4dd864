// Operations by name: values against live update and force, visibility,
// enabled state, labels, strips and animations, tab selection, and what
// unknown names do.
#include <QWidget>

#include "grid/grid_records.h"
#include "support/framework_fixtures.h"
#include "toolkit/tk_native.h"

using namespace zui;

using fwtest::FrameworkTest;
using fwtest::make_strip;
using fwtest::strip_colour;

namespace {

bool gadget_hidden(int32_t gadget) {
  QWidget* w = tk_gadget_widget(gadget);
  return w && w->isHidden();
}

}  // namespace

TEST_F(FrameworkTest, SetTextChangesValueKindsOnlyAndHonoursLiveUpdate) {
  create_text(ui, "Label", 0, 0, 100, 20, "label", 0, "");
  create_button(ui, "Push", 0, 30, 100, 20, "push", 0, "");
  create_input(ui, "In", 0, 60, 100, 20, "a", 0, "");
  set_text(ui, "Label", "changed", 1);
  set_text(ui, "Push", "changed", 1);
  EXPECT_EQ(obj("Label")->text, "");
  EXPECT_EQ(tk_get_gadget_text(obj("Label")->gadget), "label");
  EXPECT_EQ(tk_get_gadget_text(obj("Push")->gadget), "push");

  set_text(ui, "In", "b", 0);
  EXPECT_EQ(tk_get_gadget_text(obj("In")->gadget), "b");
  EXPECT_EQ(current_object(ui), obj("In"));

  set_live_update(ui, "Main", 0);
  set_text(ui, "In", "c", 0);
  EXPECT_EQ(obj("In")->text, "c");
  EXPECT_EQ(tk_get_gadget_text(obj("In")->gadget), "b");
  set_text(ui, "In", "d", 1);
  EXPECT_EQ(tk_get_gadget_text(obj("In")->gadget), "d");
}

TEST_F(FrameworkTest, GetTextReadsTheGadgetByKind) {
  create_input(ui, "In", 0, 0, 100, 20, "stored", 0, "");
  tk_set_gadget_text(obj("In")->gadget, "typed");
  EXPECT_EQ(get_text(ui, "In"), "typed");
  EXPECT_EQ(obj("In")->text, "typed");

  create_check_box(ui, "Check", 0, 30, 100, 20, 1, "Caption", 0, "");
  tk_set_gadget_state(obj("Check")->gadget, 0);
  EXPECT_EQ(get_text(ui, "Check"), "0");

  create_combo(ui, "Combo", 0, 60, 100, 120, "", 0, "");
  for (const char* k : {"a", "b", "c"}) add_item(ui, "Combo", k, k, 0, 0, -1);
  tk_set_gadget_state(obj("Combo")->gadget, 2);
  EXPECT_EQ(get_text(ui, "Combo"), "2");

  create_text(ui, "Label", 0, 90, 100, 20, "shown", 0, "");
  EXPECT_EQ(get_text(ui, "Label"), "");
  EXPECT_EQ(get_text(ui, "Ghost"), "");

  // A tab bar answers with the index; its record keeps the selected key,
  // which its drawing and clicks compare against.
  const int32_t source = make_strip(9, 18, 22);
  create_tab_bar(ui, "Tabs", 0, 200, 500, source, 18, 0, "");
  add_tab(ui, "Tabs", "First", "First", "", 0);
  add_tab(ui, "Tabs", "Second", "Second", "", 0);
  select_tab(ui, "Tabs", 1, 1);
  EXPECT_EQ(obj("Tabs")->text, "Second");
  EXPECT_EQ(get_text(ui, "Tabs"), "1");
  EXPECT_EQ(obj("Tabs")->text, "Second");
  tk_free_image(source);
}

TEST_F(FrameworkTest, ShowObjectMarksTheSubtreeAndAppliesWhenLive) {
  create_container(ui, "Box", 0, 0, 300, 300, 0, "");
  create_input(ui, "In", 0, 0, 50, 20, "", 0, "Box");
  create_container(ui, "Pinned", 0, 30, 50, 50, 0, "Box");
  pin_object(ui, "Pinned");
  create_container(ui, "TabHidden", 0, 90, 50, 50, 0, "Box");
  obj("TabHidden")->visible = -1;

  show_object(ui, "Box", 0, 0);
  EXPECT_EQ(obj("Box")->hidden, 1);
  EXPECT_EQ(obj("Box")->visible, 0);
  EXPECT_EQ(obj("In")->visible, 0);
  EXPECT_EQ(obj("Pinned")->visible, -2);
  EXPECT_EQ(obj("TabHidden")->visible, -1);
  EXPECT_TRUE(gadget_hidden(obj("Box")->gadget));
  EXPECT_EQ(current_object(ui), obj("Box"));

  show_object(ui, "Box", 1, 0);
  EXPECT_EQ(obj("Box")->hidden, 0);
  EXPECT_EQ(obj("In")->visible, 1);
  EXPECT_EQ(obj("Pinned")->visible, -2);
  EXPECT_FALSE(gadget_hidden(obj("Box")->gadget));

  // Not live: records only, unless forced.
  set_live_update(ui, "Main", 0);
  show_object(ui, "In", 0, 0);
  EXPECT_EQ(obj("In")->hidden, 1);
  EXPECT_FALSE(gadget_hidden(obj("In")->gadget));
  show_object(ui, "In", 0, 1);
  EXPECT_TRUE(gadget_hidden(obj("In")->gadget));
}

TEST_F(FrameworkTest, DisableDrawsTheDisabledFrameAndEnablingTheResting) {
  const int32_t strip = make_strip(5, 20, 16);
  create_image_button_skinned(ui, "Button", 0, 0, strip, "");
  ASSERT_EQ(set_button_strip(ui, "Button", 20, strip), 1);
  const int32_t g = obj("Button")->gadget;
  EXPECT_EQ(tk_gadget_pixel(g, 3, 3), strip_colour(0));

  disable_object(ui, "Button", 1);
  EXPECT_EQ(obj("Button")->disabled, 1);
  EXPECT_EQ(tk_gadget_pixel(g, 3, 3), strip_colour(3));
  EXPECT_FALSE(tk_gadget_widget(g)->isEnabled());

  disable_object(ui, "Button", 0);
  EXPECT_EQ(obj("Button")->disabled, 0);
  EXPECT_EQ(tk_gadget_pixel(g, 3, 3), strip_colour(0));
  EXPECT_TRUE(tk_gadget_widget(g)->isEnabled());

  // Plain gadgets are only disabled.
  create_input(ui, "In", 0, 40, 50, 20, "", 0, "");
  disable_object(ui, "In", 5);
  EXPECT_EQ(obj("In")->disabled, 1);
  EXPECT_FALSE(tk_gadget_widget(obj("In")->gadget)->isEnabled());
  tk_free_image(strip);
}

TEST_F(FrameworkTest, ColoursFontsAndPinning) {
  const int32_t source = make_strip(9, 20, 40);
  create_grid(ui, "Grid", 0, 0, 300, 100, source, 20, "");
  set_color(ui, "Grid", 1, 0x123456);
  EXPECT_EQ(grid_record(*obj("Grid"))->gridColor, 0x5E5E5E);
  set_color(ui, "Grid", 3, 0x123456);
  EXPECT_EQ(grid_record(*obj("Grid"))->gridColor, 0x123456);

  pin_object(ui, "Grid");
  EXPECT_EQ(obj("Grid")->visible, -2);

  EXPECT_EQ(set_window_font(ui, "Sans", 0, 0), 0);
  EXPECT_EQ(current_window(ui)->font, 0);
  EXPECT_EQ(set_window_font(ui, "Sans", 9, 0), 1);
  EXPECT_NE(current_window(ui)->font, 0);
  tk_free_image(source);
}

TEST_F(FrameworkTest, LabelSitsLeftOfTheObjectInItsParent) {
  create_container(ui, "Panel", 10, 10, 400, 200, 0, "");
  create_input(ui, "Case", 100, 30, 120, 20, "", 0, "Panel");
  EXPECT_EQ(set_label(ui, "Case", "Case no.", 80, -1, 0x0000FF), 1);
  ASSERT_TRUE(obj("Case")->labelData);
  const int32_t label = obj("Case")->labelData->labelGadget;
  EXPECT_EQ(obj("Case")->labelData->labelWidth, 80);
  EXPECT_EQ(tk_gadget_x(label), 20);
  EXPECT_EQ(tk_gadget_y(label), 34);
  EXPECT_EQ(tk_gadget_width(label), 80);
  EXPECT_EQ(tk_gadget_height(label), 20);
  EXPECT_EQ(tk_get_gadget_text(label), "Case no.");
  EXPECT_TRUE(tk_gadget_widget(obj("Panel")->gadget)->isAncestorOf(tk_gadget_widget(label)));
  EXPECT_EQ(current_object(ui), obj("Case"));

  // Labelling again replaces the label.
  EXPECT_EQ(set_label(ui, "Case", "Number", 60, -1, -1), 1);
  EXPECT_EQ(tk_gadget_exists(label), 0);
  EXPECT_EQ(tk_gadget_x(obj("Case")->labelData->labelGadget), 40);

  // Kinds with a caption of their own take the text instead.
  create_text(ui, "Caption", 0, 0, 100, 20, "old", 0, "");
  EXPECT_EQ(set_label(ui, "Caption", "new", 80, -1, -1), 1);
  EXPECT_EQ(tk_get_gadget_text(obj("Caption")->gadget), "new");
  EXPECT_FALSE(obj("Caption")->labelData);
  EXPECT_EQ(set_label(ui, "Ghost", "x", 80, -1, -1), 0);
}

TEST_F(FrameworkTest, ButtonStripMustHoldWholeFrames) {
  const int32_t strip = make_strip(6, 20, 16);  // 120 wide
  create_image_button_skinned(ui, "Button", 0, 0, strip, "");
  NamedObject* b = obj("Button");

  EXPECT_EQ(set_button_strip(ui, "Button", 50, strip), 0);
  EXPECT_EQ(b->width, 120);
  EXPECT_EQ(button_record(*b)->style, ButtonStyle::None);
  EXPECT_EQ(b->catchMouseOver, 0);
  EXPECT_EQ(set_button_strip(ui, "Button", 0, strip), 0);
  EXPECT_EQ(set_button_strip(ui, "Button", 40, 424242), 0);
  EXPECT_EQ(button_record(*b)->stripImage, strip);

  EXPECT_EQ(set_button_strip(ui, "Button", 40, 0), 1);  // keeps the strip it has
  EXPECT_EQ(button_record(*b)->frameCount, 3);
  EXPECT_EQ(button_record(*b)->style, ButtonStyle::ImageStrip);
  EXPECT_EQ(b->catchMouseOver, 1);
  EXPECT_EQ(b->width, 40);
  EXPECT_EQ(tk_gadget_width(b->gadget), 40);
  EXPECT_EQ(tk_gadget_pixel(b->gadget, 25, 3), strip_colour(1));

  // A stretch button keeps its width and stores the frame width.
  create_stretch_button(ui, "Stretch", 0, 40, 90, "", strip, 0, 0, "");
  EXPECT_EQ(set_button_strip(ui, "Stretch", 60, strip), 1);
  EXPECT_EQ(obj("Stretch")->width, 90);
  EXPECT_EQ(stretch_record(*obj("Stretch"))->frameWidth, 60);

  create_input(ui, "In", 0, 80, 50, 20, "", 0, "");
  EXPECT_EQ(set_button_strip(ui, "In", 20, strip), 0);
  tk_free_image(strip);
}

TEST_F(FrameworkTest, AnimationStripClampsItsFrameRange) {
  const int32_t buttonStrip = make_strip(5, 16, 16);
  const int32_t turn = make_strip(4, 16, 16);
  create_image_button_skinned(ui, "Arrow", 0, 0, buttonStrip, "");
  ButtonRecord& b = *button_record(*obj("Arrow"));

  EXPECT_EQ(set_animation_strip(ui, "Arrow", 16, turn, 5, 2, 0), 1);
  EXPECT_EQ(b.firstFrame, 0);
  EXPECT_EQ(b.lastFrame, 2);
  EXPECT_EQ(b.frameCount, 4);
  EXPECT_EQ(b.style, ButtonStyle::AnimationStrip);
  EXPECT_EQ(b.stripImage, turn);

  EXPECT_EQ(set_animation_strip(ui, "Arrow", 16, turn, 1, 5, 5), 1);
  EXPECT_EQ(b.firstFrame, 1);
  EXPECT_EQ(b.lastFrame, 3);

  EXPECT_EQ(set_animation_strip(ui, "Arrow", 16, turn, 1, 3, 1), 1);
  EXPECT_EQ(tk_gadget_pixel(obj("Arrow")->gadget, 3, 3), strip_colour(2));
  EXPECT_EQ(show_animation_frame(ui, "Arrow", 0), 1);
  EXPECT_EQ(tk_gadget_pixel(obj("Arrow")->gadget, 3, 3), strip_colour(1));
  EXPECT_EQ(show_animation_frame(ui, "Arrow", 3), 0);

  // With an image strip set first, both are marked as set.
  set_button_strip(ui, "Arrow", 16, buttonStrip);
  EXPECT_EQ(b.style, ButtonStyle::ImageStrip);
  set_animation_strip(ui, "Arrow", 16, turn, 0, -1, 0);
  EXPECT_EQ(b.style, ButtonStyle::Both);
  EXPECT_EQ(b.lastFrame, 3);
  EXPECT_EQ(set_animation_strip(ui, "Arrow", 15, turn, 0, 3, 0), 0);
  EXPECT_EQ(b.style, ButtonStyle::Both);

  create_container(ui, "Box", 0, 40, 50, 50, 0, "");
  EXPECT_EQ(set_animation_strip(ui, "Box", 16, turn, 0, 3, 0), 0);
  tk_free_image(buttonStrip);
  tk_free_image(turn);
}

TEST_F(FrameworkTest, StartAndStopAnimations) {
  const int32_t turn = make_strip(6, 16, 16);
  create_image_button_skinned(ui, "Arrow", 0, 0, turn, "");
  ButtonRecord& b = *button_record(*obj("Arrow"));
  EXPECT_EQ(start_animation(ui, "Arrow", 0, 50, 0), 0);  // no animation strip yet
  EXPECT_EQ(b.look, 0);

  set_animation_strip(ui, "Arrow", 16, turn, 1, 5, 0);
  EXPECT_EQ(start_animation(ui, "Arrow", 0, 50, 0), 1);
  EXPECT_EQ(b.look, 16);
  EXPECT_EQ(b.frame, 0);
  EXPECT_EQ(b.delay, 50);
  EXPECT_EQ(start_animation(ui, "Arrow", 16, 40, 0), 1);
  EXPECT_EQ(b.look, 32);
  EXPECT_EQ(b.frame, 6);
  b.frame = 3;
  EXPECT_EQ(start_animation(ui, "Arrow", 1, 40, 1), 1);
  EXPECT_EQ(b.frame, 3);

  // Forward runs cannot be stopped; backward runs and looks above can.
  EXPECT_EQ(start_animation(ui, "Arrow", 4, 40, 0), 1);
  EXPECT_EQ(b.look, 20);
  EXPECT_EQ(stop_animation(ui, "Arrow"), 0);
  EXPECT_EQ(b.look, 20);
  start_animation(ui, "Arrow", 16, 40, 0);
  EXPECT_EQ(stop_animation(ui, "Arrow"), 1);
  EXPECT_EQ(b.look, 0);

  // Modes without an end or outside the run table are refused.
  EXPECT_EQ(start_animation(ui, "Arrow", 40, 40, 0), 0);
  EXPECT_EQ(start_animation(ui, "Arrow", -3, 40, 0), 0);
  EXPECT_EQ(b.look, 0);
  tk_free_image(turn);
}

TEST_F(FrameworkTest, SelectTabSwitchesPagesAndRestsTheirButtons) {
  const int32_t source = make_strip(9, 18, 22);
  const int32_t strip = make_strip(5, 16, 16);
  create_tab_bar(ui, "Tabs", 0, 0, 600, source, 18, 0, "");
  create_container(ui, "PageA", 0, 22, 300, 100, 0, "");
  create_container(ui, "PageB", 0, 22, 300, 100, 0, "");
  create_container(ui, "InnerB", 0, 0, 300, 100, 0, "PageB");
  create_image_button_skinned(ui, "ButtonB", 0, 0, strip, "InnerB");
  set_button_strip(ui, "ButtonB", 16, strip);
  add_tab(ui, "Tabs", "TabA", "A", "PageA", 0);
  add_tab(ui, "Tabs", "TabB", "B", "PageB", 0);
  add_tab(ui, "Tabs", "TabB2", "B again", "PageB", 0);  // shares B's page
  EXPECT_EQ(obj("ButtonB")->visible, -1);
  button_record(*obj("ButtonB"))->look = 65;

  select_tab(ui, "Tabs", 1, 1);
  EXPECT_EQ(obj("Tabs")->text, "TabB");
  EXPECT_EQ(tab_bar_record(*obj("Tabs"))->selectedIndex, 1);
  EXPECT_EQ(obj("PageB")->visible, 1);
  EXPECT_EQ(obj("ButtonB")->visible, 1);
  EXPECT_EQ(obj("PageA")->visible, -1);
  EXPECT_TRUE(gadget_hidden(obj("PageA")->gadget));
  EXPECT_FALSE(gadget_hidden(obj("PageB")->gadget));  // though TabB2 is not selected
  EXPECT_FALSE(gadget_hidden(obj("ButtonB")->gadget));
  EXPECT_EQ(button_record(*obj("ButtonB"))->look, 0);
  EXPECT_EQ(current_object(ui), obj("Tabs"));

  // An index without a tab changes nothing.
  select_tab(ui, "Tabs", 7, 1);
  EXPECT_EQ(obj("Tabs")->text, "TabB");
  EXPECT_EQ(tab_bar_record(*obj("Tabs"))->selectedIndex, 1);
  select_tab(ui, "PageA", 0, 1);
  EXPECT_FALSE(tab_bar_record(*obj("PageA")));
  tk_free_image(source);
  tk_free_image(strip);
}

TEST_F(FrameworkTest, ToggleStretchButtonFollowsSetText) {
  const int32_t strip = make_strip(5, 20, 16);
  create_stretch_button(ui, "Toggle", 0, 0, 20, "", strip, 0, 1, "");
  set_button_strip(ui, "Toggle", 20, strip);
  const int32_t g = obj("Toggle")->gadget;

  set_text(ui, "Toggle", "1", 0);
  EXPECT_EQ(obj("Toggle")->text, "1");
  EXPECT_EQ(tk_gadget_pixel(g, 3, 3), strip_colour(4));
  // Setting the state it has leaves the picture as it is.
  set_text(ui, "Toggle", "1", 0);
  EXPECT_EQ(obj("Toggle")->text, "1");
  EXPECT_EQ(tk_gadget_pixel(g, 3, 3), strip_colour(4));
  set_text(ui, "Toggle", "0", 0);
  EXPECT_EQ(obj("Toggle")->text, "0");
  EXPECT_EQ(tk_gadget_pixel(g, 3, 3), strip_colour(2));
  tk_free_image(strip);
}

TEST_F(FrameworkTest, UnknownNamesChangeNothing) {
  create_input(ui, "Only", 0, 0, 50, 20, "value", 0, "");
  const int32_t strip = make_strip(4, 16, 16);
  make_current(ui, obj("Only"));

  EXPECT_EQ(get_gadget(ui, "Ghost"), 0);
  EXPECT_EQ(get_number(ui, "Ghost"), 0);
  EXPECT_EQ(get_text(ui, "Ghost"), "");
  EXPECT_EQ(name_of_gadget(ui, 0), "");
  EXPECT_EQ(set_text(ui, "Ghost", "x", 1), 0);
  EXPECT_EQ(show_object(ui, "Ghost", 0, 1), 0);
  EXPECT_EQ(disable_object(ui, "Ghost", 1), 0);
  EXPECT_EQ(pin_object(ui, "Ghost"), 0);
  EXPECT_EQ(set_color(ui, "Ghost", 1, 0), 0);
  EXPECT_EQ(set_button_strip(ui, "Ghost", 16, strip), 0);
  EXPECT_EQ(set_animation_strip(ui, "Ghost", 16, strip, 0, 3, 0), 0);
  EXPECT_EQ(show_animation_frame(ui, "Ghost", 0), 0);
  EXPECT_EQ(start_animation(ui, "Ghost", 0, 50, 0), 0);
  EXPECT_EQ(stop_animation(ui, "Ghost"), 0);
  EXPECT_EQ(select_tab(ui, "Ghost", 0, 1), 0);
  EXPECT_EQ(select_item(ui, "Ghost", "k", 1), 0);
  EXPECT_EQ(set_user_data(ui, "Ghost", 5), 0);
  EXPECT_EQ(set_absolute_position(ui, "Ghost", 1, 1), 0);
  EXPECT_EQ(activate_window(ui, "Ghost"), 0);
  EXPECT_EQ(add_item(ui, "Ghost", "k", "d", 0, 0, -1), 0);
  EXPECT_EQ(selected_key(ui, "Ghost"), "");

  NamedObject* o = obj("Only");
  EXPECT_EQ(registry_size(), 1);
  EXPECT_EQ(o->text, "value");
  EXPECT_EQ(o->hidden, -1);
  EXPECT_EQ(o->visible, 1);
  EXPECT_EQ(o->disabled, 0);
  EXPECT_EQ(o->userData, 0);
  EXPECT_EQ(o->itemData->count, 0);
  EXPECT_EQ(tk_get_gadget_text(o->gadget), "value");
  // A failed lookup leaves the registry's last object current.
  EXPECT_EQ(current_object(ui), o);
  tk_free_image(strip);
}

TEST_F(FrameworkTest, TextsRoundTripAsUtf8) {
  const std::string name = "Müller — 北京";
  create_input(ui, "Client", 0, 0, 200, 20, name, 0, "");
  EXPECT_EQ(get_text(ui, "Client"), name);
  set_text(ui, "Client", "Zoë & 東京", 1);
  EXPECT_EQ(get_text(ui, "Client"), "Zoë & 東京");

  create_combo(ui, "City", 0, 30, 200, 150, "", 0, "");
  add_item(ui, "City", "BJ", name, 0, 0, -1);
  add_item(ui, "City", "TK", "東京", 0, 0, -1);
  select_item(ui, "City", "BJ", 1);
  EXPECT_EQ(obj("City")->text, name);
  EXPECT_EQ(tk_get_gadget_text(obj("City")->gadget), name);
  EXPECT_EQ(selected_key(ui, "City"), "BJ");
}
