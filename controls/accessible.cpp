// The skinned kinds as screen readers and keyboard users meet them: image
// buttons are push buttons, check boxes or radio buttons; tab bars are
// page-tab lists with their tabs; frames are groupings; plain pictures are
// graphics. Space or Return presses a focused button, Left and Right switch
// a focused tab bar.
//
// Sections: buttons · tab bars · frames and pictures · registration.
#include <string>

#include "controls/button_looks.h"
#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

namespace zui {

namespace {

// ---- buttons -------------------------------------------------------------------

void describe_button(Ui&, NamedObject& o, TkAccessible& out) {
  const ToggleMode mode = toggle_mode_of(o);
  out.role = mode == ToggleMode::Toggle  ? TK_ROLE_CHECK_BOX
             : mode == ToggleMode::Radio ? TK_ROLE_RADIO_BUTTON
                                         : TK_ROLE_PUSH_BUTTON;
  if (const ButtonRecord* b = button_record(o); b && b->look == Look::Pressed)
    out.states |= TK_STATE_PRESSED;
  if (is_toggle_like(o) && is_switched_on(o)) out.states |= TK_STATE_CHECKED;
}

// A key press is a click that lets go at once: the button switches as a
// click switches it and the application hears the same code.
int8_t button_key(Ui& ui, NamedObject& o, int32_t key) {
  if (key != TK_KEY_SPACE && key != TK_KEY_RETURN) return Code::None;
  if (button_record(o)) {
    button_press(ui, o);
    button_leave(ui, o, 0);
  }
  return Code::LeftClick;
}

// ---- tab bars ------------------------------------------------------------------

void describe_tab_bar(Ui&, NamedObject& o, TkAccessible& out) {
  out.role = TK_ROLE_PAGE_TAB_LIST;
  const TabBarRecord* bar = tab_bar_record(o);
  if (!bar) return;
  out.columns = static_cast<int32_t>(bar->tabs.size());
  out.rows = 1;
  out.selectionColumn = out.selectionEndColumn = bar->selectedIndex;
  out.selectionRow = out.selectionEndRow = 0;
}

void describe_tab(Ui&, NamedObject& o, int32_t column, int32_t row, TkAccessibleCell& out) {
  out.role = TK_ROLE_PAGE_TAB;
  const TabBarRecord* bar = tab_bar_record(o);
  if (!bar || row != 0 || column < 0 || size_t(column) >= bar->tabs.size()) return;
  out.text = bar->tabs[size_t(column)].caption;
  if (column == bar->selectedIndex) out.states |= TK_STATE_SELECTED | TK_STATE_CURRENT;
}

int8_t tab_bar_key(Ui& ui, NamedObject& o, int32_t key) {
  TabBarRecord* bar = tab_bar_record(o);
  if (!bar || (key != TK_KEY_LEFT && key != TK_KEY_RIGHT)) return Code::None;
  const int32_t count = static_cast<int32_t>(bar->tabs.size());
  const int32_t to = bar->selectedIndex + (key == TK_KEY_LEFT ? -1 : 1);
  if (to < 0 || to >= count) return Code::None;
  // The chosen tab comes into view when the bar is scrolled past it.
  if (to < bar->firstVisibleTab) bar->firstVisibleTab = static_cast<int8_t>(to);
  select_tab(ui, o.name, static_cast<int8_t>(to), 1);
  return Code::TabSelected;
}

}  // namespace

// ---- registration ------------------------------------------------------------------

void add_control_descriptions(KindBehaviour& button, KindBehaviour& picture,
                              KindBehaviour& tabBar, KindBehaviour& frame) {
  button.describe = describe_button;
  button.key = button_key;
  picture.describe = [](Ui&, NamedObject&, TkAccessible& out) { out.role = TK_ROLE_GRAPHIC; };
  tabBar.describe = describe_tab_bar;
  tabBar.describeCell = describe_tab;
  tabBar.key = tab_bar_key;
  frame.describe = [](Ui&, NamedObject&, TkAccessible& out) { out.role = TK_ROLE_GROUPING; };
}

}  // namespace zui
