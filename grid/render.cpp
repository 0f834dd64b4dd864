// Painting of the grid into its canvas image.
//
// Sections: pieces · frame and ground · caption row · rows and cells ·
// built-in scroll arrows · paint_grid · draw_expander.
//
// Every piece is cut from the grid's source image (the grid skin piece) once
// per skin and kept in the grid's record (GridRecord::skin). Where things
// go comes from the grid's layout (grid/grid_layout.h), which the mouse
// handling reads too, so hits match what was drawn. Painting changes only
// pixels; what the grid keeps of a drawing is after_grid_drawing's.
#include <algorithm>
#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "framework/nine_slice.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/grid_input_rules.h"
#include "grid/grid_layout.h"
#include "toolkit/tk.h"

namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kArrow = kGridArrow;

// ---- pieces ------------------------------------------------------------------

// The pieces of one drawing, held by the grid's skin cache; 0 for a piece
// this drawing does not use.
struct Pieces {
  NineSliceImages frame{};                     // tiles 0-11 by NinePiece; none borderless
  int32_t captionCell = 0;                     // a row caption's band: the frame's top edge
  int32_t ground = 0;                          // tile 11
  int32_t capLeft = 0, bar = 0, capRight = 0;  // tiles 12-14
  int32_t arrowsH = 0, arrowsV = 0;            // the two arrow pairs
};

// Cuts the skin's pieces when the grid holds none of this source image at
// this size yet. Image numbers are never reused, so the number, the size
// and the tile side identify a skin.
const GridSkinPieces& skin_pieces(GridSkinPieces& k, int32_t source, int32_t s) {
  const int32_t sw = tk_image_width(source), sh = tk_image_height(source);
  if (k.source == source && k.sourceWidth == sw && k.sourceHeight == sh && k.iconSize == s)
    return k;
  k.source = source;
  k.sourceWidth = sw;
  k.sourceHeight = sh;
  k.iconSize = s;
  for (int32_t t = 0; t < GridSkinPieces::kTiles; ++t)
    k.tiles[t].reset(tk_grab_image_region(source, -1, t * s, 0, s, s));
  k.arrowsH.reset(tk_grab_image_region(source, -1, sw - 50, 24, 2 * kArrow, kArrow));
  k.arrowsV.reset(tk_grab_image_region(source, -1, sw - 16, 0, kArrow, 2 * kArrow));
  // Where each arrow's pressed square lies in the source image.
  struct Spot { int32_t sx, sy; };
  const Spot spots[GridSkinPieces::kArrows] = {{sw - 50, 24}, {sw - 34, 24}, {sw - 16, 0},
                                               {sw - 16, 16}};
  for (int32_t a = 0; a < GridSkinPieces::kArrows; ++a)
    k.pressed[a].reset(tk_grab_image_region(source, -1, spots[a].sx, spots[a].sy, kArrow, kArrow));
  return k;
}

void cut_pieces(Pieces& p, const GridRecord& g, const GridSkinPieces& k) {
  const auto tile = [&](int32_t t) { return k.tiles[t].get(); };
  if (g.borderless != 1) {
    for (int32_t t = 0; t < NinePiece::Count; ++t) p.frame[t] = tile(t);
    p.captionCell = tile(g.captColHeight > 0 ? NinePiece::TopCaptioned : NinePiece::TopPlain);
  }
  p.ground = tile(NinePiece::Centre);
  p.bar = tile(13);
  if (g.selectorStyle == SelectorStyle::BarWithCaps) {
    p.capLeft = tile(12);
    p.capRight = tile(14);
  }
  p.arrowsH = k.arrowsH.get();
  p.arrowsV = k.arrowsV.get();
}

// Keeps the following drawing inside the area (an empty one paints nothing).
void clip_to(const GridArea& a) {
  tk_drawing_clip(a.left, a.top, std::max(a.right - a.left, 0), std::max(a.bottom - a.top, 0));
}

// Room a cell's text leaves free: 4 pixels before it and 7 after, as
// right-aligned text ends 7 pixels before the edge.
constexpr int32_t kTextPadding = 4 + 7;

