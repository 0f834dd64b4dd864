// The grid as a kind of the framework: its creation and the behaviour it
// registers (drawing, layout, keywords, release).
//
// Sections: hooks · registration · creation.
#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_internal.h"
#include "toolkit/tk.h"

namespace zui {

// ---- hooks -------------------------------------------------------------------
namespace {

void grid_draw(Ui& ui, NamedObject& o) {
  if (!grid_record(o)) return;
  render_grid(ui, o);
}

// The editor gadget and the records with their images; the record itself
// goes with the object.
void grid_release(NamedObject& o) {
  GridRecord* g = grid_record(o);
  if (!g) return;
  if (tk_gadget_exists(g->inputGadget)) tk_free_gadget(g->inputGadget);
  g->inputGadget = 0;
  clear_grid_records(*g, true);
}

void grid_placed(Ui& ui, NamedObject& o) { place_editor(ui, o); }

}  // namespace

// ---- registration ------------------------------------------------------------

void register_grid_kind(Ui& ui) {
  if (kind_registered(ui, Kind::Grid)) return;
  KindBehaviour b;
  b.draw = grid_draw;
  b.layout = grid_layout;
  b.placed = grid_placed;
  b.keyword = grid_keyword;
  b.setKeyword = set_grid_keyword;
  b.renamed = grid_renamed;
  b.scrollBarLinked = grid_scroll_bar_linked;
  b.release = grid_release;
  b.valueInRecord = true;  // cell texts live in the record
  b.colour = [](Ui&, NamedObject& o, int32_t type, int32_t colour) {
    if (type == 3) write_keyword_field(grid_keyword(o, "GRIDCOLOR"), std::to_string(colour));
  };
  b.scrolledBy = [](Ui& ui, NamedObject& o, const NamedObject& bar) {
    const bool vertical = bar.scrollBarData && bar.scrollBarData->vertical == 1;
    set_attribute(ui, o, vertical ? "SCROLLY" : "SCROLLX", bar.text, 1);
  };
  grid_register_event_hooks(b);
  grid_register_accessible_hooks(b);
  register_kind(ui, Kind::Grid, b);
}

// ---- creation ----------------------------------------------------------------

int32_t create_grid(Ui& ui, const std::string& name, int16_t x, int16_t y, int16_t width,
                    int16_t height, int32_t image, int8_t pieceSize, const std::string& parent) {
  register_grid_kind(ui);
  NamedObject* o = begin_object(ui, name, Kind::Grid, x, y, width, height, parent);
  if (!o) return 0;
  o->control = std::make_unique<GridRecord>();  // its defaults are the grid's defaults
  o->canvas = new_canvas_record(image, width, height);
  o->gadget = create_image_gadget_of(x, y, width, height, o->canvas->canvasImage);
  o->canvas->iconSize = pieceSize;
  render_grid(ui, *o);
  return end_object(ui, *o);
}

}  // namespace zui
