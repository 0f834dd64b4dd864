// The demo's reactions to framework events: collapsing and expanding the
// areas, the sidebar toggle and splitter, the search field and its list, and
// the icon-bar message.
//
// Sections: areas · sidebar · search · tree message · dispatch by code ·
// splitter · search-type list choice and clicks elsewhere · icon-bar message.
#include <algorithm>
#include <string>

#include "app/app.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "toolkit/tk.h"

namespace zui {

namespace {

// A list box passes its "selection changed" notification on as type 1.
constexpr int32_t kListSelection = 1;

// Gadget event types a click of the user's produces: a press on an image
// gadget, a button or a check box, the focus an input takes, a combo's list
// opening.
bool is_user_click(int32_t type) {
  return type == TK_TYPE_LEFT_CLICK || type == TK_TYPE_RIGHT_CLICK ||
         type == TK_TYPE_LEFT_DOUBLE || type == TK_TYPE_RIGHT_DOUBLE || type == TK_TYPE_FOCUS ||
         type == TK_TYPE_LIST_OPENED;
}

// ---- areas -------------------------------------------------------------------
// The arrow turns while the area is already shown or hidden; its static strip
// follows when the animation reports its end (code 96).
void toggle_area(App& app, const std::string& button, const std::string& area,
                 const std::string& collapsedLabel, int8_t& expanded) {
  Ui& ui = app.ui;
  const int32_t turn = app.state.skin.SkinArrowTurn;
  if (expanded == 1) {
    // From pointing down back to pointing right.
    set_animation_strip(ui, button, 16, turn, 1, 5, 5);
    start_animation(ui, button, 16, 50, 0);
    show_object(ui, area, 0, 1);
    show_object(ui, collapsedLabel, 1, 1);
    expanded = 0;
  } else {
    set_animation_strip(ui, button, 16, turn, 0, -1, 0);
    start_animation(ui, button, 0, 50, 0);
    show_object(ui, area, 1, 1);
    show_object(ui, collapsedLabel, 0, 1);
    expanded = 1;
  }
  set_expanded(ui, button, expanded);
  layout_demo(app, 2);
}

void finish_arrow(App& app, const std::string& button, int8_t expanded) {
  const SkinPieces& skin = app.state.skin;
  set_button_strip(app.ui, button, 16, expanded == 1 ? skin.SkinArrowDown : skin.SkinArrowRight);
}

// ---- sidebar -----------------------------------------------------------------
// The toggle's knob sits on the side the sidebar is on.
void set_toggle_look(App& app, bool sidebarShown) {
  const SkinPieces& skin = app.state.skin;
  set_expanded(app.ui, "ButtonSidebarExpCol", sidebarShown ? 1 : 0);
  set_button_strip(app.ui, "ButtonSidebarExpCol", 90,
                   sidebarShown ? skin.SkinToggleShown : skin.SkinToggleHidden);
}

// The widest sidebar that leaves the centre its minimum in the window the
// layout is about to give it.
int32_t widest_sidebar(const App& app) {
  const int32_t W = std::max<int32_t>(tk_window_inner_width(app.state.mainWindow),
                                      kMinWidthWithSidebar);
  return std::max(kSidebarMinimum, W - TK_SPLITTER_BAR - kCentreMinimum);
}

// A returning sidebar gets both minimum sizes back, and the bar is placed
// within them: a drag out of the collapsed state ran without minimums, and a
// remembered width may no longer fit a window shrunk in the meantime.
// Returns whether the bar had to move.
bool restore_splitter_minimums(App& app, int32_t position) {
  const int32_t gadget = app.state.splitterGadget;
  tk_set_gadget_attribute(gadget, 1, kSidebarMinimum);
  tk_set_gadget_attribute(gadget, 2, kCentreMinimum);
  const int32_t placed = std::clamp(position, kSidebarMinimum, widest_sidebar(app));
  tk_set_gadget_state(gadget, placed);
  return placed != position;
}

void toggle_sidebar(App& app) {
  AppState& s = app.state;
  if (s.sidebarShown == 0) {
    s.sidebarShown = 1;
    set_toggle_look(app, true);
    restore_splitter_minimums(app, s.sidebarWidth);
  } else {
    set_toggle_look(app, false);
    tk_set_gadget_attribute(s.splitterGadget, 1, 0);
    tk_set_gadget_attribute(s.splitterGadget, 2, 0);
    s.sidebarWidth = static_cast<int16_t>(tk_get_gadget_state(s.splitterGadget));
    tk_set_gadget_state(s.splitterGadget, 0);
    s.sidebarShown = 0;
  }
  // One more dispatch lets the splitter object take the new bar position, so
  // the centre's hit tests follow it before the layout runs.
  dispatch_event(app.ui, app.mouseX, app.mouseY, 0, app.lastType, app.lastGadget, 0);
  layout_demo(app, 1);
}

// ---- search ------------------------------------------------------------------
void set_search_list(App& app, int8_t open) {
  show_object(app.ui, "ListIconSearchType", open, 1);
  if (open == 1) tk_focus_gadget(get_gadget(app.ui, "ListIconSearchType"));
  app.state.searchListOpen = open;
}

// The grey placeholder shows only while the field is empty and without the
// focus: taking the focus removes it, and what the user typed stays.
// searchActive is 0 exactly while the placeholder shows.
void enter_search(App& app) {
  if (app.state.searchActive == 1) return;
  set_color(app.ui, "StringSearch", ColorSlot::Text, 0);
  set_text(app.ui, "StringSearch", "", 1);
  app.state.searchActive = 1;
}

// Once the focus is elsewhere, an empty field shows the placeholder again.
void restore_search_placeholder(App& app) {
  if (app.state.searchActive != 1) return;
  const int32_t field = get_gadget(app.ui, "StringSearch");
  if (tk_focused_gadget() == field || !tk_get_gadget_text(field).empty()) return;
  app.state.searchActive = 0;
  set_color(app.ui, "StringSearch", ColorSlot::Text, kPlaceholderGrey);
  set_text(app.ui, "StringSearch", "search", 1);
}

// ---- tree message -------------------------------------------------------------
void show_tree_view(App& app) {
  const std::string t = get_text(app.ui, "SideTreeCases");
  if (t == "Issues" || t == "Workflows" || t == "Documents" || t == "Calculations")
    show_iconbar_message(app, "VIEW: " + t, 0);
  else
    show_iconbar_message(app, "", 0);
}

}  // namespace

// ---- dispatch by code ------------------------------------------------------------
void on_framework_event(App& app) {
  const std::string& name = app.uiObject;
  AppState& s = app.state;
  switch (app.uiCode) {
    case Code::LeftClick:
      if (name == "ButtonHeadExpCol")
        toggle_area(app, name, "ContainerHead", "TextHeadLabel", s.headExpanded);
      else if (name == "ButtonMainExpCol")
        toggle_area(app, name, "ContainerVersion", "TextMainLabel", s.mainExpanded);
      else if (name == "ButtonSidebarExpCol")
        toggle_sidebar(app);
      else if (name == "ButtonSearch")
        set_search_list(app, s.searchListOpen == 1 ? 0 : 1);
      break;
    case Code::Focus:
      if (name == "StringSearch") enter_search(app);
      break;
    case Code::AnimationDone:
      if (name == "ButtonHeadExpCol") finish_arrow(app, name, s.headExpanded);
      else if (name == "ButtonMainExpCol") finish_arrow(app, name, s.mainExpanded);
      break;
    case Code::GridCursor:
      if (name == "SideTreeCases") show_tree_view(app);
      break;
    default:
      break;
  }
  restore_search_placeholder(app);
}

// ---- splitter ----------------------------------------------------------------------
// The toggle's strip is switched as the click path switches it, so that its
// next hover or leave redraws the knob on the right side.
void on_splitter_moved(App& app) {
  AppState& s = app.state;
  const int32_t S = tk_get_gadget_state(s.splitterGadget);
  if (S > 0 && s.sidebarShown == 0) {
    s.sidebarShown = 1;
    set_toggle_look(app, true);
    // The splitter object takes the corrected bar position at once. No
    // mouse position: the drag's last position is no click on what lies
    // beneath it now.
    if (restore_splitter_minimums(app, S))
      dispatch_event(app.ui, -1, -1, 0, TK_TYPE_LEFT_CLICK, s.splitterGadget, 0);
  } else if (S == 0 && s.sidebarShown == 1) {
    s.sidebarShown = 0;
    set_toggle_look(app, false);
  }
  layout_demo(app, 1);
}

// ---- search-type list choice and clicks elsewhere -----------------------------------
// This reacts to the raw gadget event rather than to a framework code: the
// list reports a choice as a selection notification of its own gadget,
// wherever the mouse is (it may be chosen by keyboard), and a click on a grid
// or the tree is reported as a grid result, or not at all, rather than as a
// click.
void on_search_list_event(App& app) {
  if (app.state.searchListOpen != 1) return;
  if (app.lastKind != TK_EVENT_GADGET || app.lastGadget == 0) return;
  if (app.lastGadget == get_gadget(app.ui, "ListIconSearchType")) {
    if (app.lastType == kListSelection) set_search_list(app, 0);
    return;
  }
  // The search face toggles the list itself.
  if (app.lastGadget == get_gadget(app.ui, "ButtonSearch")) return;
  if (is_user_click(app.lastType)) set_search_list(app, 0);
}

// ---- icon-bar message ------------------------------------------------------------
void show_iconbar_message(App& app, const std::string& text, int8_t level) {
  Ui& ui = app.ui;
  if (find_object(ui, "ImageIconbarMsgBack", 0) != 1) return;
  NamedObject* field = current_object(ui);
  ButtonRecord* record = field ? button_record(*field) : nullptr;
  if (record == nullptr) return;
  ButtonRecord& button = *record;

  const int32_t copy = tk_copy_image(button.stripImage, -1);
  if (copy == 0) return;
  // The previous message is ours and nobody else frees it.
  if (button.shownImage != 0 && button.shownImage != button.stripImage)
    tk_free_image(button.shownImage);
  button.shownImage = copy;

  if (!text.empty()) {
    int32_t colour = 0;
    if (level == 1) colour = tk_pack_colour(255, 0, 0);
    else if (level == 2) colour = tk_pack_colour(255, 255, 0);
    else if (level == 3) colour = tk_pack_colour(0, 255, 0);
    tk_start_drawing(tk_image_output(copy));
    tk_drawing_mode(TK_DRAW_TRANSPARENT);
    tk_drawing_font(tk_font_handle(app.state.messageFont));
    const int32_t x = (tk_image_width(copy) - tk_text_width(text)) / 2;
    const int32_t y = (tk_image_height(copy) - tk_text_height(text)) / 2;
    tk_draw_text(x, y, text, colour);
    tk_stop_drawing();
  }
  tk_set_gadget_state(field->gadget, tk_image_handle(copy));
}

}  // namespace zui
