#pragma once
// The skinned dialog: a frame with a tab bar over two pages, an input,
// skinned buttons with their hover and pressed looks that fire on release,
// as desktop buttons do, and one turn of the program's own event loop.
//
// Sections: the dialog · the clear face's looks · building · one turn.
#include <cstdint>
#include <string>

#include "shell/shell.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_accessible.h"

// ---- the dialog ---------------------------------------------------------------
struct Dialog {
  zui::Ui ui;            // the framework's context
  zui::SkinPieces skin;  // pieces of the skin sheet, loaded by the caller
  int32_t window = 0;      // toolkit window number, 0 until built
  int32_t clearStrip = 0;  // looks of the clear face, composed here
};

namespace dialog_detail {
using namespace zui;

inline constexpr int32_t kWindowStyle = TK_WINDOW_STANDARD;
inline constexpr int32_t kPageColour = 0xE8F4F8;     // cream-white behind the pages
inline constexpr int32_t kFaceWidth = 40;            // one toolbar face of the sheet
inline constexpr int32_t kHoverBlue = 208 * 65536 + 128 * 256 + 64;
inline constexpr int32_t kPressedGrey = 0x707070;

// ---- the clear face's looks ---------------------------------------------------
// The sheet has one plain toolbar face per icon; the clear button's strip is
// composed from it: resting, pressed (sunk by a pixel, dark edge), hover
// (blue edge) and disabled (plain), side by side.
inline int32_t compose_face_strip(int32_t face) {
  const int32_t h = tk_image_height(face);
  const int32_t strip = tk_create_image(-1, 4 * kFaceWidth, h);
  if (strip == 0) return 0;
  const int32_t picture = tk_image_handle(face);
  if (tk_start_drawing(tk_image_output(strip)) == 0) return strip;
  for (int32_t n = 0; n < 4; ++n) tk_draw_image(picture, n * kFaceWidth, 0);
  tk_drawing_clip(kFaceWidth, 0, kFaceWidth, h);
  tk_draw_image(picture, kFaceWidth + 1, 1);
  tk_drawing_clip(0, 0, -1, -1);
  tk_drawing_mode(TK_DRAW_OUTLINE);
  tk_draw_box(kFaceWidth, 0, kFaceWidth, h, kPressedGrey);
  tk_draw_box(2 * kFaceWidth, 0, kFaceWidth, h, kHoverBlue);
  tk_stop_drawing();
  return strip;
}

inline void tooltip(Dialog& d, const std::string& name, const std::string& text) {
  tk_attach_tooltip(tk_gadget_handle(get_gadget(d.ui, name)), text, "");
}

inline void greet(Dialog& d) {
  const std::string who = get_text(d.ui, "InputName");
  // A text label shows what its gadget is given.
  tk_set_gadget_text(get_gadget(d.ui, "TextGreeting"),
                     who.empty() ? "Nobody?" : "Hello, " + who + "!");
}

}  // namespace dialog_detail

