// The dispatcher driven with synthetic calls: which object a call reports,
// with which code, and what it does to button looks, focus, combo lists,
// grids, splitters and animations.
#include <gtest/gtest.h>

#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "support/controls_fixtures.h"

using namespace zui;

using ctest::ControlsTest;

namespace {
constexpr int32_t G = TK_EVENT_GADGET;
constexpr int32_t M = TK_EVENT_MENU;
}  // namespace

TEST_F(ControlsTest, RestingMouseShowsHoverAndReportsMouseOverOnlyWhenAsked) {
  NamedObject* a = skinned("ButtonA", 10, 10, 20, 20);
  NamedObject* b = skinned("ButtonB", 100, 10, 20, 20);
  b->catchMouseOver = 0;

  EXPECT_EQ(dispatch(15, 15), Code::MouseOver);
  EXPECT_EQ(name(), "ButtonA");
  EXPECT_EQ(look(a), Look::Hover);
  EXPECT_EQ(shown_frame(a), 2);
  const int32_t composed = button_record(*a)->shownImage;

  // Resting on: nothing is composed again.
  EXPECT_EQ(dispatch(16, 15), Code::MouseOver);
  EXPECT_EQ(button_record(*a)->shownImage, composed);

  // Over a button that does not report mouse-over: hover look, code 0.
  EXPECT_EQ(dispatch(110, 15), Code::None);
  EXPECT_EQ(name(), "ButtonB");
  EXPECT_EQ(look(b), Look::Hover);
  EXPECT_EQ(look(a), Look::Resting);
  EXPECT_EQ(shown_frame(a), 0);

  // Outside the window every look returns to rest and nothing is reported.
  EXPECT_EQ(dispatch(-1, -1), Code::None);
  EXPECT_EQ(name(), "");
  EXPECT_EQ(look(b), Look::Resting);
  EXPECT_EQ(shown_frame(b), 0);
}

TEST_F(ControlsTest, HitTestIsInclusiveAndAnOpenComboListExtendsIt) {
  NamedObject* a = skinned("ButtonA", 10, 10, 20, 20);
  dispatch(30, 30);  // right and bottom edges belong to the object
  EXPECT_EQ(name(), "ButtonA");
  dispatch(10, 10);
  EXPECT_EQ(name(), "ButtonA");
  dispatch(31, 30);
  EXPECT_EQ(name(), "");
  dispatch(30, 31);
  EXPECT_EQ(name(), "");
  EXPECT_EQ(look(a), Look::Resting);

  NamedObject* combo = add("ComboA", Kind::Combo, 200, 10, 80, 20);
  combo->dropHeight = 120;
  dispatch(240, 100);
  EXPECT_EQ(name(), "");
  combo->dropOpen = 1;
  dispatch(240, 130);
  EXPECT_EQ(name(), "ComboA");
  dispatch(240, 131);
  EXPECT_EQ(name(), "");
}

TEST_F(ControlsTest, ClickReportsTheInnermostObjectAndPressesIt) {
  container("ContainerOuter", 0, 0, 400, 300);
  container("ContainerInner", 50, 50, 200, 100, "ContainerOuter");
  NamedObject* button = skinned("ButtonInner", 10, 10, 20, 20, 5, "ContainerInner");
  ASSERT_EQ(button->absX, 60);

  EXPECT_EQ(dispatch(65, 65, G, TK_TYPE_LEFT_CLICK, 999), Code::LeftClick);
  EXPECT_EQ(name(), "ButtonInner");
  EXPECT_EQ(look(button), Look::Pressed);
  EXPECT_EQ(shown_frame(button), 1);

  // The pressed look stays while the mouse stays, and goes when it leaves.
  EXPECT_EQ(dispatch(66, 66), Code::MouseOver);
  EXPECT_EQ(shown_frame(button), 1);
  EXPECT_EQ(dispatch(150, 120), Code::None);
  EXPECT_EQ(name(), "ContainerInner");
  EXPECT_EQ(look(button), Look::Resting);
  EXPECT_EQ(shown_frame(button), 0);

  // A click on the container alone reports the container.
  EXPECT_EQ(dispatch(300, 250, G, TK_TYPE_LEFT_CLICK, 999), Code::LeftClick);
  EXPECT_EQ(name(), "ContainerOuter");
}

