// A skinned dialog built on the installed ZUI: a frame with a tab bar over
// two pages, an input, skinned buttons with their hover and pressed looks,
// and the program's own event loop.
//
// Run it with --skin FILE to paint it with another sheet. With
// ZUI_SCREENSHOT=<path> set it saves a picture of itself once drawn and
// ends, which is how it runs headless.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/app.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "toolkit/tk.h"

namespace {
constexpr int32_t kWindowStyle = 0x00CF0000;  // caption, system menu, sizable frame
constexpr int32_t kPageColour = 0xE8F4F8;     // cream-white behind the pages
constexpr int32_t kQuietToShoot = 25;         // idle 20 ms turns before the picture
}  // namespace

int main(int argc, char** argv) {
  if (init_toolkit() == 0) {
    std::fputs("dialog: no display to open the window on\n", stderr);
    return 1;
  }
  SkinPieces skin;
  const std::string problem = argc == 3 && std::strcmp(argv[1], "--skin") == 0
                                  ? load_skin_file(skin, argv[2])
                                  : load_skin(skin);
  if (!problem.empty()) std::fprintf(stderr, "dialog: %s\n", problem.c_str());

  Ui ui;
  const int32_t window = create_window(ui, "Dialog", 100, 100, 440, 300, "ZUI dialog",
                                       TK_WINDOW_HIDDEN | kWindowStyle);
  if (window == 0 || tk_use_window_as_parent(tk_window_handle(window)) == 0) return 1;
  set_window_font(ui, "Liberation Sans", 9, 0);

  // A frame with a tab bar on top; each tab shows its own page.
  create_frame(ui, "Frame", 10, 30, 420, 210, skin.SkinFrameArea, 20, "", "");
  create_tab_bar(ui, "Tabs", 14, 9, 412, skin.SkinTabsCream, 18, 0, "");
  for (const char* page : {"PageName", "PageAbout"}) {
    create_container(ui, page, 20, 60, 400, 170, 0, "");
    set_color(ui, page, 2, kPageColour);
  }
  add_tab(ui, "Tabs", "TabName", "Your name", "PageName", 110);
  add_tab(ui, "Tabs", "TabAbout", "About", "PageAbout", 110);
  create_text(ui, "TextAsk", 10, 14, 380, 20, "Who is there?", 0, "PageName");
  create_input(ui, "InputName", 10, 40, 250, 22, "", 0, "PageName");
  create_image_button_skinned(ui, "ButtonGreet", 270, 43, skin.SkinRoundAdd, "PageName");
  set_button_strip(ui, "ButtonGreet", 16, skin.SkinRoundAdd);
  create_text(ui, "TextGreeting", 10, 80, 380, 20, "", 0, "PageName");
  create_text(ui, "TextAbout", 10, 14, 380, 60,
              "Skinned buttons, tab bars and frames are drawn by ZUI from one skin sheet.", 0,
              "PageAbout");
  select_tab(ui, "Tabs", 0, 1);

  // Toolbar faces along the bottom: clear the input, close the dialog.
  create_image_button_skinned(ui, "ButtonClear", 10, 255, skin.SkinSideSync, "");
  create_image_button_skinned(ui, "ButtonClose", 390, 255, skin.SkinRoundClose, "");
  set_button_strip(ui, "ButtonClose", 16, skin.SkinRoundClose);
  tk_hide_window(window, 0);

  // The event loop: every turn hands the toolkit's event to the dispatcher,
  // which also moves hover looks on, then reacts to what it reports.
  const char* shot = std::getenv("ZUI_SCREENSHOT");
  int32_t quiet = 0;
  for (;;) {
    const int32_t kind = tk_wait_event(20);
    dispatch_event(ui, tk_window_mouse_x(window), tk_window_mouse_y(window), kind,
                   tk_last_event_type(), tk_last_event_gadget(), tk_last_event_menu());
    if (kind == TK_EVENT_CLOSE) break;
    const std::string name = event_code(ui) == Code::LeftClick ? event_object_name(ui) : "";
    if (name == "ButtonClose") break;
    if (name == "ButtonGreet") {
      const std::string who = get_text(ui, "InputName");
      // A text label shows what its gadget is given.
      tk_set_gadget_text(get_gadget(ui, "TextGreeting"), who.empty() ? "Nobody?" : "Hello, " + who + "!");
    }
    if (name == "ButtonClear") set_text(ui, "InputName", "", 1);
    if (shot != nullptr && *shot != '\0') {
      quiet = kind == TK_EVENT_NONE && tk_window_paint_count(window) > 0 ? quiet + 1 : 0;
      if (quiet == kQuietToShoot) {
        tk_save_window_screenshot(window, shot);
        break;
      }
    }
  }
  close_window(ui, "Dialog");
  free_skin_pieces(skin);
  tk_free_all_images();
  tk_close_all_windows();
  tk_free_all_fonts();
  return 0;
}
