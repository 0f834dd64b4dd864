// Keyword attributes: number parsing and field widths, object, grid,
// column, row and cell keywords, the redraw argument and REDRAW batching.
#include <gtest/gtest.h>

#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "support/grid_fixtures.h"
#include "toolkit/tk.h"

using namespace zui;

namespace {

using grid_test::GridFixture;
using grid_test::tile_colour;

class GridAttributes : public GridFixture {
 protected:
  std::string get(const std::string& keyword) { return get_attribute(ui, kGrid, keyword); }
  void set(const std::string& keyword, const std::string& value, int8_t redraw = 0) {
    set_attribute(ui, kGrid, keyword, value, redraw);
  }
  int32_t px(int32_t x, int32_t y) { return tk_image_pixel(canvas(), x, y); }
};

TEST_F(GridAttributes, NumbersParseLikeTheKeywordReader) {
  EXPECT_EQ(parse_keyword_number(" 12abc"), 12);
  EXPECT_EQ(parse_keyword_number("\t\t-7"), -7);
  EXPECT_EQ(parse_keyword_number("+5"), 5);
  EXPECT_EQ(parse_keyword_number(""), 0);
  EXPECT_EQ(parse_keyword_number("abc"), 0);
  EXPECT_EQ(parse_keyword_number("--5"), 0);
  EXPECT_EQ(parse_keyword_number("- 5"), 0);
  EXPECT_EQ(parse_keyword_number("1 2"), 1);
  // An overlong digit string keeps its low bits and does not trap.
  EXPECT_EQ(static_cast<int16_t>(parse_keyword_number("99999999999999999999999")),
            static_cast<int16_t>(parse_keyword_number("99999999999999999999999")));
  EXPECT_EQ(static_cast<uint8_t>(parse_keyword_number("18446744073709551916")), 44);  // 2^64 + 300
}

TEST_F(GridAttributes, FieldsKeepTheirLowBits) {
  set("CAPTCOLHEIGHT", "300");
  EXPECT_EQ(get("CAPTCOLHEIGHT"), "44");
  set("CAPTCOLHEIGHT", "200");
  EXPECT_EQ(get("CAPTCOLHEIGHT"), "-56");
  set("SCROLLX", " 12ab");
  EXPECT_EQ(get("SCROLLX"), "12");
  set("SCROLLX", "");
  EXPECT_EQ(get("SCROLLX"), "0");
  set("SCROLLY", "70000");  // a row position: 32 bits, no wrap at 65,536
  EXPECT_EQ(get("SCROLLY"), "70000");
  set("SCROLLY", "4294967297");  // 2^32 + 1
  EXPECT_EQ(get("SCROLLY"), "1");
  set("CAPTROWWIDTH", "-1");
  EXPECT_EQ(get("CAPTROWWIDTH"), "-1");
  set("GRIDH", "255");
  EXPECT_EQ(get("GRIDH"), "-1");
  set("GRIDCOLOR", "4294967295");  // int32 low bits: -1
  EXPECT_EQ(get("GRIDCOLOR"), "-1");
}

TEST_F(GridAttributes, GridKeywordsAndDefaults) {
  // Keywords are upper-cased first; the default line colour is 0x5E5E5E.
  EXPECT_EQ(get_attribute(ui, kGrid, "gridcolor"), "6184542");
  EXPECT_EQ(get("GridH"), "1");
  EXPECT_EQ(get("GRIDV"), "1");
  EXPECT_EQ(get("SHOWTREE"), "1");
  EXPECT_EQ(get("REDRAW"), "1");
  EXPECT_EQ(get("KEYBOARDCONTROL"), "1");
  EXPECT_EQ(get("PERMANENTCURSOR"), "0");
  for (const char* keyword :
       {"GRIDV", "GRIDH", "GRIDCOLOR", "CAPTCOLHEIGHT", "CAPTROWWIDTH", "COLCUSTOM", "SHOWTREE",
        "SELMODE", "SELFRONTCOLOR", "BORDERLESS", "PERMANENTCURSOR", "ENABLEINPUT",
        "SELECTORSTYLE", "KEYBOARDCONTROL", "SCROLLX", "SCROLLY"}) {
    set(keyword, "3");
    EXPECT_EQ(get(keyword), "3") << keyword;
  }
  GridRecord* g = record();
  EXPECT_EQ(g->colCustom, 3);
  EXPECT_EQ(g->selMode, 3);
  EXPECT_EQ(g->enableInput, 3);
  // ANIMATING reads but is never written.
  g->animating = 1;
  set("ANIMATING", "0");
  EXPECT_EQ(get("ANIMATING"), "1");
  // The bar keywords are set-only.
  EXPECT_EQ(get("SCOLLBARX"), "");
  EXPECT_EQ(get("NOSUCHKEYWORD"), "");
  set("NOSUCHKEYWORD", "5");
}

TEST_F(GridAttributes, CommonKeywordsAndRenaming) {
  set("FRONTCOLOR", "255");
  set("HELPTEXT", "Some help");
  set("CHANGED", "1");
  set("CATCHMOUSEOVER", "1");
  EXPECT_EQ(get("FRONTCOLOR"), "255");
  EXPECT_EQ(get("helptext"), "Some help");
  EXPECT_EQ(get("CHANGED"), "1");
  EXPECT_EQ(get("CATCHMOUSEOVER"), "1");
  EXPECT_EQ(get("NAME"), "");

  set("NAME", "Renamed");
  EXPECT_EQ(get_attribute(ui, kGrid, "CHANGED"), "");
  EXPECT_EQ(get_attribute(ui, "Renamed", "CHANGED"), "1");
  EXPECT_EQ(grid_column_count(ui, "Renamed"), 0);
  add_column(ui, "Renamed", -1, "", 50, 0, 0, 0, "", 0);
  EXPECT_EQ(grid_column_count(ui, "Renamed"), 1);
  // Renaming to an empty or a taken name is refused: lookups stay unique.
  make_grid("Other", 0, 0, 100, 100);
  set_attribute(ui, "Renamed", "NAME", "Other", 0);
  set_attribute(ui, "Renamed", "NAME", "", 0);
  EXPECT_EQ(grid_column_count(ui, "Renamed"), 1);
  set_attribute(ui, "Renamed", "NAME", kGrid, 0);
  // Nor may an object take the name its removed parent had: it would be its
  // own parent.
  create_container(ui, "Box", 0, 0, 200, 100, 0, "");
  create_container(ui, "Inner", 0, 0, 100, 50, 0, "Box");
  remove_object(ui, "Box", 0);
  set_attribute(ui, "Inner", "NAME", "Box", 0);
  EXPECT_EQ(get_attribute(ui, "Box", "CHANGED"), "");
  EXPECT_EQ(get_attribute(ui, "Inner", "CHANGED"), "0");

  // Unknown names: empty text, nothing changed.
  EXPECT_EQ(get_attribute(ui, "Nope", "GRIDH"), "");
  EXPECT_EQ(set_attribute(ui, "Nope", "GRIDH", "0", 1), -1);
}

// 0 only when a value was stored (or the keyword acted): a failure never
// reads as success.
TEST_F(GridAttributes, SettersReturnMinusOneWhenNothingWasStored) {
  fill(kGrid, 2, 2);
  make_grid("Other", 0, 0, 100, 100);
  const int32_t image = tk_create_image(-1, 8, 8);
  const struct {
    const char* what;
    int32_t result;
    int32_t expected;
  } cases[] = {
      {"grid keyword", set_attribute(ui, kGrid, "gridh", "0", 0), 0},
      {"common keyword", set_attribute(ui, kGrid, "HELPTEXT", "x", 1), 0},
      {"unknown keyword", set_attribute(ui, kGrid, "NOSUCHKEYWORD", "5", 1), -1},
      {"get-only keyword", set_attribute(ui, kGrid, "ANIMATING", "1", 0), -1},
      {"a scroll bar's keyword", set_attribute(ui, kGrid, "PAGELEN", "1", 0), -1},
      {"unknown object", set_attribute(ui, "Nope", "GRIDH", "0", 1), -1},
      {"a taken name", set_attribute(ui, kGrid, "NAME", "Other", 0), -1},
      {"the bar, new spelling", set_attribute(ui, kGrid, "ScrollBarY", "", 0), 0},
      {"the bar, old spelling", set_attribute(ui, "Other", "SCOLLBARX", "", 0), 0},
      {"column keyword", set_column_attribute(ui, kGrid, 1, "WIDTH", "9", 0), 0},
      {"a row keyword on a column", set_column_attribute(ui, kGrid, 1, "HEIGHT", "9", 1), -1},
      {"column past the end", set_column_attribute(ui, kGrid, 2, "WIDTH", "9", 0), -1},
      {"row keyword", set_row_attribute(ui, kGrid, 1, "HEIGHT", "9", 0), 0},
      {"a column keyword on a row", set_row_attribute(ui, kGrid, 1, "WIDTH", "9", 0), -1},
      {"an existing image", set_cell_attribute(ui, kGrid, 1, 1, "IMAGE", std::to_string(image), 0), 0},
      {"no such image", set_cell_attribute(ui, kGrid, 1, 1, "IMAGE", "123456789", 0), -1},
      {"a cell past the end", set_cell_attribute(ui, kGrid, 1, 2, "LOCK", "1", 0), -1},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.what;
  EXPECT_NE(object(std::string(kGrid) + "SCROLLV"), nullptr);
  EXPECT_NE(object("OtherSCROLLH"), nullptr);
  tk_free_image(image);
}

TEST_F(GridAttributes, ColumnRowAndCellKeywords) {
  fill(kGrid, 4, 3);
  make_grid("Other", 0, 0, 300, 100);
  fill("Other", 8, 8);  // its records must never be reached from Grid

  set_column_attribute(ui, kGrid, 1, "width", "70000", 0);
  EXPECT_EQ(get_column_attribute(ui, kGrid, 1, "WIDTH"), "4464");
  set_column_attribute(ui, kGrid, 2, "LISTALLOWEDVALUES", "a\tb", 0);
  EXPECT_EQ(get_column_attribute(ui, kGrid, 2, "LISTALLOWEDVALUES"), "a\tb");
  for (const char* k : {"ORIENTATION", "SUMMARY", "INPUTTYPE", "LOCK", "MARGINLEFT",
                        "INPUTHEIGHT", "BGCOLOR"}) {
    set_column_attribute(ui, kGrid, 3, k, "-2", 0);
    EXPECT_EQ(get_column_attribute(ui, kGrid, 3, k), "-2") << k;
  }
  EXPECT_EQ(get_column_attribute(ui, kGrid, 0, "CAPTION"), "C0");

  for (const char* k : {"HEIGHT", "LEVEL", "ISPARENT", "PARENT", "VORIENTATION", "LOCK", "DATA",
                        "BGCOLOR"}) {
    set_row_attribute(ui, kGrid, 2, k, "7", 0);
    EXPECT_EQ(get_row_attribute(ui, kGrid, 2, k), "7") << k;
  }
  set_row_attribute(ui, kGrid, 1, "KEY", "key-1", 0);
  set_row_attribute(ui, kGrid, 1, "CAPTION", "Cap", 0);
  EXPECT_EQ(get_row_attribute(ui, kGrid, 1, "KEY"), "key-1");
  EXPECT_EQ(get_row_attribute(ui, kGrid, 1, "CAPTION"), "Cap");
  set_row_attribute(ui, kGrid, 0, "DATA", "-123456789", 0);
  EXPECT_EQ(get_row_attribute(ui, kGrid, 0, "DATA"), "-123456789");

  for (const char* k : {"LOCK", "FONTCOLOR", "BGCOLOR"}) {
    set_cell_attribute(ui, kGrid, 3, 2, k, "9", 0);
    EXPECT_EQ(get_cell_attribute(ui, kGrid, 3, 2, k), "9") << k;
  }

  // Records that do not exist: empty text, nothing changed, also though
  // another grid with more columns and rows exists.
  for (int16_t c : {-1, 4, 5, 8, 32767, -32768}) {
    set_column_attribute(ui, kGrid, c, "WIDTH", "1", 0);
    EXPECT_EQ(get_column_attribute(ui, kGrid, c, "WIDTH"), "") << c;
    set_cell_attribute(ui, kGrid, c, 0, "LOCK", "1", 0);
    EXPECT_EQ(get_cell_attribute(ui, kGrid, c, 0, "LOCK"), "") << c;
  }
  for (int16_t r : {-1, 3, 7, 32767}) {
    set_row_attribute(ui, kGrid, r, "HEIGHT", "1", 0);
    EXPECT_EQ(get_row_attribute(ui, kGrid, r, "HEIGHT"), "") << r;
    EXPECT_EQ(get_cell_attribute(ui, kGrid, 0, r, "LOCK"), "") << r;
  }
  for (int c = 0; c < 8; ++c) EXPECT_EQ(get_column_attribute(ui, "Other", c, "WIDTH"), "100");
  EXPECT_EQ(get_column_attribute(ui, kGrid, 0, "NOSUCH"), "");
  EXPECT_EQ(get_row_attribute(ui, kGrid, 0, ""), "");
  // Column, row and cell keywords need a grid.
  ASSERT_EQ(register_object(ui, "Plain", Kind::Label, 0, 0, 10, 10, ""), 1);
  finish_creation(ui);
  EXPECT_EQ(get_column_attribute(ui, "Plain", 0, "WIDTH"), "");
  EXPECT_EQ(get_attribute(ui, "Plain", "GRIDH"), "");
}

TEST_F(GridAttributes, CellImageOnlyFromAnExistingImage) {
  fill(kGrid, 2, 2);
  const int32_t image = tk_create_image(-1, 8, 8);
  ASSERT_NE(image, 0);
  set_cell_attribute(ui, kGrid, 1, 1, "IMAGE", std::to_string(image), 0);
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 1, "IMAGE"), std::to_string(image));
  for (const char* bad : {"0", "-1", "123456789", "", "image"}) {
    set_cell_attribute(ui, kGrid, 1, 1, "IMAGE", bad, 1);
    EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 1, "IMAGE"), std::to_string(image)) << bad;
  }
  // An image freed later is simply not drawn.
  tk_free_image(image);
  render_grid(ui, *object(kGrid));
  EXPECT_EQ(get_cell_attribute(ui, kGrid, 1, 1, "IMAGE"), std::to_string(image));
}

