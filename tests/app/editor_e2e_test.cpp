// The grid's cell editor driven end to end on the "grid matrix" page: real
// clicks and keys, the real main-loop iteration, then the cells, the editor
// gadget and where it lies.
#include <QLineEdit>

#include "support/app_fixtures.h"

namespace {

const std::string kCalc = "GridVersionCalc";
const std::string kConfig = "GridVersionConfig";

class CellEditor : public DemoScreen {
 protected:
  void SetUp() override {
    DemoScreen::SetUp();
    click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);  // "grid matrix"
    ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelCalc"); }));
    reported.clear();
  }

  int32_t editor() { return grid(kCalc).inputGadget; }
  QWidget* editor_widget() { return tk_gadget_widget(editor()); }
  std::string cell(int k, int j) { return get_cell_text(app.ui, kCalc, k, j); }

  // Opens the editor on a cell of the calculation grid with a double-click.
  void open_on(int k, int j) {
    reported.clear();
    double_click_cell(kCalc, k, j);
    ASSERT_TRUE(run_until([&] { return saw(Code::GridEditorOpened, kCalc); }));
    settle(100);
    ASSERT_NE(editor_widget(), nullptr);
    ASSERT_TRUE(editor_widget()->hasFocus());
  }

  // The editor is shown and covers the middle of its cell.
  bool editor_on_cell(int k, int j) {
    QWidget* e = editor_widget();
    if (e == nullptr || !e->isVisibleTo(top())) return false;
    const NamedObject* g = object(kCalc);
    const auto [dx, dy] = cell_offset(kCalc, k, j);
    const QRect r(tk_gadget_x(editor()), tk_gadget_y(editor()), tk_gadget_width(editor()),
                  tk_gadget_height(editor()));
    return dx >= 0 && r.contains(g->absX + dx, g->absY + dy);
  }

  // A click into the editor itself, as the user comes back to it.
  void click_editor() {
    QWidget* e = editor_widget();
    ASSERT_NE(e, nullptr);
    const QPoint p(e->width() / 2, e->height() / 2);
    QCursor::setPos(e->mapToGlobal(p));
    QTest::mouseClick(e, Qt::LeftButton, Qt::NoModifier, p);
  }
};

// Whatever the mouse passed over, the keys that move the cursor never move
// the edited cell, and what was typed lands in the cell it was typed for.
TEST_F(CellEditor, TypedTextStaysInItsCellWhateverTheMouseVisited) {
  struct Case {
    std::vector<Qt::Key> keys;  // pressed after the mouse came back
  };
  const Case cases[] = {{{Qt::Key_Down}}, {{Qt::Key_Left, Qt::Key_Down}},
                        {{Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Up}}};
  for (const Case& c : cases) {
    const std::string before = cell(1, 0);
    open_on(1, 0);
    type("Z");
    hover_cell(kConfig, 3, 0);
    run_for(80);
    hover_cell(kCalc, 1, 0);
    run_for(80);
    for (Qt::Key k : c.keys) key(k);
    type(" Y");
    run_for(80);
    EXPECT_TRUE(editor_on_cell(1, 0));
    const std::string typed = tk_get_gadget_text(editor());
    EXPECT_NE(typed.find(" Y"), std::string::npos) << "Space went to the field";
    reported.clear();
    key(Qt::Key_Return);
    ASSERT_TRUE(run_until([&] { return saw(Code::GridCommit, kCalc); }));
    EXPECT_EQ(cell(1, 0), typed);
    EXPECT_NE(cell(1, 0), before);
    EXPECT_EQ(grid_cursor_column(app.ui, kCalc), 1);
    EXPECT_EQ(grid_cursor_row(app.ui, kCalc), 0);
    // Every other cell, the locked column A included, is as it was.
    for (int k = 0; k < 3; ++k) {
      for (int j = 0; j < 5; ++j) {
        if (k == 1 && j == 0) continue;
        EXPECT_EQ(cell(k, j), "cell " + std::string(1, char('A' + k)) + std::to_string(j + 1));
      }
    }
  }
}

// A left click on another cell of the grid drops the edit; a click on the
// edited cell keeps it; the focus leaving for another widget commits.
TEST_F(CellEditor, ClicksInTheGridCancelFocusElsewhereCommits) {
  open_on(1, 0);
  type("kept");
  click_cell(kCalc, 1, 0);
  settle(100);
  ASSERT_NE(editor(), 0);
  EXPECT_TRUE(editor_widget()->hasFocus());

  click_cell(kCalc, 2, 1);
  ASSERT_TRUE(run_until([&] { return editor() == 0; }));
  settle(100);
  EXPECT_EQ(cell(1, 0), "cell B1");
  EXPECT_EQ(grid_cursor_column(app.ui, kCalc), 2);
  EXPECT_EQ(grid_cursor_row(app.ui, kCalc), 1);

  // Tab takes the focus to another widget while the mouse rests on the grid.
  open_on(2, 2);
  type("by focus");
  settle(100);
  const std::string typed = tk_get_gadget_text(editor());
  key(Qt::Key_Tab);
  ASSERT_TRUE(run_until([&] { return editor() == 0; }));
  EXPECT_EQ(cell(2, 2), typed);
}

// The editor lies on its cell while the grid moves, and hides with it.
TEST_F(CellEditor, EditorFollowsItsGrid) {
  open_on(1, 1);
  ASSERT_TRUE(editor_on_cell(1, 1));

  click("PanelVersionData", tab_middle("PanelVersionData", 0), 10);  // "General Version Data"
  ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelGeneral"); }));
  settle(100);
  EXPECT_FALSE(editor_widget()->isVisibleTo(top()));
  click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);
  ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelCalc"); }));
  EXPECT_TRUE(run_until([&] { return editor_on_cell(1, 1); }));

  // The head area folds: the grid moves up.
  const int16_t y = object(kCalc)->absY;
  click("ButtonHeadExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return object(kCalc)->absY != y; }));
  settle(100);
  EXPECT_TRUE(editor_on_cell(1, 1));

  // The sidebar folds: the grid moves left.
  const int16_t x = object(kCalc)->absX;
  click("ButtonSidebarExpCol", 20, 10);
  ASSERT_TRUE(run_until([&] { return object(kCalc)->absX != x; }));
  settle(100);
  EXPECT_TRUE(editor_on_cell(1, 1));

  // The main area folds: the grid hides.
  click("ButtonMainExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return !shown(kCalc); }));
  settle(100);
  EXPECT_FALSE(editor_widget()->isVisibleTo(top()));
  EXPECT_NE(editor(), 0);
}

// After the focus went to another widget and came back, Return and Escape
// reach the editor again.
TEST_F(CellEditor, ReturnAndEscapeWorkAfterTheFocusCameBack) {
  for (Qt::Key k : {Qt::Key_Return, Qt::Key_Escape}) {
    const std::string before = cell(2, 3);
    open_on(2, 3);
    type("X");
    const std::string typed = tk_get_gadget_text(editor());
    click("StringSearch", 30, 8);
    ASSERT_TRUE(run_until([&] { return saw(Code::Focus, "StringSearch"); }));
    ASSERT_NE(editor(), 0);
    click_editor();
    settle(100);
    ASSERT_TRUE(editor_widget()->hasFocus());
    reported.clear();
    key(k);
    const int code = k == Qt::Key_Return ? Code::GridCommit : Code::GridCancel;
    ASSERT_TRUE(run_until([&] { return saw(code, kCalc); }));
    EXPECT_EQ(editor(), 0);
    EXPECT_EQ(cell(2, 3), k == Qt::Key_Return ? typed : before);
  }
}

}  // namespace
