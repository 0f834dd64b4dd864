#pragma once
// Where the tabs of a skinned tab bar lie: the one layout that both drawing
// and click handling use, so a click on a tab's pixels reaches that tab.
//
// The skin strip holds eleven pieces, 22 pixels high, each followed by a
// one-pixel gap: piece n (0..9) at x = n * (p + 1), p wide; piece 10 (the
// scroll arrows) at x = 10 * (p + 1), 9 wide.
#include <cstdint>
#include <string>
#include <vector>

#include "controls/control_records.h"

namespace zui {

// The pieces in strip order.
enum class TabPiece : int8_t {
  LeftFirst,            // left edge of the first drawn tab
  Fill,                 // fill of an unselected tab
  RightEnd,             // right end after an unselected tab
  Junction,             // between two unselected tabs
  JunctionToSelected,   // before the selected tab
  LeftFirstSelected,    // first drawn tab, selected
  FillSelected,         // fill of the selected tab
  JunctionFromSelected, // after the selected tab
  RightEndSelected,     // right end after the selected tab
  Filler,               // right of the last tab
  Arrows,               // scroll arrows
};
inline constexpr int kTabPieceCount = 11;  // pieces in the strip

inline constexpr int32_t kTabRowHeight = 22;   // height of the pieces
inline constexpr int32_t kTabArrowsWidth = 9;  // width of piece 10
inline constexpr int32_t kTabArrowsZone = 10;  // arrows occupy W - 10 .. W

// One drawn tab.
struct TabSlot {
  int32_t index = 0;       // index of the tab in the bar
  int32_t x = 0;           // left edge piece
  int32_t width = 0;       // the tab's width as stored (captions centre on it)
  int32_t fills = 0;       // fill pieces after the left edge
  int32_t capX = -1;       // right end piece of the last tab, -1 none
  int32_t end = 0;         // first pixel after the tab's pieces (cap included)
  bool selected = false;   // its key is the bar's text
  bool first = false;      // first drawn tab
  int32_t textOrigin = 0;  // where the caption's centring starts
};

struct TabBarLayout {
  bool valid = false;          // false: piece width <= 0, nothing is drawn
  int32_t pieceWidth = 0;      // p
  int32_t barWidth = 0;        // W
  std::vector<TabSlot> slots;  // the drawn tabs in order
  bool overflow = false;       // a tab did not fit
  int32_t overflowCapX = -1;   // right end of the last drawn tab on overflow
  bool overflowCapSelected = false;
  int32_t fillerX = 0;         // piece 9 from here to W, every p pixels
  bool arrows = false;         // piece 10 at W - 10
  int32_t firstWalked = 0;     // tabs firstWalked..walkedEnd-1 were walked,
  int32_t walkedEnd = 0;       //   the one that did not fit included
};

// Source rectangle of piece n in the strip (p = piece width).
struct TabPieceRect {
  int32_t x = 0, w = 0;
};
inline TabPieceRect tab_piece_rect(TabPiece piece, int32_t p) {
  return {int32_t(piece) * (p + 1), piece == TabPiece::Arrows ? kTabArrowsWidth : p};
}

// Width every tab gets with equal widths: a third of the bar, or 0 (tabs keep
// their own widths) when a caption plus two pieces does not fit in it.
int32_t equal_tab_width(int32_t barWidth, int32_t pieceWidth,
                        const std::vector<int32_t>& captionWidths);

// The layout of the bar for its selection. With equalWidth > 0 every walked
// tab is laid out that wide (drawing then stores it in the walked tabs),
// otherwise with its stored width.
TabBarLayout layout_tab_bar(const TabBarRecord& bar, const std::string& selectedKey,
                            int32_t barWidth, int32_t equalWidth = 0);

// Which tab a click at rx (relative to the bar) lands on: the slot's index,
// or -1. Clicks on the scroll arrows, where drawn, are not tab clicks.
int32_t tab_at(const TabBarLayout& layout, int32_t rx);

}  // namespace zui
