// Drawing of the grid into its canvas image.
//
// Sections: pieces · frame and ground · caption row · rows and cells ·
// built-in scroll arrows · render_grid · draw_expander.
//
// Every piece is cut from the grid's source image (the grid skin piece) once
// per skin and kept in the grid's record (GridRecord::skin). Where things
// go comes from the grid's layout (grid/grid_layout.h), which the mouse
// handling reads too, so hits match what was drawn; the drawing's own row
// walk only keeps the rows' tree marks and the walk anchor.
#include <algorithm>
#include <cassert>
#include <cstdint>
#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/grid_input_rules.h"
#include "grid/grid_layout.h"
#include "grid/row_walk.h"
#include "toolkit/tk.h"

namespace {

constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kArrow = kGridArrow;

// ---- pieces ------------------------------------------------------------------

// The pieces of one drawing, held by the grid's skin cache; 0 for a piece
// this drawing does not use.
struct Pieces {
  int32_t topLeft = 0, top = 0, topRight = 0;  // tiles 0-2 or 8-10
  int32_t left = 0, right = 0;                 // tiles 3, 4
  int32_t bottomLeft = 0, bottom = 0, bottomRight = 0;  // tiles 5-7
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
    const int32_t first = g.captColHeight > 0 ? 0 : 8;
    p.topLeft = tile(first);
    p.top = tile(first + 1);
    p.topRight = tile(first + 2);
    p.left = tile(3);
    p.right = tile(4);
    p.bottomLeft = tile(5);
    p.bottom = tile(6);
    p.bottomRight = tile(7);
  }
  p.ground = tile(11);
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
  put(p.ground, s, s, w - 2 * s, h - 2 * s);
  put(p.top, s, 0, w - 2 * s, s);
  put(p.bottom, s, h - s, w - 2 * s, s);
  put(p.left, 0, s, s, h - 2 * s);
  put(p.right, w - s, s, s, h - 2 * s);
  put(p.topLeft, 0, 0);
  put(p.topRight, w - s, 0);
  put(p.bottomLeft, 0, h - s);
  put(p.bottomRight, w - s, h - s);
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
void draw_caption_row(const GridRecord& g, const GridLayout& l, int32_t w) {
  if (!l.captionRow) return;
  int32_t x = l.captionTextsLeft;
  if (x > kFrameInset) caption_separator(x - 1);
  const int32_t columns = static_cast<int32_t>(g.columns.size());
  for (int32_t k = std::max<int32_t>(g.scrollX, 0); k < columns && x < w; ++k) {
    const ColumnRecord& c = g.columns[k];
    if (!c.caption.empty()) {
      // A caption wider than its column is cut like a cell's text.
      const std::string shown =
          fit_cell_text(c.caption, c.width - 2 * 7, [](const std::string& t) { return tk_text_width(t); });
      const int32_t tw = c.orientation == 0 ? 0 : tk_text_width(shown);
      if (!shown.empty()) tk_draw_text(aligned_x(c.orientation, x, c.width, tw, 7), 2, shown, kWhite);
    }
    x += c.width;
    if (g.gridV == 1 && k < g.columnCount - 1) caption_separator(x - 1);
  }
}

// ---- rows and cells ------------------------------------------------------------

// Where the row walk ended: what the arrows, lastVisible* and the scroll
// bars' enabling are computed from.
struct RowsEnd {
  int32_t x = 0;           // x at the end of the last shown row
  int32_t y = 0;           // y after the last drawn row
  int32_t k = 0;           // column counter of the last shown row
  int32_t lastRow = -1;    // last row walked
};

struct DrawContext {
  NamedObject& obj;
  GridRecord& g;
  const Pieces& p;
  const GridLayout& l;
  int32_t w, h, s;
};

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

// Draws one cell at x of row n (drawn row at y); returns nothing, the caller
// moves x. `tx` arrives with the tree indent already applied.
void draw_cell(DrawContext& d, const RowRecord& row, int32_t n, int32_t shownIndex,
               int32_t k, const ColumnRecord& column, CellRecord& cell, int32_t x, int32_t y,
               int32_t tx, int32_t ty) {
  GridRecord& g = d.g;
  const int32_t width = column.width;
  const int32_t height = row.height;

  // A cell narrower than its indent has no room for a background; the box
  // must not spill leftwards over its neighbours.
  const int32_t background = first_colour(cell.bgColor, column.bgColor, row.bgColor);
  const int32_t boxWidth = width - (tx - x);
  if (background > -1 && boxWidth > 0 && height > 1)
    tk_draw_box(tx, y + 1, boxWidth, height - 1, background);

  int32_t textColour = cell.fontColor;
  const bool hasImage = cell.image != 0 && tk_image_exists(cell.image);
  const int32_t imageOffset = hasImage ? tk_image_width(cell.image) + 5 : 0;

  if (selected(g, k, n)) {
    const int32_t top = (shownIndex > 0 && g.gridH == 1) ? y + 1 : y;
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

  if (!cell.text.empty()) {
    // The text stays inside its cell: its first line, cut with an ellipsis
    // where it does not fit, and clipped at the cell's edge besides.
    const int32_t room = x + width - tx - kTextPadding;
    const std::string shown = fit_cell_text(cell.text, room, [](const std::string& t) { return tk_text_width(t); });
    if (!shown.empty()) {
      const int32_t tw = column.orientation == 0 ? 0 : tk_text_width(shown);
      const GridArea rows = grid_paint_areas(g, d.w, d.h).rows;
      clip_to({std::max(tx, rows.left), std::max(y, rows.top), std::min(x + width, rows.right),
               std::min(y + height + 1, rows.bottom)});
      tk_draw_text(aligned_x(column.orientation, tx, width, tw, 4), ty + 2, shown, textColour);
      clip_to(rows);
    }
  }

  if (g.gridH == 1 && n < g.rowCount - 1) tk_draw_line(x, y + height, width, 0, g.gridColor);
}

// Draws the cells of drawn row n from x on; returns the x it ended at and
// leaves the column counter in k.
int32_t draw_row_cells(DrawContext& d, const GridRowSlot& slot, int32_t x, int32_t& k) {
  GridRecord& g = d.g;
  const int32_t n = slot.row, shownIndex = slot.shownIndex, y = slot.y;
  const RowRecord& row = g.rows[n];
  const int32_t columns = static_cast<int32_t>(g.columns.size());
  const size_t firstCell = static_cast<size_t>(n) * columns;
  k = 0;
  for (; k < columns && x < d.w; ++k) {
    if (firstCell + k >= g.cells.size()) break;
    const ColumnRecord& column = g.columns[k];
    CellRecord& cell = g.cells[firstCell + k];
    const bool drawn = k >= g.scrollX;

    if (!drawn) continue;
    const int32_t tx = grid_text_left(g, slot, k, x, d.s);
    const int32_t ty = slot.textY;
    if (k == 0 && slot.expander)
      draw_expander(*cell.expander, row, d.s, slot.expanderArea.left, slot.expanderArea.top);

    draw_cell(d, row, n, shownIndex, k, column, cell, x, y, tx, ty);
    x += column.width;
    if (g.gridV == 1 && k < g.columnCount - 1)
      tk_draw_line(x - 1, y, 0, row.height, g.gridColor);
  }
  return x;
}

RowsEnd draw_rows(DrawContext& d) {
  GridRecord& g = d.g;
  const bool captionCell = d.l.captionColumn;
  const int32_t cellsStart = d.l.cellsLeft;
  const int32_t columns = static_cast<int32_t>(g.columns.size());
  int32_t topTile = d.p.top;

  // The walk starts at the anchor or a checkpoint (grid/row_walk.h): the
  // rows before it are not drawn and keep the marks an earlier drawing gave.
  RowsEnd end;
  RowWalk walk(g, d.l.rowsTop, d.h);
  size_t drawnRows = 0;  // rows of the layout drawn so far
  bool anchored = false;
  while (walk.next()) {
    RowRecord& row = g.rows[walk.row];
    if (walk.drawn && !anchored) {
      g.walkAnchor = walk.anchor();
      anchored = true;
    }
    if (!walk.shown) {
      row.hiddenInTree = 1;
      continue;
    }
    row.hiddenInTree = 0;
    if (!walk.drawn) {
      // Nothing of a scrolled-away row is drawn and x never moves, so the
      // column counter runs through every column.
      end.x = 4;
      end.k = 4 < d.w ? columns : 0;
      continue;
    }
    assert(drawnRows < d.l.rows.size() && d.l.rows[drawnRows].row == walk.row);
    const GridRowSlot& slot = d.l.rows[drawnRows++];
    const int32_t y = walk.y;
    int32_t x = 4;
    if (captionCell) {
      put(topTile, 0, y, g.captRowWidth - 1, row.height);
      tk_draw_line(0, y, g.captRowWidth, 0, kWhite);
      if (!row.caption.empty()) tk_draw_text(7, y + 2, row.caption, kWhite);
      x = cellsStart;
    }
    end.x = draw_row_cells(d, slot, x, end.k);
  }
  end.y = walk.y;
  end.lastRow = walk.row;
  return end;
}

// ---- built-in scroll arrows ----------------------------------------------------

// Draws the arrow pairs the overflow calls for; returns scrollArrows.
int8_t draw_scroll_arrows(const Pieces& p, const GridRecord& g, const GridLayout& l,
                          const GridSkinPieces& k, const RowsEnd& end) {
  int8_t arrows = 0;
  if (!g.hScrollBar.empty() || !g.vScrollBar.empty()) return 0;
  const GridArea& left = l.arrowPictures[GridArrow::Left - 1];
  const GridArea& up = l.arrowPictures[GridArrow::Up - 1];
  if (end.x >= l.width + 10 || g.scrollX > 0) {
    put(p.arrowsH, left.left, left.top);
    arrows += GridArrowPairs::Horizontal;
  }
  if (end.y >= l.height || g.scrollY > 0) {
    put(p.arrowsV, up.left, up.top);
    arrows += GridArrowPairs::Vertical;
  }
  if (arrows > 0 && g.pressedArrow > GridArrow::None && g.pressedArrow <= GridArrow::Count) {
    const GridArea& to = l.arrowPictures[g.pressedArrow - 1];
    put(k.pressed[g.pressedArrow - 1].get(), to.left, to.top);
  }
  return arrows;
}

}  // namespace

// ---- render_grid -----------------------------------------------------------------

void render_grid(Ui& ui, NamedObject& grid) {
  NamedObject* obj = &grid;
  if (obj->kind != Kind::Grid || !grid_record(*obj) || !obj->canvas) return;
  GridRecord& g = *grid_record(*obj);
  const CanvasRecord& canvas = *obj->canvas;
  if (!tk_image_exists(canvas.sourceImage) || !tk_image_exists(canvas.canvasImage)) return;
  if (g.redraw != 1) return;
  const int32_t w = obj->width, h = obj->height, s = canvas.iconSize;
  // A grid without area keeps its last picture.
  if (w <= 0 || h <= 0) return;

  if (!tk_resize_image(canvas.canvasImage, w, h)) return;
  if (!tk_start_drawing(tk_image_output(canvas.canvasImage))) return;
  tk_drawing_mode(TK_DRAW_TRANSPARENT);
  if (const WindowRecord* window = current_window(ui); window && window->font != 0)
    tk_drawing_font(window_font_handle(ui));

  RowsEnd end;
  bool editorPlaced = false;
  {
    const GridSkinPieces& skin = skin_pieces(g.skin, canvas.sourceImage, s);
    Pieces pieces;
    cut_pieces(pieces, g, skin);
    draw_frame_and_ground(pieces, g, w, h, s);
    // Captions and rows cut by the edge stay inside the frame; the arrows
    // have their own place on it.
    const GridPaintAreas areas = grid_paint_areas(g, w, h);
    const GridLayout layout = compute_grid_layout(g, w, h, s);
    clip_to(areas.captionRow);
    draw_caption_row(g, layout, w);
    clip_to(areas.rows);
    DrawContext context{*obj, g, pieces, layout, w, h, s};
    end = draw_rows(context);
    tk_drawing_clip(0, 0, -1, -1);
    // The open editor lies over its own cell also while the cursor is not
    // drawn: left where it was created it would be off-screen yet keep the
    // focus and swallow the keys. The place is noted relative to the grid,
    // so that it follows the grid when the grid moves.
    editorPlaced = layout.editorShown;
    if (editorPlaced) {
      EditorPlace& e = g.editor;
      e.x = static_cast<int16_t>(layout.editor.left);
      e.y = static_cast<int16_t>(layout.editor.top);
      e.width = static_cast<int16_t>(layout.editor.right - layout.editor.left);
      e.height = static_cast<int16_t>(layout.editor.bottom - layout.editor.top);
    }
    g.lastVisibleColumn = static_cast<int16_t>(end.k - 1);
    g.lastVisibleRow = end.lastRow;
    g.scrollArrows = draw_scroll_arrows(pieces, g, layout, skin, end);
    tk_stop_drawing();
  }

  tk_set_gadget_state(obj->gadget, tk_image_handle(canvas.canvasImage));
  // An editor whose cell is not drawn (scrolled away, inside a collapsed
  // subtree, beyond the right edge) waits hidden; Return and Escape typed
  // in it still reach the grid.
  if (editor_is_open(g)) {
    g.editor.drawn = editorPlaced ? 1 : 0;
    lay_editor(*obj);
  }
  if (!g.hScrollBar.empty() || !g.vScrollBar.empty())
    update_grid_scroll_bars(ui, *obj, end.x, end.y);
  announce_grid_changes(*obj);
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
