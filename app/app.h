#pragma once
// The demonstration client: start-up, main loop, screen composition, layout
// and reactions.
//
// Sections: skin pieces · AppState · App · shared values · start-up and loop ·
// screen · layout · reactions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/ui.h"

// ---- skin pieces (cut in this order at start-up) ---------------------------
struct SkinPieces {
  int32_t SkinRoundAdd = 0;
  int32_t SkinRoundClose = 0;
  int32_t SkinRoundCopy = 0;
  int32_t SkinToggleShown = 0;
  int32_t SkinToggleHidden = 0;
  int32_t SkinSearchField = 0;
  int32_t SkinIconbarBack = 0;
  int32_t SkinSideAdd = 0;
  int32_t SkinSideCopy = 0;
  int32_t SkinSideSync = 0;
  int32_t SkinSideBlank1 = 0;
  int32_t SkinSideBlank2 = 0;
  int32_t SkinMessageBack = 0;
  int32_t SkinArrowDown = 0;
  int32_t SkinArrowRight = 0;
  int32_t SkinArrowTurn = 0;
  int32_t SkinTabsGrey = 0;
  int32_t SkinTabsCream = 0;
  int32_t SkinTabsWhite = 0;
  int32_t SkinFrameData = 0;
  int32_t SkinFrameArea = 0;
  int32_t SkinFrameSide = 0;
  int32_t SkinGridParts = 0;
};

// One row of the piece table: where a piece lies on the sheet.
struct SkinPieceSpec {
  const char* name;
  int32_t SkinPieces::*field;
  int16_t x, y, width, height;
};
inline constexpr int kSkinPieceCount = 23;
extern const SkinPieceSpec kSkinPieceTable[kSkinPieceCount];

// ---- AppState --------------------------------------------------------------
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
struct App {
  Ui ui;
  AppState state;
  // loop variables
  int32_t lastKind = 0;
  int32_t lastWindow = 0;
  int32_t lastGadget = 0;
  int32_t lastType = 0;
  int32_t lastMenu = 0;
  int32_t mouseX = 0;
  int32_t mouseY = 0;
  int8_t uiCode = 0;
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
// The toolkit's initialisation calls in their order (harmless when repeated);
// 0 when there is no display to open windows on, and nothing is initialised.
int32_t init_toolkit();
// Initialises the toolkit (once per process) and decodes and cuts the
// embedded skin; 0 when there is no display (nothing else is done then).
int32_t start_up(App& app);
// The same with other sheet bytes and optionally a 2x sheet of the same
// layout (nullptr: the 1x sheet is scaled smoothly above 1x): a sheet that
// does not decode leaves every piece 0, and the screen is then built with
// empty pieces.
int32_t start_up(App& app, const void* sheet, std::size_t size, const void* sheet2x = nullptr,
                 std::size_t size2x = 0);
// Cuts the pieces from a decoded sheet image into app.state.skin.
void cut_skin_pieces(App& app, int32_t sheet);
// The windows show at another display scale: every object draws itself
// again (the toolkit has cut the skin pieces at that scale already).
void redraw_at_new_scale(App& app);
// One iteration of the main loop; returns 0 when the loop is to end (close
// request or "&Quit"), 1 otherwise.
int32_t main_loop_iteration(App& app, int32_t timeoutMs);
// Runs the loop until a close request, then shuts down; returns the exit code.
int32_t run_main_loop(App& app);
void shut_down(App& app);

// ---- screen ----------------------------------------------------------------
// Builds "win1" and all its widgets; returns 1 when the screen stands, 0 when
// the window could not be opened (nothing else is built then).
int32_t build_demo_screen(App& app);

// ---- layout ----------------------------------------------------------------
// mode 0: window resized, 1: sidebar changed, 2: centre areas toggled.
void layout_demo(App& app, int8_t mode);

// ---- reactions -------------------------------------------------------------
void on_framework_event(App& app);
void on_splitter_moved(App& app);
// A choice in the open search-type list (a selection event of its gadget)
// or a click on any other gadget but the search face closes the list again.
void on_search_list_event(App& app);
void show_iconbar_message(App& app, const std::string& text, int8_t level);