// Draws a piece at its own size (w, h = -1) or stretched; nothing for 0.
void put(int32_t image, int32_t x, int32_t y, int32_t w = -1, int32_t h = -1) {
  if (image) tk_draw_image(tk_image_handle(image), x, y, w, h);
}

// ---- frame and ground --------------------------------------------------------

void draw_frame_and_ground(const Pieces& p, const GridRecord& g, int32_t w, int32_t h,
                           int32_t s) {
  if (g.borderless == 1) {
    put(p.ground, 0, 0, w, h);
    return;
  }
  draw_nine_slice(p.frame, w, h, s, g.captColHeight > 0);
}

// ---- caption row -------------------------------------------------------------

void caption_separator(int32_t x) { tk_draw_line(x, 1, 0, 19, kWhite); }

// Left edge of text of width `textWidth` in a cell starting at x.
int32_t aligned_x(int8_t orientation, int32_t x, int32_t width, int32_t textWidth,
                  int32_t leftPad) {
  if (orientation == 1) return x + width - textWidth - 7;
  if (orientation == 2) return x + (width - textWidth - 10) / 2;
  return x + leftPad;
}

// Draws the caption row when there is one.
void draw_caption_row(const GridRecord& g, const GridLayout& l) {
  if (!l.captionRow) return;
  if (l.captionTextsLeft > kFrameInset) caption_separator(l.captionTextsLeft - 1);
  for (const GridColumnSlot& slot : l.captions) {
    const ColumnRecord& c = g.columns[slot.column];
    const int32_t x = slot.x;
    if (!c.caption.empty()) {
      // A caption wider than its column is cut like a cell's text.
      const std::string shown =
          fit_cell_text(c.caption, c.width - 2 * 7, [](const std::string& t) { return tk_text_width(t); });
      const int32_t tw = c.orientation == 0 ? 0 : tk_text_width(shown);
      if (!shown.empty()) tk_draw_text(aligned_x(c.orientation, x, c.width, tw, 7), 2, shown, kWhite);
    }
    if (g.gridV == 1 && slot.column < g.columnCount - 1) caption_separator(x + c.width - 1);
  }
}

// ---- rows and cells ------------------------------------------------------------

struct DrawContext {
  GridRecord& g;
  const Pieces& p;
  const GridLayout& l;
  int32_t s;
  int32_t frontColor;  // a source cell's text colour when it gives none
  int32_t strip;       // a source grid's expander strip, 0 none
};

// What one cell shows: its record's fields, or a source's answers.
struct ShownCell {
  const std::string* text;  // its text
  int32_t image;            // image number, 0 none
  int32_t fontColor;        // text colour
  int32_t bgColor;          // its own background, -1 none
  int32_t rowBgColor;       // its row's background, -1 none
};

// A source cell, its text kept in `scratch`.
ShownCell source_cell(const DrawContext& d, int32_t column, int32_t row, std::string& scratch) {
  const GridRecord& g = d.g;
  const int32_t sourceRow = source_row_of(g, row);
  const std::string_view text = g.source->cell_text(static_cast<int16_t>(column), sourceRow, scratch);
  if (text.data() != scratch.data() || text.size() != scratch.size()) scratch.assign(text);
  const GridSourceLook look = g.source->cell_look(static_cast<int16_t>(column), sourceRow);
  return {&scratch, look.image, look.fontColor > -1 ? look.fontColor : d.frontColor, look.bgColor,
          -1};
}

int32_t first_colour(int32_t a, int32_t b, int32_t c) {
  if (a > -1) return a;
  if (b > -1) return b;
  if (c > -1) return c;
  return -1;
}

bool selected(const GridRecord& g, int32_t k, int32_t n) {
  return g.permanentCursor != 0 && g.cursorColumn <= k && k <= g.selectionEndColumn &&
         g.cursorRow <= n && n <= g.selectionEndRow;
}

