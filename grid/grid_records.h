#pragma once
// Records of the grid control.
//
// Storage: each grid keeps its columns, rows and cells in containers of its
// own (cells row-major), so a cell is reached in O(1) and two grids can never
// mix their records. `owner` fields are kept for the record layout.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "framework/records.h"
#include "toolkit/tk.h"
#include "toolkit/tk_image_owner.h"

namespace zui {

class GridSource;

/// The allocator of a grid's row and cell lists: a list of 2 MB or more lives
/// in the toolkit's pages (huge pages where the system has them), which makes
/// filling a million rows about twice as fast; smaller ones use the heap.
template <typename T>
struct GridListAllocator {
  using value_type = T;  ///< the record type
  /// Lists of this many bytes and more live in pages.
  static constexpr std::size_t kPagesFrom = std::size_t{2} << 20;
  GridListAllocator() = default;
  /// Allocators of all record types are alike.
  template <typename U>
  GridListAllocator(const GridListAllocator<U>&) {}
  /// Room for n records; throws std::bad_alloc when there is none.
  T* allocate(std::size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
    if (n * sizeof(T) < kPagesFrom) return std::allocator<T>().allocate(n);
    void* block = tk_alloc_pages(n * sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
  }
  /// Gives back the room of allocate(n).
  void deallocate(T* block, std::size_t n) {
    if (n * sizeof(T) < kPagesFrom) std::allocator<T>().deallocate(block, n);
    else tk_free_pages(block, n * sizeof(T));
  }
  /// Any allocator frees what another allocated.
  friend bool operator==(const GridListAllocator&, const GridListAllocator&) { return true; }
};

// Tree state of a row (RowRecord::isParent, keyword ISPARENT).
namespace RowTree {
inline constexpr int8_t None = 0;         // no children
inline constexpr int8_t Collapsed = 1;    // children hidden
inline constexpr int8_t Expanded = 16;    // children shown
inline constexpr int8_t AlwaysOpen = 64;  // a heading: children shown, no expander icon
}  // namespace RowTree

// An expander's animation state (ExpanderRecord::state).
namespace ExpanderState {
/// @{ Idle, turning open, turning closed, under the mouse.
inline constexpr int8_t Idle = 0;
inline constexpr int8_t Expanding = 16;
inline constexpr int8_t Collapsing = 32;
inline constexpr int8_t Hovered = 64;
/// @}
}  // namespace ExpanderState

// How an expander picks its idle picture (ExpanderRecord::mode).
namespace ExpanderMode {
inline constexpr int8_t ByState = 1;  // frame by tree state and hover
}  // namespace ExpanderMode

// Look of an expander (ExpanderRecord::style).
namespace ExpanderStyle {
/// A triangle.
inline constexpr int8_t Triangle = 1;
}  // namespace ExpanderStyle

// The editor a column opens (ColumnRecord::inputType, keyword INPUTTYPE).
namespace InputType {
/// @{ No editor, a text field, a drop-down list, a list.
inline constexpr int8_t None = 0;
inline constexpr int8_t Text = 1;
inline constexpr int8_t DropDown = 2;
inline constexpr int8_t List = 3;
/// @}
}  // namespace InputType

// How the cursor's selection is drawn (GridRecord::selectorStyle).
namespace SelectorStyle {
inline constexpr int8_t BarWithCaps = 0;  // other values: the bar alone
}  // namespace SelectorStyle

// What a click selects beyond the cell (GridRecord::selMode, and the
// caption a click hit).
namespace Selection {
/// @{ The cell only, its whole column, its whole row.
inline constexpr int8_t Cell = 0;
inline constexpr int8_t WholeColumn = 1;
inline constexpr int8_t WholeRow = 2;
/// @}
}  // namespace Selection

/// The order of a grid sorted by a column (GridRecord::sortOrder).
namespace SortOrder {
inline constexpr int8_t None = 0;        ///< not sorted since its rows were added
inline constexpr int8_t Ascending = 1;   ///< smallest first
inline constexpr int8_t Descending = 2;  ///< largest first
}  // namespace SortOrder

struct GridLayout;

// What a grid's layout is made from, in brief: a layout kept with an equal
// key is still the layout of the grid as it stands (rows through
// GridRecord::layoutGeneration, columns through a sum of their sizes).
struct GridLayoutKey {
  int32_t width = -1;         // the grid's width
  int32_t height = -1;        // the grid's height
  int32_t iconSize = -1;      // its tile side
  int32_t scrollY = 0;        // rows scrolled away
  uint32_t generation = 0;    // GridRecord::layoutGeneration
  uint64_t columns = 0;       // count, widths and editor heights mixed
  uint64_t rows = 0;          // row and cell counts mixed (a source grid's rows too)
  int32_t editor = 0;         // open editor gadget, 0 none
  int32_t editorRow = 0;      // its row
  int16_t editorColumn = 0;   // its column
  int16_t scrollX = 0;        // columns scrolled away
  int16_t captColHeight = 0;  // caption row height
  int16_t captRowWidth = 0;   // caption column width
  int8_t borderless = 0;      // GridRecord::borderless
  int8_t scrollArrows = 0;    // arrow pairs the latest drawing showed
  int8_t scrollBars = 0;      // 1 horizontal, 2 vertical linked
  /// Equal keys: the layout still holds.
  bool operator==(const GridLayoutKey&) const = default;
};

// The pieces a grid's drawing cuts from its source image (its skin), cut
// once per skin rather than at every drawing.
struct GridSkinPieces {
  static constexpr int32_t kTiles = 15;      // tiles 0..14 of the first row
  static constexpr int32_t kArrows = 4;      // left, right, up, down
  int32_t source = 0;                        // source image they come from, 0 none
  /// @{ Size of the source image when they were cut.
  int32_t sourceWidth = 0, sourceHeight = 0; // its size when they were cut
  /// @}
  int32_t iconSize = 0;                      // tile side they were cut at
  TkImage tiles[kTiles];                     // frame, ground, selection bar and caps
  /// The horizontal and the vertical arrow pair.
  TkImage arrowsH, arrowsV;                  // the two arrow pairs
  TkImage pressed[kArrows];                  // each arrow's pressed square
};

/// The expander icon of a tree row's first cell and its turning animation.
struct ExpanderRecord {
  int8_t mode = 1;          // 1 = idle frame chosen by state and hover
  int8_t state = 0;         // 0 idle, 16 expanding, 32 collapsing, 64 hovered
  int16_t frame = 0;        // current animation frame
  int32_t lastStep = 0;     // clock value of the last step
  int16_t interval = 50;    // milliseconds between steps
  int16_t firstFrame = 8;   // first turning frame
  int16_t lastFrame = 14;   // last turning frame
  int32_t strip = 0;        // all frames side by side
  int32_t frameImage = 0;   // frame shown now
  int8_t style = 1;         // 1 = triangle
  int8_t hovered = 0;       // 1 while the mouse is over it
  std::string text;         // stored, unused
};

/// One column of a grid; the keywords of its fields in quotes.
struct ColumnRecord {
  int32_t owner = 0;          // the grid object's number
  int16_t index = 0;          // position within the grid
  std::string caption;        // "CAPTION"
  int8_t orientation = 0;     // "ORIENTATION": 0 left, 1 right, 2 centred
  int8_t summary = 0;         // "SUMMARY", stored only
  int16_t width = 0;          // "WIDTH"
  int8_t inputType = 0;       // "INPUTTYPE": 0 none, 1 text, 2 drop-down, 3 list
  int16_t inputHeight = 0;    // "INPUTHEIGHT": 0 = the row's height
  int8_t lock = 0;            // "LOCK"
  int8_t marginLeft = 0;      // "MARGINLEFT"
  std::string allowedValues;  // "LISTALLOWEDVALUES", TAB-separated
  int32_t bgColor = -1;       // "BGCOLOR", -1 none
};

/// One row of a grid; the keywords of its fields in quotes.
struct RowRecord {
  int32_t owner = 0;        // the grid object's number
  int32_t index = 0;        // position when added
  std::string caption;      // "CAPTION"
  int8_t height = 0;        // "HEIGHT", at most 127
  int8_t level = 0;         // "LEVEL": tree depth
  int8_t isParent = 0;      // "ISPARENT": 0, 1 collapsed, 16 open, 64 always open
  int32_t parent = -1;      // "PARENT": parent row index, -1 none
  int8_t hiddenInTree = 0;  // 1 when the last drawing found it collapsed away
  std::string key;          // "KEY"
  int8_t vOrientation = 0;  // "VORIENTATION": 0 top, 1 bottom, 2 centred
  int8_t lock = 0;          // "LOCK"
  int32_t data = 0;         // "DATA"
  int32_t bgColor = -1;     // "BGCOLOR", -1 none
};

/// One cell of a grid.
struct CellRecord {
  int32_t owner = 0;      // the grid object's number
  std::string text;       // the cell's value
  int32_t image = 0;      // "IMAGE", 0 none
  int32_t fontColor = 0;  // "FONTCOLOR"
  int8_t lock = 0;        // "LOCK"
  int32_t bgColor = -1;   // "BGCOLOR", -1 none
  std::unique_ptr<ExpanderRecord> expander;  // tree icon of a parent's first cell
};

/// A grid's rows, in row order.
using RowList = std::vector<RowRecord, GridListAllocator<RowRecord>>;
/// A grid's cells, row-major.
using CellList = std::vector<CellRecord, GridListAllocator<CellRecord>>;

// The row walk's state just before one row (grid/row_walk.h): enough for a
// later walk to start there instead of at row 0. It depends only on the
// rows before it, never on scrollY or the drawing's size.
struct RowWalkAnchor {
  int32_t row = 0;           // the row the walk visits next
  int32_t shownCount = 0;    // shown rows before it
  int8_t collapsed = 0;      // 1 while a collapse level holds
  int8_t collapseLevel = 0;  // that level
  uint32_t generation = 0;   // GridRecord::layoutGeneration it was taken in
};

// The walk's state before every kRowCheckpointStride-th row (grid/row_walk.h),
// taken in one walk over all rows and kept while the row layout stays.
struct RowCheckpoints {
  uint32_t generation = 0;        // layoutGeneration they were taken in, 0 none
  int32_t shownTotal = 0;         // shown rows in the whole grid
  std::vector<RowWalkAnchor> at;  // at[k]: the state before row k * stride
  std::vector<int8_t> minLevel;    // minLevel[k]: lowest LEVEL of rows from k * stride on
};

// A run of a source grid's rows hidden under a row a person closed. Only
// closed rows cost memory: a closed subtree is one span, however deep.
struct SourceSpan {
  int32_t first = 0;         // first hidden position
  int32_t last = 0;          // last hidden position
  int32_t hiddenBefore = 0;  // rows hidden by the spans before it
};

// A row of a source grid a person closed, with the end of its subtree.
struct SourceClosedRow {
  int32_t row = 0;  // the closed row's position
  int32_t end = 0;  // first position after its subtree
};

// The open cell editor's own cell and where the latest drawing laid it, so
// that it commits into that cell and stays on it while the grid moves.
struct EditorPlace {
  int16_t column = 0;  // column of the edited cell
  int32_t row = 0;     // row of the edited cell
  int8_t drawn = 0;    // 1 when the latest drawing drew that cell
  int16_t x = 0;       // left edge, relative to the grid object
  int16_t y = 0;       // top edge, relative to the grid object
  int16_t width = 0;   // the column's width
  int16_t height = 0;  // the column's input height, else the row's height
  int8_t shown = 0;    // 1 while the editor gadget is shown
  int8_t focused = 0;  // 1 once its first showing gave it the focus
};

/// A grid's own record (NamedObject::control): its settings, cursor, scroll
/// position, open editor and its columns, rows and cells.
struct GridRecord : ControlRecord {
  /// An empty grid record.
  GridRecord() : ControlRecord(Kind::Grid) {}

