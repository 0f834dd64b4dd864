// Entry point of the demonstration client.
#include "app/app.h"

int main() {
  App app;
  start_up(app);
  if (build_demo_screen(app) == 0) {
    shut_down(app);
    return 0;
  }
  return run_main_loop(app);
}
