#pragma once
// Start-up and skin loading: what every program built on the library does
// before it makes its first window.
//
// Sections: start-up · skin pieces · own skin sheets.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zui {

// ---- start-up --------------------------------------------------------------
/// The toolkit's initialisation calls in their order (harmless when
/// repeated); 0 when there is no display to open windows on, and nothing is
/// initialised then.
int32_t init_toolkit();

// ---- skin pieces (cut in this order) ----------------------------------------
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

/// Cuts the pieces from a decoded sheet image into `skin` (an undecodable
/// sheet, 0, leaves every piece 0). The pieces' images become the caller's.
void cut_skin_pieces(SkinPieces& skin, int32_t sheet);

// ---- own skin sheets -------------------------------------------------------
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
/// Decodes a sheet (with its optional 2x sheet), checks it and cuts it into
/// `skin`, freeing the pieces `skin` held. Unlike load_skin nothing stands
/// in for a sheet that fails: every piece is 0 then. Returns what was wrong,
/// "" when the sheet was cut.
std::string cut_skin_sheet(SkinPieces& skin, SkinBytes sheet, SkinBytes sheet2x = {});
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

}  // namespace zui