  int16_t columnCount = 0;      // number of columns
  int32_t rowCount = 0;         // number of rows (wider than int16: 100,000 rows must fit)
  int32_t cellCount = 0;        // columnCount × rowCount
  int8_t borderless = 0;        // "BORDERLESS"
  int8_t gridH = 1;             // "GRIDH": horizontal lines
  int8_t gridV = 1;             // "GRIDV": vertical lines and separators
  /// "GRIDCOLOR": colour of the lines.
  int32_t gridColor = 0x5E5E5E; // "GRIDCOLOR"
  int32_t selFrontColor = 0;    // "SELFRONTCOLOR"
  int8_t captColHeight = 0;     // "CAPTCOLHEIGHT": caption row height
  int16_t captRowWidth = 0;     // "CAPTROWWIDTH": caption column width
  int8_t colCustom = 0;         // "COLCUSTOM", stored only
  int16_t scrollX = 0;          // "SCROLLX": leading columns scrolled away
  int32_t scrollY = 0;          // "SCROLLY": leading shown rows scrolled away
  int16_t cursorColumn = 0;     // cursor cell, start corner of the selection
  /// Row of the cursor cell.
  int32_t cursorRow = 0;
  int16_t selectionEndColumn = 0;  // other corner of the selection
  /// Row of the selection's other corner.
  int32_t selectionEndRow = 0;
  int16_t lastVisibleColumn = 0;   // what the latest drawing reached
  /// Last row the latest drawing reached.
  int32_t lastVisibleRow = 0;
  int8_t animating = 0;         // "ANIMATING": an expander animates
  int8_t showTree = 1;          // "SHOWTREE"
  int8_t selMode = 0;           // "SELMODE"
  int8_t redraw = 1;            // "REDRAW": 0 ignores drawing requests
  int8_t permanentCursor = 0;   // "PERMANENTCURSOR": 1 always, 0 never, -1 hover
  int8_t scrollArrows = 0;      // built-in arrows drawn: 1 vertical, 2 horizontal
  int8_t pressedArrow = 0;      // 1 left, 2 right, 3 up, 4 down, 0 none
  int32_t arrowNextStep = 0;    // clock value at which the held arrow steps again
  int16_t sizingColumn = -1;    // column whose caption border is being dragged, -1 none
  int16_t sizingWidth = 0;      // its width when the drag began
  int32_t sizingFromX = 0;      // grid x where the drag began
  int32_t wheelCarry = 0;       // wheel turn (1/120 notch) short of a whole row
  int32_t wheelCarryX = 0;      // the same sideways, short of a whole column
  int8_t resizeShape = 0;       // 1 while the mouse shows the column-resize shape
  int8_t enableInput = 0;       // "ENABLEINPUT"
  int8_t keyboardControl = 1;   // "KEYBOARDCONTROL"
  int32_t keysInstalledAt = -1;  // tk_shortcut_changes() after its keys went in, -1 never
  int32_t keysWindow = 0;       // window they went into
  int8_t keysForEditor = 0;     // 1 when they were an open editor's (Return, Escape)
  int8_t selectorStyle = 0;     // "SELECTORSTYLE": 0 bar with caps
  int32_t inputGadget = 0;      // open cell editor, 0 none
  EditorPlace editor;           // the open editor's cell and place
  std::string hScrollBar;       // horizontal scroll bar object, empty none
  std::string vScrollBar;       // vertical scroll bar object, empty none
  ExpanderRecord* hoveredExpander = nullptr;  // expander shown hovered
  // The layout the mouse resting over the grid was last answered with, and
  // its key: an idle dispatch reuses it while nothing it depends on changed.
  std::shared_ptr<const GridLayout> restingLayout;
  GridLayoutKey restingKey;  // what restingLayout was made from