// Draws one cell of a drawn row.
void draw_cell(const DrawContext& d, const GridRowSlot& slot, const GridCellSlot& c) {
  const GridRecord& g = d.g;
  const ColumnRecord& column = g.columns[c.column];
  std::string scratch;
  ShownCell cell;
  if (g.source) {
    cell = source_cell(d, c.column, slot.row, scratch);
  } else {
    const RowRecord& row = g.rows[slot.row];
    const CellRecord& r = g.cells[static_cast<size_t>(slot.row) * g.columns.size() + c.column];
    cell = {&r.text, r.image, r.fontColor, r.bgColor, row.bgColor};
  }
  const int32_t n = slot.row, k = c.column;
  const int32_t x = c.area.left, y = c.area.top;
  const int32_t width = column.width;
  const int32_t height = slot.height;
  int32_t tx = c.textLeft;
  const int32_t ty = slot.textY;

  // A cell narrower than its indent has no room for a background; the box
  // must not spill leftwards over its neighbours.
  const int32_t background = first_colour(cell.bgColor, column.bgColor, cell.rowBgColor);
  const int32_t boxWidth = width - (tx - x);
  if (background > -1 && boxWidth > 0 && height > 1)
    tk_draw_box(tx, y + 1, boxWidth, height - 1, background);

  int32_t textColour = cell.fontColor;
  const bool hasImage = cell.image != 0 && tk_image_exists(cell.image);
  const int32_t imageOffset = hasImage ? tk_image_width(cell.image) + 5 : 0;

  if (selected(g, k, n)) {
    const int32_t top = (slot.shownIndex > 0 && g.gridH == 1) ? y + 1 : y;
    // The bar stays inside the cell also when an image shifts its start.
    put(d.p.bar, tx + imageOffset, top, width - (tx - x) - imageOffset, height);
    if (g.selectorStyle == SelectorStyle::BarWithCaps) {
      put(d.p.capLeft, tx + imageOffset, top);
      put(d.p.capRight, x + width - d.s, top);
    }
    textColour = g.selFrontColor;
  }

  if (hasImage) {
    put(cell.image, tx + 2, ty);
    tx += tk_image_width(cell.image) + 5;
  }

  if (!cell.text->empty()) {
    // The text stays inside its cell: its first line, cut with an ellipsis
    // where it does not fit, and clipped at the cell's edge besides.
    const int32_t room = x + width - tx - kTextPadding;
    const std::string shown = fit_cell_text(*cell.text, room, [](const std::string& t) { return tk_text_width(t); });
    if (!shown.empty()) {
      const int32_t tw = column.orientation == 0 ? 0 : tk_text_width(shown);
      const GridArea& rows = d.l.rowsArea;
      clip_to({std::max(tx, rows.left), std::max(y, rows.top), std::min(x + width, rows.right),
               std::min(y + height + 1, rows.bottom)});
      tk_draw_text(aligned_x(column.orientation, tx, width, tw, 4), ty + 2, shown, textColour);
      clip_to(rows);
    }
  }

  if (g.gridH == 1 && n < g.rowCount - 1) tk_draw_line(x, y + height, width, 0, g.gridColor);
}

// A drawn row's expander: its cell's own, or for a source row the grid's
// one expander with the row's open or closed state.
void draw_row_expander(const DrawContext& d, const GridRowSlot& slot) {
  GridRecord& g = d.g;
  const GridArea& at = slot.expanderArea;
  if (!g.source) {
    CellRecord& first = g.cells[static_cast<size_t>(slot.row) * g.columns.size()];
    draw_expander(*first.expander, g.rows[slot.row], d.s, at.left, at.top);
    return;
  }
  if (d.strip == 0) return;
  g.sourceExpander.strip = d.strip;
  RowRecord row;
  row.isParent = source_is_closed(g, slot.row) ? RowTree::Collapsed : RowTree::Expanded;
  draw_expander(g.sourceExpander, row, d.s, at.left, at.top);
}

void draw_rows(const DrawContext& d) {
  GridRecord& g = d.g;
  for (const GridRowSlot& slot : d.l.rows) {
    const int32_t y = slot.y;
    if (d.l.captionColumn) {
      put(d.p.captionCell, 0, y, g.captRowWidth - 1, slot.height);
      tk_draw_line(0, y, g.captRowWidth, 0, kWhite);
      // Source rows have no captions.
      if (!g.source && !g.rows[slot.row].caption.empty())
        tk_draw_text(7, y + 2, g.rows[slot.row].caption, kWhite);
    }
    for (int32_t i = slot.firstCell; i < slot.firstCell + slot.cellCount; ++i) {
      const GridCellSlot& c = d.l.cells[static_cast<size_t>(i)];
      if (c.column == 0 && slot.expander) draw_row_expander(d, slot);
      draw_cell(d, slot, c);
      if (g.gridV == 1 && c.column < g.columnCount - 1)
        tk_draw_line(c.area.right - 1, y, 0, slot.height, g.gridColor);
    }
  }
}