TEST_F(GridAttributes, RedrawArgumentAndRedrawBatching) {
  fill(kGrid, 2, 2);
  render_grid(ui, *object(kGrid));
  const int32_t before = px(50, 30);
  // Redraw 0 (or anything but 1) only stores.
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", "255", 0);
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", "255", 2);
  EXPECT_EQ(px(50, 30), before);
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", "255", 1);
  EXPECT_EQ(px(50, 30), 255);
  // An unknown keyword still draws when asked.
  record()->rows[0].bgColor = 0xFF00;
  set("NOSUCHKEYWORD", "1", 1);
  EXPECT_EQ(px(50, 30), 0xFF00);

  // REDRAW 0 with redraw 1 stores 0 and draws nothing from then on.
  set("REDRAW", "0", 1);
  EXPECT_EQ(get("REDRAW"), "0");
  set_column_attribute(ui, kGrid, 0, "BGCOLOR", "1234", 1);
  set_cell_attribute(ui, kGrid, 0, 0, "BGCOLOR", "4321", 1);
  set_row_attribute(ui, kGrid, 0, "BGCOLOR", "255", 1);
  set("GRIDCOLOR", "0", 1);
  EXPECT_EQ(px(50, 30), 0xFF00);
  // REDRAW 1 with redraw 1 draws the whole batch once.
  set("REDRAW", "1", 1);
  EXPECT_EQ(px(50, 30), 4321);
  EXPECT_EQ(px(150, 30), 255);
}

TEST_F(GridAttributes, ScrollBarKeywordsAndParentGrid) {
  if (create_scroll_bar(ui, "Bar", 0, 0, 18, 100, 0, 10, 1, 1, "") == 0)
    GTEST_SKIP() << "no scroll bar gadgets on this toolkit build";
  set_attribute(ui, "Bar", "MAX", "40", 0);
  EXPECT_EQ(get_attribute(ui, "Bar", "MAX"), "40");
  set_attribute(ui, "Bar", "PARENTGRID", "Nothing", 0);
  EXPECT_EQ(get_attribute(ui, "Bar", "PARENTGRID"), "Nothing");
  EXPECT_EQ(record()->vScrollBar, "");
  set_attribute(ui, "Bar", "PARENTGRID", kGrid, 1);
  EXPECT_EQ(record()->vScrollBar, "Bar");
  EXPECT_EQ(record()->hScrollBar, "");
  EXPECT_EQ(get_attribute(ui, "Bar", "GRIDH"), "");
}

}  // namespace
