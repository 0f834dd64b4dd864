// Typed grid attributes: each enumerator reaches the same field as the
// keyword it stands for. Two equal grids take the same value, one through
// the typed setter, one through the keyword; both must answer alike.
#include <gtest/gtest.h>

#include <string>

#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_typed.h"
#include "support/grid_fixtures.h"

using namespace zui;

namespace {

class TypedGridAttributes : public grid_test::GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    make_grid("Twin", 0, 0, 300, 100);
    fill(kGrid, 4, 3);
    fill("Twin", 4, 3);
  }
};

TEST_F(TypedGridAttributes, EachSetterAgreesWithItsKeyword) {
  constexpr int64_t kValue = 3;
  const std::string text = std::to_string(kValue);
  for (int i = 0; i <= int(GridAttr::Animating); ++i) {
    const auto a = GridAttr(i);
    const std::string k = keyword_of(a);
    EXPECT_EQ(set_grid_attr(ui, kGrid, a, kValue), set_attribute(ui, "Twin", k, text, 0)) << k;
    EXPECT_EQ(get_attribute(ui, kGrid, k), get_attribute(ui, "Twin", k)) << k;
    EXPECT_EQ(grid_attr(ui, kGrid, a), parse_keyword_number(get_attribute(ui, "Twin", k))) << k;
  }
  for (int i = 0; i <= int(ColumnAttr::BgColor); ++i) {
    const auto a = ColumnAttr(i);
    const std::string k = keyword_of(a);
    EXPECT_EQ(set_column_attr(ui, kGrid, 1, a, kValue),
              set_column_attribute(ui, "Twin", 1, k, text, 0)) << k;
    EXPECT_EQ(column_attr_text(ui, kGrid, 1, a), get_column_attribute(ui, "Twin", 1, k)) << k;
    EXPECT_EQ(column_attr(ui, kGrid, 1, a), parse_keyword_number(get_column_attribute(ui, "Twin", 1, k))) << k;
  }
  for (int i = 0; i <= int(RowAttr::Key); ++i) {
    const auto a = RowAttr(i);
    const std::string k = keyword_of(a);
    EXPECT_EQ(set_row_attr(ui, kGrid, 1, a, kValue), set_row_attribute(ui, "Twin", 1, k, text, 0))
        << k;
    EXPECT_EQ(row_attr_text(ui, kGrid, 1, a), get_row_attribute(ui, "Twin", 1, k)) << k;
  }
  for (int i = 0; i <= int(CellAttr::BgColor); ++i) {
    const auto a = CellAttr(i);
    const std::string k = keyword_of(a);
    EXPECT_EQ(set_cell_attr(ui, kGrid, 1, 1, a, kValue),
              set_cell_attribute(ui, "Twin", 1, 1, k, text, 0)) << k;
    EXPECT_EQ(cell_attr(ui, kGrid, 1, 1, a),
              parse_keyword_number(get_cell_attribute(ui, "Twin", 1, 1, k))) << k;
  }
}

}  // namespace
