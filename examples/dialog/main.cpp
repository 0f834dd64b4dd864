// A skinned dialog built on the installed ZUI (dialog.h): a frame with a tab
// bar over two pages, an input, skinned buttons with their hover and pressed
// looks, and the program's own event loop.
//
// Run it with --skin FILE to paint it with another sheet. With
// ZUI_SCREENSHOT=<path> set it saves a picture of itself once drawn and
// ends, which is how it runs headless.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "dialog.h"

using namespace zui;

namespace {
constexpr int32_t kQuietToShoot = 25;  // idle 20 ms turns before the picture
}  // namespace

int main(int argc, char** argv) {
  if (init_toolkit() == 0) {
    std::fputs("dialog: no display to open the window on\n", stderr);
    return 1;
  }
  Dialog d;
  const std::string problem = argc == 3 && std::strcmp(argv[1], "--skin") == 0
                                  ? load_skin_file(d.skin, argv[2])
                                  : load_skin(d.skin);
  if (!problem.empty()) std::fprintf(stderr, "dialog: %s\n", problem.c_str());
  if (build_dialog(d) == 0) return 1;

  const char* shot = std::getenv("ZUI_SCREENSHOT");
  int32_t quiet = 0;
  for (;;) {
    const int32_t kind = dialog_turn(d, 20);
    if (kind == TK_EVENT_CLOSE) break;
    if (shot != nullptr && *shot != '\0') {
      quiet = kind == TK_EVENT_NONE && tk_window_paint_count(d.window) > 0 ? quiet + 1 : 0;
      if (quiet == kQuietToShoot) {
        tk_save_window_screenshot(d.window, shot);
        break;
      }
    }
  }
  close_dialog(d);
  free_skin_pieces(d.skin);
  tk_free_all_images();
  tk_close_all_windows();
  tk_free_all_fonts();
  return 0;
}
