#pragma once
// Shared fixture of the grid tests: a fresh framework context with a hidden
// window and one grid "Grid" at (6, 200), 700 × 150, drawn from a synthetic
// 350 × 40 source image with an icon size of 20.
//
// The source image paints every 20 × 20 tile of row 0 and every expander
// frame of row 1 in its own flat colour (tile_colour / frame_colour), so a
// test can tell from a canvas pixel which piece was drawn there.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "toolkit/skin_sheet.h"
#include "toolkit/tk.h"

using namespace zui;

namespace grid_test {

inline constexpr int32_t kIcon = 20;
inline constexpr int32_t kSourceWidth = 350;
inline constexpr int32_t kSourceHeight = 40;

// Colour of tile k of row 0 (frame, ground and selection tiles).
inline int32_t tile_colour(int32_t k) { return tk_pack_colour(40 + k * 12, 90, 200 - k * 8); }
// Colour of expander frame n of row 1.
inline int32_t frame_colour(int32_t n) { return tk_pack_colour(200, 20 + n * 15, 60); }

// The synthetic grid source image; 0 when the toolkit cannot create it.
inline int32_t make_grid_source() {
  const int32_t image = tk_create_image(-1, kSourceWidth, kSourceHeight);
  if (!image) return 0;
  if (tk_start_drawing(tk_image_output(image))) {
    for (int32_t k = 0; k < kSourceWidth / kIcon; ++k) {
      tk_draw_box(k * kIcon, 0, kIcon, kIcon, tile_colour(k));
      tk_draw_box(k * kIcon, kIcon, kIcon, kIcon, frame_colour(k));
    }
    tk_stop_drawing();
  }
  return image;
}

// The real grid skin piece ("GridParts", 0,262 350 × 40 of the embedded
// sheet); 0 when the sheet cannot be decoded.
inline int32_t real_grid_parts() {
  const int32_t sheet = tk_decode_image(-1, zui_skin_sheet_png, zui_skin_sheet_png_size);
  if (!sheet) return 0;
  const int32_t parts = tk_grab_image_region(sheet, -1, 0, 262, 350, 40);
  tk_free_image(sheet);
  return parts;
}

class GridFixture : public ::testing::Test {
 protected:
  static constexpr const char* kWindow = "GridTestWindow";
  static constexpr const char* kGrid = "Grid";

  void SetUp() override {
    window = create_window(ui, kWindow, 0, 0, 900, 600, "Grid test", TK_WINDOW_HIDDEN);
    source = make_grid_source();
    gadget = create_grid(ui, kGrid, 6, 200, 700, 150, source, kIcon, "");
  }

  void TearDown() override {
    if (window) close_window(ui, kWindow);
    if (source) tk_free_image(source);
  }

  // Another grid in the same window, same source image.
  int32_t make_grid(const std::string& name, int16_t x, int16_t y, int16_t w, int16_t h,
                    const std::string& parent = "") {
    return create_grid(ui, name, x, y, w, h, source, kIcon, parent);
  }

  // The named object or nullptr; leaves it current like any lookup.
  NamedObject* object(const std::string& name) {
    return find_object(ui, name, 1) == 1 ? current_object(ui) : nullptr;
  }

  GridRecord* record(const std::string& name = kGrid) {
    NamedObject* obj = object(name);
    return obj ? grid_record(*obj) : nullptr;
  }

  // The grid's composed canvas image (0 when none).
  int32_t canvas(const std::string& name = kGrid) {
    NamedObject* obj = object(name);
    return (obj && obj->canvas) ? obj->canvas->canvasImage : 0;
  }

  // Draws the grid named kGrid.
  void draw() {
    NamedObject* grid = object(kGrid);
    ASSERT_NE(grid, nullptr);
    render_grid(ui, *grid);
  }

  // grid_key on the grid named kGrid.
  int8_t key(int32_t id) {
    NamedObject* grid = object(kGrid);
    EXPECT_NE(grid, nullptr);
    return grid ? grid_key(ui, *grid, id) : 0;
  }

  // The expander of the first cell of `row` of kGrid, nullptr when none.
  ExpanderRecord* expander(int32_t row) {
    GridRecord* g = record();
    return g->cells[static_cast<size_t>(row) * g->columnCount].expander.get();
  }

  // Columns of width 100 captioned "C0".., rows of height 20 with the
  // cell texts "c,r"; redraw off for the additions.
  void fill(const std::string& name, int32_t columns, int32_t rows) {
    for (int32_t c = 0; c < columns; ++c)
      add_column(ui, name, -1, "C" + std::to_string(c), 100, 1, 0, 0, "", 0);
    for (int32_t r = 0; r < rows; ++r) {
      std::string texts;
      for (int32_t c = 0; c < columns; ++c)
        texts += (c ? "\n" : "") + std::to_string(c) + "," + std::to_string(r);
      add_row(ui, name, -1, "", 20, 0, texts, "", 0);
    }
  }

  // Gives the first cell of `row` an expander like the tree code does, when
  // it has none yet (strip: 50 frames of row 1 of the source).
  ExpanderRecord* ensure_expander(const std::string& name, int32_t row) {
    GridRecord* g = record(name);
    if (!g || g->columns.empty() || row < 0 || row >= g->rowCount) return nullptr;
    CellRecord& cell = g->cells[static_cast<size_t>(row) * g->columns.size()];
    if (!cell.expander) {
      cell.expander = std::make_unique<ExpanderRecord>();
      cell.expander->strip = tk_grab_image_region(source, -1, 0, kIcon, 50 * kIcon, kIcon);
    }
    return cell.expander.get();
  }

  Ui ui;
  int32_t window = 0;
  int32_t source = 0;
  int32_t gadget = 0;
};

}  // namespace grid_test