// ---- building -------------------------------------------------------------------
// Opens the dialog's window with everything in it and shows it; 0 when the
// window cannot be opened.
inline int32_t build_dialog(Dialog& d) {
  using namespace dialog_detail;
  zui::Ui& ui = d.ui;
  const zui::SkinPieces& skin = d.skin;
  d.window = create_window(ui, "Dialog", 100, 100, 440, 300, "ZUI dialog",
                           TK_WINDOW_HIDDEN | kWindowStyle | kWindowButtonsFireOnRelease);
  if (d.window == 0 || tk_use_window_as_parent(tk_window_handle(d.window)) == 0) return 0;
  set_window_font(ui, "Liberation Sans", 9, 0);
  // Each part is drawn once, when the dialog stands.
  zui::hold_drawings(ui, true);

  // A frame with a tab bar on top; each tab shows its own page.
  create_frame(ui, "Frame", 10, 30, 420, 210, skin.SkinFrameArea, 20, "", "");
  create_tab_bar(ui, "Tabs", 14, 9, 412, skin.SkinTabsCream, 18, 0, "");
  for (const char* page : {"PageName", "PageAbout"}) {
    create_container(ui, page, 20, 60, 400, 170, 0, "");
    set_color(ui, page, ColorSlot::Background, kPageColour);
  }
  add_tab(ui, "Tabs", "TabName", "Your name", "PageName", 110);
  add_tab(ui, "Tabs", "TabAbout", "About", "PageAbout", 110);
  create_text(ui, "TextAsk", 10, 14, 380, 20, "Who is there?", 0, "PageName");
  create_input(ui, "InputName", 10, 40, 250, 22, "", 0, "PageName");
  // Return in the field reaches the dialog as a key of the field.
  const int32_t field = get_gadget(ui, "InputName");
  tk_set_gadget_keys(field, field);
  create_image_button_skinned(ui, "ButtonGreet", 270, 43, skin.SkinRoundAdd, "PageName");
  set_button_strip(ui, "ButtonGreet", 16, skin.SkinRoundAdd);
  tooltip(d, "ButtonGreet", "say hello");
  create_text(ui, "TextGreeting", 10, 80, 380, 20, "", 0, "PageName");
  create_text(ui, "TextAbout", 10, 14, 380, 60,
              "Skinned buttons, tab bars and frames are drawn by ZUI from one skin sheet.", 0,
              "PageAbout");
  select_tab(ui, "Tabs", 0, 1);

  // Toolbar faces along the bottom: clear the input, close the dialog.
  create_image_button_skinned(ui, "ButtonClear", 10, 255, skin.SkinSideSync, "");
  d.clearStrip = compose_face_strip(skin.SkinSideSync);
  if (d.clearStrip != 0) set_button_strip(ui, "ButtonClear", kFaceWidth, d.clearStrip);
  tooltip(d, "ButtonClear", "clear the name");
  create_image_button_skinned(ui, "ButtonClose", 390, 255, skin.SkinRoundClose, "");
  set_button_strip(ui, "ButtonClose", 16, skin.SkinRoundClose);
  tooltip(d, "ButtonClose", "close the dialog");
  zui::hold_drawings(ui, false);
  tk_hide_window(d.window, 0);
  return 1;
}

// ---- one turn -----------------------------------------------------------------------
// Waits for the toolkit's next event (at most timeoutMs), hands it to the
// dispatcher, which also moves hover looks on, and reacts to what it
// reports. Returns the event kind, TK_EVENT_CLOSE once the dialog is to close.
inline int32_t dialog_turn(Dialog& d, int32_t timeoutMs) {
  const int32_t kind = tk_wait_event(timeoutMs);
  const int32_t type = tk_last_event_type();
  const int32_t gadget = tk_last_event_gadget();
  zui::dispatch_event(d.ui, tk_window_mouse_x(d.window), tk_window_mouse_y(d.window), kind, type,
                 gadget, tk_last_event_menu());
  if (kind == TK_EVENT_CLOSE) return kind;
  if (kind == TK_EVENT_GADGET && type == TK_TYPE_KEY + TK_KEY_RETURN &&
      gadget == zui::get_gadget(d.ui, "InputName"))
    dialog_detail::greet(d);
  const std::string name =
      zui::event_code(d.ui) == zui::Code::LeftClick ? zui::event_object_name(d.ui) : "";
  if (name == "ButtonClose") return TK_EVENT_CLOSE;
  if (name == "ButtonGreet") dialog_detail::greet(d);
  if (name == "ButtonClear") zui::set_text(d.ui, "InputName", "", 1);
  return kind;
}

// Closes the window and frees what the dialog made.
inline void close_dialog(Dialog& d) {
  zui::close_window(d.ui, "Dialog");
  if (d.clearStrip != 0) tk_free_image(d.clearStrip);
  d.clearStrip = 0;
}