  // Per-grid storage (replaces the shared owner-keyed lists).
  std::vector<ColumnRecord> columns;  // in column order
  RowList rows;                       // in row order
  CellList cells;                     // row-major: rows × columns
  // Expanders whose state is above 0, so a step visits only those.
  std::vector<ExpanderRecord*> activeExpanders;
  // Expander strip cut once from the source image and shared by every
  // expander of this grid (their `strip` refers to it). Releasing a single
  // expander must leave it alone; clearing the grid frees it.
  int32_t expanderStrip = 0;
  GridSkinPieces skin;           // pieces cut from the source image, freed with the grid
  // Nearest-shallower-row stack for finding parents in amortised O(1);
  // invalid after a LEVEL change or a deletion, then rebuilt on demand.
  std::vector<int32_t> levelStack;
  /// False until levelStack is rebuilt.
  bool levelStackValid = true;
  // Counts the changes that can alter which rows are shown (rows added,
  // deleted or cleared, columns added, LEVEL, ISPARENT, HEIGHT, SHOWTREE,
  // expanders attached, released or turned); an anchor taken in another
  // generation is void.
  uint32_t layoutGeneration = 1;
  // The walk's state at the latest drawing's first drawn row, so that
  // drawing, hits and moves on a deep-scrolled grid need not walk from row 0
  // (only drawings set it: rows before it then carry current hiddenInTree).
  RowWalkAnchor walkAnchor;
  // The vertical scroll bar's last position, kept while the row layout and
  // the rows' room stay the same: finding it walks every row.
  uint32_t rowRangeGeneration = 0;  // layoutGeneration it was found in, 0 none
  int32_t rowRangeRoom = -1;        // height of the rows' area it was found for
  int32_t rowRangeLast = 0;         // that last position
  // Reached through row_checkpoints() only; a cache, so kept up to date
  // from const readers too.
  mutable RowCheckpoints checkpoints;
  int8_t sortable = 0;              ///< 1: a caption click sorts by its column
  int16_t sortColumn = -1;          ///< column of the latest sort, -1 none
  int8_t sortOrder = 0;             ///< SortOrder of the latest sort
  // What screen readers were last told (grid/accessible.cpp), so that a
  // drawing announces only what changed.
  int32_t spokenColumn = -1;            // cursor column announced last
  int32_t spokenRow = -1;               // cursor row announced last
  uint32_t spokenRowsGeneration = 0;    // layoutGeneration announced last, 0 none
  uint32_t spokenTreeGeneration = 0;    // layoutGeneration spokenTree was found in
  bool spokenTree = false;              // some row lies below another
  // A grid over a data source (grid/grid_source.h) keeps none of the rows
  // and cells above: rowCount comes from the source, columns are records.
  std::shared_ptr<GridSource> source;   // the data source, nullptr for a record grid
  int8_t sourceRowHeight = 20;          // "ROWHEIGHT": height of every source row
  std::vector<int32_t> sourceOrder;     // position -> source row, empty: the source's order
  std::vector<SourceClosedRow> sourceClosed;  // rows a person closed, by position
  std::vector<SourceSpan> sourceHidden;       // rows hidden under them, merged, ascending
  int32_t sourceHiddenTotal = 0;              // rows inside those spans
  ExpanderRecord sourceExpander;              // draws every source row's expander
};

// The grid record of an object; nullptr when the object carries none.
inline GridRecord* grid_record(NamedObject& o) {
  return o.control && o.control->kind == Kind::Grid ? static_cast<GridRecord*>(o.control.get())
                                                    : nullptr;
}
/// The same for a const object.
inline const GridRecord* grid_record(const NamedObject& o) {
  return grid_record(const_cast<NamedObject&>(o));
}

}  // namespace zui