// ---- built-in scroll arrows ----------------------------------------------------

// Draws the arrow pairs the layout shows, the held one pressed.
void draw_scroll_arrows(const Pieces& p, const GridRecord& g, const GridLayout& l,
                        const GridSkinPieces& k) {
  const GridArea& left = l.arrowPictures[GridArrow::Left - 1];
  const GridArea& up = l.arrowPictures[GridArrow::Up - 1];
  if (l.arrowPairs & GridArrowPairs::Horizontal) put(p.arrowsH, left.left, left.top);
  if (l.arrowPairs & GridArrowPairs::Vertical) put(p.arrowsV, up.left, up.top);
  if (l.arrowPairs > 0 && g.pressedArrow > GridArrow::None && g.pressedArrow <= GridArrow::Count) {
    const GridArea& to = l.arrowPictures[g.pressedArrow - 1];
    put(k.pressed[g.pressedArrow - 1].get(), to.left, to.top);
  }
}

}  // namespace

// ---- paint_grid ------------------------------------------------------------------

bool paint_grid(Ui& ui, NamedObject& grid, const GridLayout& layout) {
  GridRecord* record = grid_record(grid);
  if (!record || !grid.canvas) return false;
  GridRecord& g = *record;
  const CanvasRecord& canvas = *grid.canvas;
  const int32_t w = layout.width, h = layout.height, s = canvas.iconSize;
  // A source grid's expanders share the grid's strip, cut when first needed.
  const bool sourceTree = g.source && g.showTree == 1 &&
                          std::any_of(layout.rows.begin(), layout.rows.end(),
                                      [](const GridRowSlot& r) { return r.expander; });
  const int32_t strip = sourceTree ? grid_expander_strip(grid) : 0;
  if (!tk_resize_image(canvas.canvasImage, w, h)) return false;
  if (!tk_start_drawing(tk_image_output(canvas.canvasImage))) return false;
  tk_drawing_mode(TK_DRAW_TRANSPARENT);
  if (const WindowRecord* window = window_of(ui, grid); window && window->font != 0)
    tk_drawing_font(window_font_handle(ui, grid));

  const GridSkinPieces& skin = skin_pieces(g.skin, canvas.sourceImage, s);
  Pieces pieces;
  cut_pieces(pieces, g, skin);
  draw_frame_and_ground(pieces, g, w, h, s);
  // Captions and rows cut by the edge stay inside the frame; the arrows
  // have their own place on it.
  clip_to(layout.captionArea);
  draw_caption_row(g, layout);
  clip_to(layout.rowsArea);
  draw_rows(DrawContext{g, pieces, layout, s, grid.frontColor, strip});
  tk_drawing_clip(0, 0, -1, -1);
  draw_scroll_arrows(pieces, g, layout, skin);
  tk_stop_drawing();

  tk_set_gadget_state(grid.gadget, tk_image_handle(canvas.canvasImage));
  return true;
}

// ---- draw_expander -----------------------------------------------------------------

void draw_expander(ExpanderRecord& e, const RowRecord& row, int32_t iconSize, int32_t x,
                   int32_t y) {
  // Idle or hovered: the picture follows the tree state and the hover.
  if (e.mode == ExpanderMode::ByState &&
      (e.state == ExpanderState::Idle || e.state >= ExpanderState::Hovered)) {
    if (e.frameImage) tk_free_image(e.frameImage);
    int32_t frame = e.hovered == 1 ? 2 : 0;
    if (e.style == ExpanderStyle::Triangle && row.isParent >= RowTree::Expanded) frame += 4;
    e.frameImage = tk_grab_image_region(e.strip, -1, frame * iconSize, 0, iconSize, iconSize);
  }
  put(e.frameImage, x, y);
}
