// Entry point of the demonstration client.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/app.h"

using namespace zui;

int main(int argc, char** argv) {
  // --skin FILE paints the screen with another sheet.
  const char* skinFile = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--skin") == 0 && i + 1 < argc) {
      skinFile = argv[++i];
    } else if (std::strcmp(argv[i], "--skin") == 0) {
      std::fputs("zui-demo: --skin needs a FILE, the skin sheet (usage: zui-demo [--skin FILE])\n",
                 stderr);
      return 2;
    } else {
      std::fprintf(stderr, "zui-demo: unknown argument %s (usage: zui-demo [--skin FILE])\n",
                   shown_file_name(argv[i]).c_str());
      return 2;
    }
  }
  App app;
  if (start_up(app) == 0) {
    // Without a display no window could ever be closed: say so and stop.
    std::fputs("zui-demo: no display to open the window on (set DISPLAY or WAYLAND_DISPLAY)\n",
               stderr);
    return 1;
  }
  if (skinFile != nullptr) {
    const std::string problem = load_skin_file(app.state.skin, skinFile);
    if (!problem.empty()) std::fprintf(stderr, "zui-demo: %s\n", problem.c_str());
  }
  if (build_demo_screen(app) == 0) {
    shut_down(app);
    return 0;
  }
  return run_main_loop(app);
}
