// Entry point of the demonstration client.
#include <cstdio>

#include "app/app.h"

int main() {
  App app;
  if (start_up(app) == 0) {
    // Without a display no window could ever be closed: say so and stop.
    std::fputs("zui-demo: no display to open the window on (set DISPLAY or WAYLAND_DISPLAY)\n",
               stderr);
    return 1;
  }
  if (build_demo_screen(app) == 0) {
    shut_down(app);
    return 0;
  }
  return run_main_loop(app);
}
