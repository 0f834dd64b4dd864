// Start-up, the main loop and shut-down of the demo client.
//
// Sections: start-up · main loop · shut-down.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/app.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "framework/kinds.h"
#include "toolkit/skin_sheet.h"
#include "toolkit/tk.h"

namespace zui {

// ---- start-up ------------------------------------------------------------------
int32_t start_up(App& app, const void* sheet, std::size_t size, const void* sheet2x,
                 std::size_t size2x) {
  if (init_toolkit() == 0) return 0;

  app.state.sidebarShown = 1;
  app.state.headExpanded = 1;
  app.state.mainExpanded = 1;
  app.state.searchListOpen = 0;
  app.state.searchActive = 0;
  app.state.sidebarWidth = 220;

  // A sheet that fails its checks leaves the pieces empty: these bytes are
  // the fallback, there is nothing behind them.
  cut_skin_sheet(app.state.skin, {sheet, size}, {sheet2x, size2x});
  // The framework's registry lists are the fresh, empty app.ui.
  return 1;
}

int32_t start_up(App& app) {
  return start_up(app, zui_skin_sheet_png, zui_skin_sheet_png_size, zui_skin_2x_sheet_png,
                  zui_skin_2x_sheet_png_size);
}

// ---- main loop -------------------------------------------------------------------
void redraw_at_new_scale(App& app) {
  // The skin pieces are cut at the new scale already; every object composes
  // its picture again from them, where it is and as visible as it is.
  for (NamedObject* o = app.ui.first; o; o = o->next) draw_object(app.ui, *o);
}

int32_t main_loop_iteration(App& app, int32_t timeoutMs) {
  app.lastKind = tk_wait_event(timeoutMs);
  app.lastWindow = tk_last_event_window();
  app.lastGadget = tk_last_event_gadget();
  app.lastType = tk_last_event_type();
  app.lastMenu = tk_last_event_menu();
  app.mouseX = tk_window_mouse_x(app.state.mainWindow);
  app.mouseY = tk_window_mouse_y(app.state.mainWindow);

  // The gadget-or-menu field outlives its event, so only a menu event counts.
  if (app.lastKind == TK_EVENT_MENU && app.lastMenu == kQuitMenuItem) app.lastKind = TK_EVENT_CLOSE;

  // Also after a time-out: this call is the clock of hover looks and
  // animations.
  dispatch_event(app.ui, app.mouseX, app.mouseY, app.lastKind, app.lastType, app.lastGadget,
                 app.lastMenu);

  app.uiCode = event_code(app.ui);
  if (app.uiCode > 0) {
    app.uiObject = event_object_name(app.ui);
    on_framework_event(app);
  }

  if (app.lastKind == TK_EVENT_GADGET && app.lastType == TK_TYPE_LEFT_CLICK &&
      app.lastGadget == app.state.splitterGadget && app.state.splitterGadget != 0) {
    on_splitter_moved(app);
  } else if (app.lastKind == TK_EVENT_RESIZED) {
    layout_demo(app, 0);
  } else if (app.lastKind == TK_EVENT_SCALE) {
    redraw_at_new_scale(app);
  }
  on_search_list_event(app);
  return app.lastKind == TK_EVENT_CLOSE ? 0 : 1;
}

int32_t run_main_loop(App& app) {
  // The demo script asks for one picture of the settled screen and then ends
  // the program as if the window had been closed.
  const char* screenshotPath = std::getenv("ZUI_SCREENSHOT");
  const bool wantShot = screenshotPath != nullptr && *screenshotPath != '\0';
  // A start-up timer asks for one line on stdout once the window has been
  // drawn; until then the loop looks every millisecond, so the line is not
  // up to 20 ms late.
  const char* reportShown = std::getenv("ZUI_REPORT_SHOWN");
  bool shownPending = reportShown != nullptr && *reportShown != '\0';
  int32_t quietIterations = 0;
  while (main_loop_iteration(app, shownPending ? 1 : 20) != 0) {
    if (shownPending && tk_window_paint_count(app.state.mainWindow) > 0) {
      std::fputs("shown\n", stdout);
      std::fflush(stdout);
      shownPending = false;
    }
    if (!wantShot) continue;
    // Wait for half a second without events: the window is shown, laid out
    // and painted by then.
    quietIterations = app.lastKind == TK_EVENT_NONE ? quietIterations + 1 : 0;
    if (quietIterations == 25) {
      tk_save_window_screenshot(app.state.mainWindow, screenshotPath);
      break;
    }
  }
  shut_down(app);
  return 0;
}

// ---- shut-down -------------------------------------------------------------------
void shut_down(App& app) {
  // Release the registry's objects with their window first, so that no record
  // is left pointing at a gadget the toolkit is about to destroy.
  if (app.state.mainWindow != 0) close_window(app.ui, "win1");
  tk_free_all_images();
  tk_close_all_windows();
  tk_free_all_fonts();
  app.state.mainWindow = 0;
  app.state.splitterGadget = 0;
  app.state.messageFont = 0;
  app.state.skin = SkinPieces{};
}

}  // namespace zui
