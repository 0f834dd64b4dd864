#pragma once
// The demonstration client: its state, main loop, screen composition, layout
// and reactions. Start-up and skin loading are the library's (shell/shell.h).
//
// Sections: AppState · App · shared values · start-up and loop · screen ·
// layout · reactions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/ui.h"
#include "shell/shell.h"

namespace zui {

// ---- AppState --------------------------------------------------------------
/// The demo client's state.
struct AppState {
  int32_t mainWindow = 0;      // toolkit number of "win1"
  int32_t splitterGadget = 0;  // gadget of "SplitterSideMain"
  int8_t sidebarShown = 1;     // 1 while the sidebar is expanded
  int8_t headExpanded = 1;     // 1 while the head area is expanded
  int8_t mainExpanded = 1;     // 1 while the main area is expanded
  int8_t searchListOpen = 0;   // 1 while the search-type list is shown
  int8_t searchActive = 0;     // 1 while the search field is being edited
  int16_t sidebarWidth = 220;  // remembered while the sidebar is collapsed
  int32_t messageFont = 0;     // bold font of the icon-bar message
  SkinPieces skin;             // toolkit images of the skin pieces
};

// ---- App: the whole program's state, creatable fresh by tests -------------
/// The whole demo program's state; tests create it fresh.
struct App {
  /// The framework's context.
  Ui ui;
  /// The demo's state.
  AppState state;
  // loop variables
  int32_t lastKind = 0;
  /// @{ The last event's window, gadget, type and menu item.
  int32_t lastWindow = 0;
  int32_t lastGadget = 0;
  int32_t lastType = 0;
  int32_t lastMenu = 0;
  /// @}
  /// @{ The mouse in window coordinates, -1 outside.
  int32_t mouseX = 0;
  int32_t mouseY = 0;
  /// @}
  /// Framework event code of the last dispatch.
  int8_t uiCode = 0;
  /// Object it concerns.
  std::string uiObject;
};

// ---- values the screen and the reactions share --------------------------------
inline constexpr int32_t kQuitMenuItem = 7;            // "&Quit" of the "Program" menu
inline constexpr int32_t kPlaceholderGrey = 0xAAAAAA;  // the search field's "search"
inline constexpr int32_t kSidebarMinimum = 220;        // splitter: first minimum size
inline constexpr int32_t kCentreMinimum = 800;         // splitter: second minimum size
inline constexpr int16_t kMinWidth = 800;              // window, sidebar collapsed
inline constexpr int16_t kMinWidthWithSidebar = 1024;  // window, sidebar shown
inline constexpr int16_t kMinHeight = 710;             // window, menu bar counted in

// ---- start-up and loop -----------------------------------------------------
// Initialises the toolkit (once per process) and decodes and cuts the
// embedded skin; 0 when there is no display (nothing else is done then).
int32_t start_up(App& app);
// The same with other sheet bytes and optionally a 2x sheet of the same
// layout (nullptr: the 1x sheet is scaled smoothly above 1x): a sheet that
// does not decode leaves every piece 0, and the screen is then built with
// empty pieces.
int32_t start_up(App& app, const void* sheet, std::size_t size, const void* sheet2x = nullptr,
                 std::size_t size2x = 0);
// The windows show at another display scale: every object draws itself
// again (the toolkit has cut the skin pieces at that scale already).
void redraw_at_new_scale(App& app);

// One iteration of the main loop; returns 0 when the loop is to end (close
// request or "&Quit"), 1 otherwise.
int32_t main_loop_iteration(App& app, int32_t timeoutMs);
// Runs the loop until a close request, then shuts down; returns the exit code.
int32_t run_main_loop(App& app);
/// Closes the window and frees what start-up and the screen made.
void shut_down(App& app);

// ---- screen ----------------------------------------------------------------
// Builds "win1" and all its widgets; returns 1 when the screen stands, 0 when
// the window could not be opened (nothing else is built then).
int32_t build_demo_screen(App& app);

// ---- layout ----------------------------------------------------------------
// mode 0: window resized, 1: sidebar changed, 2: centre areas toggled.
void layout_demo(App& app, int8_t mode);

// ---- reactions -------------------------------------------------------------
/// The demo's reaction to the last dispatch's (uiCode, uiObject).
void on_framework_event(App& app);
/// The demo's reaction to a move of its splitter.
void on_splitter_moved(App& app);
// A choice in the open search-type list (a selection event of its gadget)
// or a click on any other gadget but the search face closes the list again.
void on_search_list_event(App& app);
/// Shows a message in the icon bar, coloured by level (1 red, 2 yellow,
/// 3 green, others black).
void show_iconbar_message(App& app, const std::string& text, int8_t level);

}  // namespace zui
