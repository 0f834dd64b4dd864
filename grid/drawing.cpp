// A drawing of the grid in three steps: the layout, painted, then what
// follows a drawing. Painting (grid/render.cpp) changes pixels only; the
// grid's own record, its editor, its scroll bars and screen readers learn
// of the drawing here, so painting never calls back into them.
#include <cstdint>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "grid/grid_layout.h"
#include "toolkit/tk.h"

namespace zui {

void render_grid(Ui& ui, NamedObject& grid) {
  if (grid.kind != Kind::Grid || !grid_record(grid) || !grid.canvas) return;
  if (drawing_owed(ui, grid)) return;
  const GridRecord& g = *grid_record(grid);
  const CanvasRecord& canvas = *grid.canvas;
  if (!tk_image_exists(canvas.sourceImage) || !tk_image_exists(canvas.canvasImage)) return;
  if (g.redraw != 1) return;
  // A grid without area keeps its last picture.
  if (grid.width <= 0 || grid.height <= 0) return;
  const GridLayout layout = compute_grid_layout(g, grid.width, grid.height, canvas.iconSize);
  if (!paint_grid(ui, grid, layout)) return;
  after_grid_drawing(ui, grid, layout);
}

void after_grid_drawing(Ui& ui, NamedObject& grid, const GridLayout& layout) {
  GridRecord& g = *grid_record(grid);
  const GridWalkEnd& end = layout.end;
  // The rows walked carry the tree marks of this drawing; the walk anchor
  // lets the next walks of this layout start at the first drawn row.
  // (A source grid keeps no row records to mark.)
  if (!g.source)
    for (const GridRowMark& m : end.marks) g.rows[m.row].hiddenInTree = m.hidden ? 1 : 0;
  if (end.anchored) g.walkAnchor = end.anchor;
  g.lastVisibleColumn = static_cast<int16_t>(end.columns - 1);
  g.lastVisibleRow = end.lastRow;
  g.scrollArrows = layout.arrowPairs;

  // The open editor lies over its own cell also while the cursor is not
  // drawn: left where it was created it would be off-screen yet keep the
  // focus and swallow the keys. The place is noted relative to the grid,
  // so that it follows the grid when the grid moves. An editor whose cell
  // is not drawn (scrolled away, inside a collapsed subtree, beyond the
  // right edge) waits hidden; Return and Escape typed in it still reach
  // the grid.
  if (layout.editorShown) {
    EditorPlace& e = g.editor;
    e.x = static_cast<int16_t>(layout.editor.left);
    e.y = static_cast<int16_t>(layout.editor.top);
    e.width = static_cast<int16_t>(layout.editor.right - layout.editor.left);
    e.height = static_cast<int16_t>(layout.editor.bottom - layout.editor.top);
  }
  if (editor_is_open(g)) {
    g.editor.drawn = layout.editorShown ? 1 : 0;
    lay_editor(grid);
  }
  if (!g.hScrollBar.empty() || !g.vScrollBar.empty())
    update_grid_scroll_bars(ui, grid, end.x, end.y);
  announce_grid_changes(grid);
}

}  // namespace zui