TEST_F(ControlsTest, EventTypesMapToTheirCodes) {
  NamedObject* input = add("InputA", Kind::Input, 10, 10, 100, 20);
  const struct {
    int32_t type;
    int8_t code;
  } cases[] = {{TK_TYPE_LEFT_DOUBLE, Code::LeftDouble}, {TK_TYPE_RIGHT_CLICK, Code::RightClick},
               {TK_TYPE_RIGHT_DOUBLE, Code::RightDouble}, {1281, 65}, {65534, 66},
               {65535, 67}, {TK_TYPE_DRAG, Code::None}, {-1, Code::None}};
  for (const auto& c : cases) {
    EXPECT_EQ(dispatch(20, 20, G, c.type, 999), c.code) << "type " << c.type;
    EXPECT_EQ(name(), "InputA");
  }
  EXPECT_EQ(input->changed, 0);
  EXPECT_EQ(dispatch(20, 20, G, TK_TYPE_CHANGED, 999), Code::Changed);
  EXPECT_EQ(input->changed, 1);
}

TEST_F(ControlsTest, ObjectsOutOfReachAreNeverReported) {
  add("LabelA", Kind::Label, 0, 0, 50, 50);
  add("PictureA", Kind::Picture, 60, 0, 50, 50);
  NamedObject* hidden = skinned("ButtonHidden", 120, 0, 50, 50);
  hidden->hidden = 1;
  NamedObject* disabled = skinned("ButtonDisabled", 180, 0, 50, 50);
  disabled->disabled = 1;
  NamedObject* tabHidden = skinned("ButtonTabHidden", 240, 0, 50, 50);
  tabHidden->visible = -1;
  NamedObject* foreign = skinned("ButtonOtherWindow", 300, 0, 50, 50);
  foreign->window = kHandle + 1;

  for (int x : {10, 70, 130, 190, 250, 310}) {
    EXPECT_EQ(dispatch(x, 10, G, TK_TYPE_LEFT_CLICK, 999), Code::None) << x;
    EXPECT_EQ(name(), "") << x;
  }
  EXPECT_EQ(look(hidden), Look::Resting);
  EXPECT_EQ(look(foreign), Look::Resting);
}

TEST_F(ControlsTest, OwnGadgetEventsWinOverLaterObjectsUnderTheMouse) {
  NamedObject* input = add("InputA", Kind::Input, 10, 10, 100, 20);
  input->gadget = 70001;
  NamedObject* button = skinned("ButtonB", 200, 10, 20, 20);

  // Focus arrives on the input while the mouse clicks the later button.
  EXPECT_EQ(dispatch(205, 15, G, TK_TYPE_FOCUS, 70001), Code::Focus);
  EXPECT_EQ(name(), "InputA");
  EXPECT_EQ(win->focusNumber, input->number);
  EXPECT_EQ(win->focusKind, Kind::Input);
  EXPECT_EQ(look(button), Look::Resting);

  EXPECT_EQ(dispatch(205, 15, G, TK_TYPE_FOCUS_LOST, 70001), Code::FocusLost);
  EXPECT_EQ(name(), "InputA");
  EXPECT_EQ(win->focusNumber, 0);
  EXPECT_EQ(win->focusKind, 0);

  EXPECT_EQ(dispatch(205, 15, G, TK_TYPE_CHANGED, 70001), Code::Changed);
  EXPECT_EQ(name(), "InputA");
  EXPECT_EQ(input->changed, 1);

  // A gadget event of the button itself for a type that is not its own
  // (a click) goes through the hit test as usual.
  EXPECT_EQ(dispatch(205, 15, G, TK_TYPE_LEFT_CLICK, 70001), Code::LeftClick);
  EXPECT_EQ(name(), "ButtonB");
}

