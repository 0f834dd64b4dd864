// What a person types, scrolls and drags on the demo screen's grids, through
// real Qt input and the real main-loop iteration: keys land where the
// caret is, a clicked grid keeps its keys, the wheel scrolls, caption
// borders resize.
#include <QWheelEvent>

#include "support/app_fixtures.h"

using namespace zui;

namespace {

const std::string kTree = "SideTreeCases";
const std::string kCalc = "GridVersionCalc";

class Typing : public DemoScreen {
 protected:
  void show_calc_page() {
    click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);  // "grid matrix"
    ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelCalc"); }));
  }
  std::string text_of(const std::string& name) { return tk_get_gadget_text(gadget(name)); }
  // One wheel turn over the grid at (dx, dy), in 1/120 notches.
  void wheel(const std::string& name, int dx, int dy, int delta,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    hover(name, dx, dy);
    QWidget* w = widget(name);
    const QPoint p = local_point(name, dx, dy);
    QWheelEvent e(p, w->mapToGlobal(p), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
    run_for(60);
  }
  // x of the border after `column` in the caption row, inside the grid.
  int border_x(const std::string& name, int column) {
    GridRecord& g = grid(name);
    int x = g.captRowWidth > 0 ? g.captRowWidth : 4;
    for (int k = g.scrollX; k <= column; ++k) x += g.columns[k].width;
    return x;
  }
};

// With the caret in a text field and the mouse resting on a grid, every key
// goes to the field: Space opens no tree row, the arrows and End move the
// caret.
TEST_F(Typing, KeysGoToTheFieldWhateverGridTheMouseRestsOn) {
  click("InputHeadCaseCaption", 20, 8);
  ASSERT_TRUE(run_until([&] { return saw(Code::Focus, "InputHeadCaseCaption"); }));
  const GridRecord& tree = grid(kTree);
  std::vector<int8_t> parents;
  for (const RowRecord& r : tree.rows) parents.push_back(r.isParent);
  const int32_t row = tree.cursorRow;

  hover_cell(kTree, 0, 0);
  run_for(80);
  type("a b");
  key(Qt::Key_Left);
  key(Qt::Key_Left);
  type("X");
  key(Qt::Key_End);
  type(" ");
  run_for(80);
  EXPECT_EQ(text_of("InputHeadCaseCaption"), "aX b ");
  EXPECT_EQ(tree.cursorRow, row);
  for (size_t j = 0; j < parents.size(); ++j) EXPECT_EQ(tree.rows[j].isParent, parents[j]) << j;
  EXPECT_FALSE(saw(Code::GridToggled, kTree));
  EXPECT_TRUE(widget("InputHeadCaseCaption")->hasFocus());
}

// A clicked grid keeps its keys while the mouse goes elsewhere (not into a
// field): arrows, Page Up and Page Down, Home and End.
TEST_F(Typing, AClickedGridTakesItsKeysWhereverTheMouseGoes) {
  show_calc_page();
  set_attribute(app.ui, kCalc, "REDRAW", "0", 0);
  for (int j = 6; j <= 40; ++j)
    add_row(app.ui, kCalc, -1, "row", 20, 0, "A\nB\nC", "", 0);
  set_attribute(app.ui, kCalc, "REDRAW", "1", 1);
  click_cell(kCalc, 1, 0);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridCursor, kCalc); }));
  hover("ButtonHeadExpCol", 8, 8);
  run_for(80);

  const GridRecord& g = grid(kCalc);
  key(Qt::Key_Down);
  run_for(60);
  EXPECT_EQ(g.cursorRow, 1);
  key(Qt::Key_PageDown);
  run_for(60);
  const int32_t paged = g.cursorRow;
  EXPECT_GT(paged, 3);
  EXPECT_GT(g.scrollY, 0);
  key(Qt::Key_PageUp);
  run_for(60);
  EXPECT_LT(g.cursorRow, paged);
  key(Qt::Key_End);
  run_for(60);
  EXPECT_EQ(g.cursorColumn, g.columnCount - 1);
  key(Qt::Key_Home);
  run_for(60);
  EXPECT_EQ(g.cursorColumn, 0);
}

// The wheel scrolls the grid under the pointer three rows a notch and stops
// at the last page, which then shows whole.
TEST_F(Typing, TheWheelScrollsThreeRowsANotchUpToTheLastPage) {
  show_calc_page();
  set_attribute(app.ui, kCalc, "REDRAW", "0", 0);
  for (int j = 6; j <= 30; ++j)
    add_row(app.ui, kCalc, -1, "row", 20, 0, "A\nB\nC", "", 0);
  set_attribute(app.ui, kCalc, "REDRAW", "1", 1);
  const GridRecord& g = grid(kCalc);
  const auto [dx, dy] = cell_offset(kCalc, 1, 1);
  wheel(kCalc, dx, dy, -TK_WHEEL_NOTCH);
  EXPECT_EQ(g.scrollY, 3);
  for (int i = 0; i < 20; ++i) wheel(kCalc, dx, dy, -TK_WHEEL_NOTCH);
  const int32_t last = g.scrollY;
  EXPECT_EQ(g.lastVisibleRow, g.rowCount - 1);
  wheel(kCalc, dx, dy, -TK_WHEEL_NOTCH);
  EXPECT_EQ(g.scrollY, last);
  wheel(kCalc, dx, dy, TK_WHEEL_NOTCH);
  EXPECT_EQ(g.scrollY, last - 3);
}

// A caption border dragged resizes its column; double-clicked, the column
// fits its widest text; the caption itself still selects.
TEST_F(Typing, DraggingACaptionBorderResizesTheColumn) {
  show_calc_page();
  const GridRecord& g = grid(kCalc);
  const int16_t before = g.columns[1].width;
  const int x = border_x(kCalc, 1);
  hover(kCalc, x + 1, 10);
  run_for(60);
  QWidget* w = widget(kCalc);
  EXPECT_EQ(w->cursor().shape(), Qt::SplitHCursor);
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, local_point(kCalc, x + 1, 10));
  run_for(60);
  for (int step = 10; step <= 40; step += 10) {
    hover(kCalc, x + 1 + step, 12);
    run_for(40);
  }
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, local_point(kCalc, x + 41, 12));
  run_for(60);
  EXPECT_EQ(g.columns[1].width, before + 40);
  hover(kCalc, x + 80, 12);
  run_for(60);
  EXPECT_EQ(g.columns[1].width, before + 40);  // the drag ended with the button

  double_click(kCalc, border_x(kCalc, 1), 10);
  run_for(60);
  EXPECT_LT(g.columns[1].width, before);  // "cell B1" is narrow
  EXPECT_GT(g.columns[1].width, 30);

  click(kCalc, border_x(kCalc, 1) - g.columns[1].width / 2, 10);
  run_for(60);
  EXPECT_EQ(g.cursorColumn, 1);
  EXPECT_EQ(g.selectionEndRow, g.rowCount - 1);
  EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

}  // namespace
