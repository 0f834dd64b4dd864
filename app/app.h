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
/// The images cut from a skin sheet, one per piece of kSkinPieceTable (0
/// when not cut); the skinned controls show them. docs/skinning.md draws
/// where each lies on the sheet.
struct SkinPieces {
  /// @{ Toolkit image numbers of the pieces, in cutting order: round add, close
  /// and copy buttons; the sidebar toggle shown and hidden; the search field;
  /// the icon-bar background (1600 x 40); five toolbar faces; the message bar;
  /// the down, right and turning arrows; grey, cream and white tab cells;
  /// three frame sets; the grid parts.
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
  /// @}
};

// One row of the piece table: where a piece lies on the sheet.
struct SkinPieceSpec {
  /// The piece's name, as SkinPieces calls its field.
  const char* name;
  /// Its field in SkinPieces.
  int32_t SkinPieces::*field;
  /// @{ Its rectangle on the sheet.
  int16_t x, y, width, height;
  /// @}
};
/// Number of pieces on a sheet.
inline constexpr int kSkinPieceCount = 23;
/// Where each piece lies on the sheet, in cutting order.
extern const SkinPieceSpec kSkinPieceTable[kSkinPieceCount];

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

/// @name Own skin sheets
/// A sheet is a PNG of kSkinSheetWidth x kSkinSheetHeight pixels with every
/// piece of kSkinPieceTable painted (docs/skinning.md shows the layout).
/// @{
/// Size of a skin sheet in pixels.
inline constexpr int32_t kSkinSheetWidth = 410;
/// Height of a skin sheet in pixels.
inline constexpr int32_t kSkinSheetHeight = 400;
/// PNG bytes of a skin sheet, held by the caller; none (the default) stands
/// for the sheet embedded in the library.
struct SkinBytes {
  const void* bytes = nullptr;  ///< the PNG file's bytes, nullptr = the embedded sheet
  std::size_t size = 0;         ///< their length
};
/// What is wrong with a decoded sheet image: its size, or the pieces whose
/// rectangle is one flat colour (not painted); "" when it can be used.
/// `zoom` 2 checks a 2x sheet (twice the size, pieces at twice the place).
std::string skin_sheet_problem(int32_t sheet, int32_t zoom = 1);
/// Loads a skin at start-up: decodes `sheet`, checks its size and pieces and
/// cuts it into `skin`, freeing the pieces `skin` held. A sheet that fails
/// is not used: the embedded sheet is cut instead, and the result names what
/// was wrong in one line for the caller to show. "" when `sheet` was used.
/// The toolkit must be initialised (init_toolkit). Sizes are judged from
/// the PNG header before anything is decoded. `sheet2x`, the same layout at
/// twice the pixels, serves displays above 1x and is checked like `sheet`
/// (size, pieces) whatever the scale; when it fails, neither is used.
/// Without it the 1x sheet is enlarged smoothly above 1x.
std::string load_skin(SkinPieces& skin, SkinBytes sheet = {}, SkinBytes sheet2x = {});
/// The same with the sheet read from a PNG file, and its 2x sheet from the
/// file of the same name with "@2x" before ".png" when there is one. Only
/// regular files of up to 16 MB are read (a directory, device, FIFO or a
/// link to one is refused without waiting); a refused file, the 2x one
/// included, is named in the message and the embedded sheet is used.
std::string load_skin_file(SkinPieces& skin, const std::string& path);
/// A file name as messages show it: valid UTF-8 as it is, control and
/// other bytes as `\\xNN` (no terminal sequence gets through), a backslash doubled.
std::string shown_file_name(const std::string& name);
/// Frees every piece image `skin` holds and sets them to 0.
void free_skin_pieces(SkinPieces& skin);
/// @}
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
