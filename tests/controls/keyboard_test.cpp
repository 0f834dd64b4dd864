// The skinned kinds for screen readers and the keyboard: what they describe
// themselves as, and the keys their gadgets take while focused from the
// keyboard, reported by the dispatcher whatever the mouse does.
#include "support/controls_fixtures.h"
#include "toolkit/tk_accessible.h"

using namespace zui;

using namespace ctest;

namespace {
constexpr int32_t kSpace = 32, kReturn = 13, kLeft = 37, kRight = 39;
}

class KeyboardTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    register_control_kinds(ui);
  }
  TkAccessible describe(NamedObject* o) {
    TkAccessible d;
    kind_behaviour(ui, o->kind).describe(ui, *o, d);
    return d;
  }
  // A key the object's gadget took, with the mouse outside the window.
  int8_t key(NamedObject* o, int32_t code) {
    return dispatch(-1, -1, TK_EVENT_GADGET, TK_TYPE_KEY + code, o->gadget);
  }
};

TEST_F(KeyboardTest, ButtonsAreDescribedByModeAndPressedBySpaceOrReturn) {
  const struct {
    int8_t mode;
    int32_t role;
  } table[] = {{0, TK_ROLE_PUSH_BUTTON}, {1, TK_ROLE_CHECK_BOX}, {2, TK_ROLE_RADIO_BUTTON}};
  int32_t gadget = 900001;  // numbers only the dispatcher compares
  for (const auto& row : table) {
    NamedObject* b = stretch("Button" + std::to_string(row.mode), 0, 0, 20, 20, row.mode);
    b->gadget = gadget++;
    EXPECT_EQ(describe(b).role, row.role);
    EXPECT_EQ(describe(b).states & TK_STATE_CHECKED, 0);
  }
  NamedObject* toggle = lookup_object(ui, "Button1");
  EXPECT_EQ(key(toggle, kSpace), Code::LeftClick);
  EXPECT_EQ(name(), "Button1");
  EXPECT_EQ(toggle->text, "1");
  EXPECT_NE(describe(toggle).states & TK_STATE_CHECKED, 0);
  EXPECT_EQ(look(toggle), Look::Resting);  // a key lets go at once
  EXPECT_EQ(key(toggle, kReturn), Code::LeftClick);
  EXPECT_EQ(toggle->text, "0");
  EXPECT_EQ(key(toggle, kLeft), Code::None);
}

TEST_F(KeyboardTest, TabBarsListTheirTabsAndSwitchWithLeftAndRight) {
  NamedObject* bar = tab_bar("Tabs", 0, 0, 300, {60, 60, 60});
  bar->gadget = 900100;
  tab_bar_record(*bar)->tabs[1].caption = "Second";
  const TkAccessible d = describe(bar);
  EXPECT_EQ(d.role, TK_ROLE_PAGE_TAB_LIST);
  EXPECT_EQ(d.columns, 3);
  EXPECT_EQ(d.selectionColumn, 0);

  EXPECT_EQ(key(bar, kLeft), Code::None);  // the first tab has none before it
  EXPECT_EQ(key(bar, kRight), Code::TabSelected);
  EXPECT_EQ(bar->text, "K1");
  TkAccessibleCell tab;
  kind_behaviour(ui, bar->kind).describeCell(ui, *bar, 1, 0, tab);
  EXPECT_EQ(tab.role, TK_ROLE_PAGE_TAB);
  EXPECT_EQ(tab.text, "Second");
  EXPECT_NE(tab.states & TK_STATE_SELECTED, 0);
  key(bar, kRight);
  EXPECT_EQ(key(bar, kRight), Code::None);  // nor the last one after it
  EXPECT_EQ(tab_bar_record(*bar)->selectedIndex, 2);
}