TEST_F(ControlsTest, WhileAComboListIsOpenOnlyItsSelectionCounts) {
  NamedObject* combo = add("ComboA", Kind::Combo, 10, 10, 100, 20);
  combo->gadget = 70002;
  combo->dropHeight = 150;
  NamedObject* button = skinned("ButtonB", 200, 10, 20, 20);

  dispatch(20, 20, G, TK_TYPE_LIST_OPENED, 70002);
  EXPECT_EQ(combo->dropOpen, 1);
  EXPECT_EQ(win->openDropDown, combo->number);
  EXPECT_EQ(name(), "ComboA");

  // Clicks and hovering elsewhere do nothing while the list is open.
  EXPECT_EQ(dispatch(205, 15, G, TK_TYPE_LEFT_CLICK, 999), Code::None);
  EXPECT_EQ(name(), "");
  EXPECT_EQ(look(button), Look::Resting);
  EXPECT_EQ(dispatch(20, 100, G, TK_TYPE_LEFT_CLICK, 999), Code::None);

  // The choice in the list: code 64 with the combo's name, list closed.
  EXPECT_EQ(dispatch(20, 100, G, TK_TYPE_RIGHT_CLICK, 70002), Code::Changed);
  EXPECT_EQ(name(), "ComboA");
  EXPECT_EQ(combo->changed, 1);
  EXPECT_EQ(combo->dropOpen, 0);
  EXPECT_EQ(win->openDropDown, 0);

  // Closed again: the button reacts.
  EXPECT_EQ(dispatch(205, 15, G, TK_TYPE_LEFT_CLICK, 999), Code::LeftClick);
  EXPECT_EQ(look(button), Look::Pressed);

  // Closing the list without a choice ends the open state too.
  dispatch(20, 20, G, TK_TYPE_LIST_OPENED, 70002);
  dispatch(20, 20, G, TK_TYPE_LIST_CLOSED, 70002);
  EXPECT_EQ(combo->dropOpen, 0);
  EXPECT_EQ(win->openDropDown, 0);
}

TEST_F(ControlsTest, CustomDrawnValuesSurviveClicksAndFocus) {
  NamedObject* toggle = stretch("ButtonToggle", 10, 10, 40, 20, 1);
  toggle->gadget = 70003;
  dispatch(20, 20, G, TK_TYPE_LEFT_CLICK, 70003);
  EXPECT_EQ(toggle->text, "1");
  dispatch(20, 20, G, TK_TYPE_FOCUS, 70003);
  EXPECT_EQ(toggle->text, "1");
}

TEST_F(ControlsTest, GridShortcutsReachTheGridOnlyUnderTheMouse) {
  // A grid registered by hand: its layer installs its behaviour.
  register_grid_kind(ui);
  NamedObject* grid = add("GridA", Kind::Grid, 100, 100, 200, 100);
  grid->control = std::make_unique<GridRecord>();
  grid_record(*grid)->keyboardControl = 0;

  EXPECT_EQ(dispatch(10, 10, M, -1, 1103, 1103), Code::None);
  EXPECT_EQ(name(), "");
  EXPECT_EQ(win->focusKind, 0);

  dispatch(150, 150, M, -1, 1103, 1103);
  EXPECT_EQ(name(), "GridA");
  // Over a grid without an editor the grid takes the keyboard.
  EXPECT_EQ(win->focusKind, Kind::Grid);
  EXPECT_EQ(win->focusNumber, grid->number);

  // Leaving a grid whose cursor shows only under the mouse hides it.
  grid_record(*grid)->permanentCursor = -1;
  dispatch(10, 10);
  EXPECT_EQ(grid_record(*grid)->permanentCursor, 0);
}

TEST_F(ControlsTest, ScrollBarMoveStopsLaterHitTests) {
  NamedObject* bar = add("ScrollA", Kind::ScrollBar, 10, 10, 20, 200);
  bar->scrollBarData = std::make_unique<ScrollBarRecord>();
  NamedObject* button = skinned("ButtonOver", 10, 10, 20, 20);

  EXPECT_EQ(dispatch(15, 15, G, TK_TYPE_LEFT_CLICK, 999), Code::ScrollBarMoved);
  EXPECT_EQ(name(), "ScrollA");
  EXPECT_EQ(bar->text, "0");  // the gadget's state (none here)
  EXPECT_EQ(look(button), Look::Resting);

  // Without a gadget event the bar is an ordinary object.
  dispatch(15, 15);
  EXPECT_EQ(name(), "ButtonOver");
}

