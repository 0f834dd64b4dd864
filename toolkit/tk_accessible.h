#pragma once
// What screen readers and keyboard users get from the toolkit.
//
// Plain gadgets keep the platform's own description. An image gadget shows
// a picture the layers above drew, so it says nothing of itself: its owner
// describes it through callbacks (a role, a name, states, and for tables
// and tab lists their cells or items), asked each time a screen reader
// looks. Changes are announced through tk_announce.
//
// Sections: roles and states · descriptions · keyboard · announcements.
#include <cstdint>
#include <string>

// ---- roles and states --------------------------------------------------------

inline constexpr int32_t TK_ROLE_NONE = 0;  // the platform's own description
inline constexpr int32_t TK_ROLE_PUSH_BUTTON = 1;  // a push button
inline constexpr int32_t TK_ROLE_CHECK_BOX = 2;  // a button that stays on or off
inline constexpr int32_t TK_ROLE_RADIO_BUTTON = 3;  // one of a group of which one is on
inline constexpr int32_t TK_ROLE_PAGE_TAB_LIST = 4;  // its items are page tabs
inline constexpr int32_t TK_ROLE_PAGE_TAB = 5;  // one tab of a tab list
inline constexpr int32_t TK_ROLE_GROUPING = 6;  // a frame around related objects
inline constexpr int32_t TK_ROLE_TABLE = 7;  // a table of cells
inline constexpr int32_t TK_ROLE_TREE_TABLE = 8;  // a table whose rows open and close
inline constexpr int32_t TK_ROLE_SPLITTER = 9;  // a bar between two panes
inline constexpr int32_t TK_ROLE_GRAPHIC = 10;  // a picture
inline constexpr int32_t TK_ROLE_PANE = 11;  // an area holding other objects
inline constexpr int32_t TK_ROLE_PAGE = 12;  // the page a tab shows
inline constexpr int32_t TK_ROLE_CELL = 13;  // a table cell
inline constexpr int32_t TK_ROLE_COLUMN_HEADER = 14;  // a column caption
inline constexpr int32_t TK_ROLE_ROW_HEADER = 15;  // a row caption

// State bits, combined.
inline constexpr int32_t TK_STATE_PRESSED = 1;  // held down
inline constexpr int32_t TK_STATE_CHECKED = 2;  // switched on
inline constexpr int32_t TK_STATE_SELECTED = 4;  // selected
inline constexpr int32_t TK_STATE_EXPANDABLE = 8;  // with EXPANDED: open, without: closed
inline constexpr int32_t TK_STATE_EXPANDED = 16;  // open (with EXPANDABLE)
inline constexpr int32_t TK_STATE_CURRENT = 32;  // the cursor cell, the shown tab
inline constexpr int32_t TK_STATE_HIDDEN = 64;   // a row inside a closed tree row

// ---- descriptions --------------------------------------------------------------

// One gadget as its owner describes it.
struct TkAccessible {
  int32_t role = TK_ROLE_NONE;  // TK_ROLE_*
  std::string name;             // empty: the gadget's tooltip, if any
  std::string fallbackName;     // the name when there is neither
  int32_t states = 0;           // TK_STATE_* bits
  int32_t columns = 0;          // table columns, or the items of a tab list
  int32_t rows = 0;             // table rows (a tab list has one)
  int32_t selectionColumn = -1;     // selected cells: column of one corner, -1 none
  int32_t selectionRow = -1;        // row of that corner, -1 none
  int32_t selectionEndColumn = -1;  // column of the other corner
  int32_t selectionEndRow = -1;     // row of the other corner
};

// One cell of a table (row -1: a column header, column -1: a row header) or
// one item of a tab list (column = item, row 0).
struct TkAccessibleCell {
  int32_t role = TK_ROLE_CELL;  // TK_ROLE_*
  std::string text;             // what it shows
  int32_t states = 0;           // TK_STATE_* bits
  int32_t x = 0;       ///< left edge where it shows, in its gadget's coordinates
  int32_t y = 0;       ///< top edge where it shows
  int32_t width = 0;   ///< its width; 0 while it is not shown
  int32_t height = 0;  ///< its height
};

// The owner's answers. `owner` and `object` are handed back as they were
// registered.
struct TkDescriber {
  // The gadget itself.
  void (*describe)(void* owner, void* object, TkAccessible& out) = nullptr;
  // One of its cells, headers or items.
  void (*describeCell)(void* owner, void* object, int32_t column, int32_t row,
                       TkAccessibleCell& out) = nullptr;
};

/// Lets the owner describe an image gadget, container or splitter to screen readers (no describer: no longer); 1 done, 0 unknown gadget.
int32_t tk_describe_gadget(int32_t gadget, const TkDescriber* describer, void* owner, void* object);
/// Names a gadget for screen readers by the text gadget `label` standing beside it; 1 done.
int32_t tk_set_gadget_label(int32_t label, int32_t gadget);

// ---- keyboard --------------------------------------------------------------------

/// Gadget event type of a key a gadget took itself: TK_TYPE_KEY + the key code (virtual key | TK_SHIFT ...).
inline constexpr int32_t TK_TYPE_KEY = 0x1000000;

/// Keys typed in `gadget` go to gadget `target` as TK_TYPE_KEY events instead of the shortcuts:
/// an image gadget (target itself) becomes a Tab stop, takes Space, Return, Escape, the arrows
/// (with Shift), Ctrl+Home and Ctrl+End while focused from the keyboard and then shows a focus
/// mark; any other gadget
/// passes on Return and Escape. Target 0 ends it. 1 done, 0 unknown gadget.
int32_t tk_set_gadget_keys(int32_t gadget, int32_t target);
/// Gives a gadget the focus as Tab would (it then takes its own keys); 1 done.
int32_t tk_keyboard_focus(int32_t gadget);
/// 1 while the gadget holds the focus it got from the keyboard and shows its focus mark.
int32_t tk_has_keyboard_focus(int32_t gadget);

// ---- announcements -------------------------------------------------------------

inline constexpr int32_t TK_CHANGE_NAME = 1;    // the name changed
inline constexpr int32_t TK_CHANGE_STATE = 2;   // states changed (tk_announce_states names them)
inline constexpr int32_t TK_CHANGE_CURRENT = 3;  // the cursor cell or shown tab moved to (column, row)
inline constexpr int32_t TK_CHANGE_ROWS = 4;    // rows opened, closed, added or removed

/// Tells screen readers of a change of the gadget (column and row name the cell or item, -1 none); 1 when one listens.
int32_t tk_announce(int32_t gadget, int32_t change, int32_t column = -1, int32_t row = -1);
/// Tells screen readers which states of the gadget changed (TK_STATE_* bits); 1 when one listens.
int32_t tk_announce_states(int32_t gadget, int32_t states);