TEST_F(ControlsTest, AnEndingAnimationReportsDoneAndStopsTheScan) {
  NamedObject* first = skinned("ArrowFirst", 10, 10, 20, 20);
  NamedObject* second = skinned("ArrowSecond", 50, 10, 20, 20);
  NamedObject* later = skinned("ButtonLater", 100, 10, 20, 20);
  for (NamedObject* o : {first, second}) {
    ButtonRecord& b = *button_record(*o);
    b.style = ButtonStyle::Both;
    b.firstFrame = 0;
    b.lastFrame = 2;
    b.delay = 50;
    b.frame = -1;
    b.look = 16;
  }
  dispatch(-1, -1);  // frame 0 of both
  advance(50);
  dispatch(-1, -1);  // frame 1
  EXPECT_EQ(button_record(*first)->frame, 1);
  EXPECT_EQ(button_record(*second)->frame, 1);

  advance(50);
  EXPECT_EQ(dispatch(105, 15), Code::AnimationDone);
  EXPECT_EQ(name(), "ArrowFirst");
  EXPECT_EQ(look(first), Look::Resting);
  // The scan stopped: neither the second arrow nor the hovered button moved.
  EXPECT_EQ(button_record(*second)->frame, 1);
  EXPECT_EQ(look(later), Look::Resting);

  EXPECT_EQ(dispatch(105, 15), Code::AnimationDone);
  EXPECT_EQ(name(), "ArrowSecond");
  EXPECT_EQ(dispatch(105, 15), Code::MouseOver);
  EXPECT_EQ(look(later), Look::Hover);
}

TEST_F(ControlsTest, ResultsWithoutAnyWindowRecord) {
  Ui bare;
  EXPECT_EQ(event_code(bare), 0);
  EXPECT_EQ(event_object_name(bare), "");
  EXPECT_EQ(dispatch_event(bare, 5, 5, 0, -1, 0, 0), 0);
  ASSERT_NE(current_window(bare), nullptr);
  EXPECT_EQ(current_window(bare)->name, "AUTO");
}

// A kind of its own, unknown to the dispatcher, is driven only through its
// hooks: what each call reaches, and that a value kept in the record
// survives a click.
namespace {
struct HookLog {
  std::string calls;
};
HookLog hook_log;
constexpr int8_t kOwnKind = 120;
}  // namespace

TEST_F(ControlsTest, AKindOfItsOwnAnswersTheMouseThroughItsHooks) {
  hook_log = {};
  KindBehaviour k;
  k.press = [](Ui&, WindowRecord& w, NamedObject&, const ToolkitEvent&) {
    hook_log.calls += "press ";
    w.eventCode = Code::TabSelected;
  };
  k.click = [](Ui&, const WindowRecord&, NamedObject&, const ToolkitEvent&) {
    hook_log.calls += "click ";
    return true;
  };
  k.hover = [](Ui&, NamedObject&) { hook_log.calls += "hover "; };
  k.mouseAway = [](Ui&, NamedObject&, const ToolkitEvent&) { hook_log.calls += "away "; };
  k.moved = [](Ui&, WindowRecord& w, NamedObject&, const ToolkitEvent&) {
    hook_log.calls += "moved ";
    w.eventCode = Code::ScrollBarMoved;
    return true;
  };
  k.valueInRecord = true;
  register_kind(ui, kOwnKind, k);
  NamedObject* own = add("Own", kOwnKind, 10, 10, 20, 20);
  own->gadget = tk_create_text_gadget(-1, 10, 10, 20, 20, "");
  own->text = "kept";

  const struct {
    int32_t kind, type;
    int8_t code;
    const char* calls;
  } rows[] = {
      {0, -1, Code::None, "hover "},
      {G, TK_TYPE_LEFT_CLICK, Code::ScrollBarMoved, "moved "},
      {0, TK_TYPE_LEFT_CLICK, Code::TabSelected, "press "},
      {0, TK_TYPE_LEFT_RELEASE, Code::LeftClick, "click "},
  };
  for (const auto& r : rows) {
    hook_log = {};
    EXPECT_EQ(dispatch(15, 15, r.kind, r.type, own->gadget), r.code) << r.calls;
    EXPECT_EQ(hook_log.calls, r.calls);
  }
  hook_log = {};
  dispatch(300, 300);
  EXPECT_EQ(hook_log.calls, "away ");
  EXPECT_EQ(own->text, "kept");
}
