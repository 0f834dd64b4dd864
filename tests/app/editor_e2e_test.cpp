// The grid's cell editor driven end to end on the "grid matrix" page: real
// clicks and keys, the real main-loop iteration, then the cells and where
// the editor lies.
#include <QScrollBar>

#include "support/app_fixtures.h"

using namespace zui;

namespace {

const std::string kCalc = "GridVersionCalc";

class CellEditor : public DemoScreen {
 protected:
  void SetUp() override {
    DemoScreen::SetUp();
    click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);  // "grid matrix"
    ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelCalc"); }));
  }

  int32_t editor() { return grid(kCalc).inputGadget; }
  QWidget* editor_widget() { return tk_gadget_widget(editor()); }
  std::string cell(int k, int j) { return get_cell_text(app.ui, kCalc, k, j); }

  void open_on(int k, int j) {
    reported.clear();
    double_click_cell(kCalc, k, j);
    ASSERT_TRUE(run_until([&] { return saw(Code::GridEditorOpened, kCalc); }));
    settle(100);
    ASSERT_TRUE(editor_widget() != nullptr && editor_widget()->hasFocus());
  }
  // Waits for the grid's report of a key or click.
  void expect_reported(int code) {
    reported.clear();
    EXPECT_TRUE(run_until([&] { return saw(code, kCalc); })) << code;
  }

  // The editor is shown over the middle of its cell.
  bool editor_on_cell(int k, int j) {
    QWidget* e = editor_widget();
    const NamedObject* g = object(kCalc);
    const auto [dx, dy] = cell_offset(kCalc, k, j);
    return e != nullptr && e->isVisibleTo(top()) && dx >= 0 &&
           e->geometry().contains(g->absX + dx, g->absY + dy);
  }
};

// Whatever the mouse passed over, the moving keys and Space stay with the
// editor, and what was typed lands in the cell it was typed for.
TEST_F(CellEditor, TypedTextStaysInItsCellWhateverTheMouseVisited) {
  for (const auto& keys : {std::vector<Qt::Key>{Qt::Key_Down},
                           std::vector<Qt::Key>{Qt::Key_Left, Qt::Key_Down, Qt::Key_PageUp}}) {
    open_on(1, 0);
    type("Z");
    hover_cell("GridVersionConfig", 3, 0);
    run_for(80);
    hover_cell(kCalc, 1, 0);
    run_for(80);
    for (Qt::Key k : keys) key(k);
    type(" Y");
    run_for(80);
    EXPECT_TRUE(editor_on_cell(1, 0));
    const std::string typed = tk_get_gadget_text(editor());
    EXPECT_NE(typed.find(" Y"), std::string::npos) << typed;
    key(Qt::Key_Return);
    expect_reported(Code::GridCommit);
    EXPECT_EQ(cell(1, 0), typed);
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

// A click anywhere away from the editor keeps what was typed: another
// cell, another page's tab, Tab. A click on the edited cell keeps editing.
TEST_F(CellEditor, ClicksAndTabElsewhereCommit) {
  open_on(1, 0);
  type("kept");
  click_cell(kCalc, 1, 0);
  settle(100);
  ASSERT_NE(editor(), 0);
  EXPECT_TRUE(editor_widget()->hasFocus());
  click_cell(kCalc, 2, 1);
  ASSERT_TRUE(run_until([&] { return editor() == 0; }));
  EXPECT_EQ(cell(1, 0), "cell B1kept");
  EXPECT_EQ(grid_cursor_column(app.ui, kCalc), 2);
  EXPECT_EQ(grid_cursor_row(app.ui, kCalc), 1);

  // A tab of another page: the page goes, the typing stays.
  open_on(1, 1);
  type("paged");
  const std::string paged = tk_get_gadget_text(editor());
  click("PanelVersionData", tab_middle("PanelVersionData", 0), 10);  // "General Version Data"
  ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelGeneral"); }));
  EXPECT_EQ(editor(), 0);
  EXPECT_EQ(cell(1, 1), paged);
  click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);
  ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelCalc"); }));

  // The bare ground of the page, away from every control.
  open_on(1, 3);
  type("ground");
  const std::string grounded = tk_get_gadget_text(editor());
  click("ContainerVersionDataPanelCalc", 2, 2);
  ASSERT_TRUE(run_until([&] { return editor() == 0; }));
  EXPECT_EQ(cell(1, 3), grounded);

  // Tab with the mouse resting on the grid.
  open_on(2, 2);
  type("by focus");
  settle(100);
  const std::string typed = tk_get_gadget_text(editor());
  key(Qt::Key_Tab);
  ASSERT_TRUE(run_until([&] { return editor() == 0; }));
  EXPECT_EQ(cell(2, 2), typed);
}

// The editor opens with the caret after the text, so typing adds to it.
TEST_F(CellEditor, TypingAddsAfterTheText) {
  open_on(2, 4);
  type("+");
  key(Qt::Key_Return);
  expect_reported(Code::GridCommit);
  EXPECT_EQ(cell(2, 4), "cell C5+");
}

// Return and Escape reach the editor with the mouse anywhere, also resting
// on another grid.
TEST_F(CellEditor, ReturnAndEscapeWorkWhereverTheMouseIs) {
  for (Qt::Key k : {Qt::Key_Return, Qt::Key_Escape}) {
    const std::string before = cell(2, 3);
    open_on(2, 3);
    type("X");
    const std::string typed = tk_get_gadget_text(editor());
    hover_cell("GridVersionConfig", 1, 0);
    run_for(80);
    key(k);
    expect_reported(k == Qt::Key_Return ? Code::GridCommit : Code::GridCancel);
    EXPECT_EQ(editor(), 0);
    EXPECT_EQ(cell(2, 3), k == Qt::Key_Return ? typed : before);
  }
}

// A grid of more than 65,536 rows: the scroll bar's end shows the last row,
// the keys move the cursor down to it and its cell takes an edit.
TEST_F(CellEditor, TheLastOfSeventyThousandRowsIsReachedAndEdited) {
  set_attribute(app.ui, kCalc, "REDRAW", "0", 0);
  for (int j = 6; j <= 70000; ++j) {
    const std::string n = std::to_string(j);
    add_row(app.ui, kCalc, -1, "row " + n, 20, 0, "A" + n + "\nB" + n + "\nC" + n, "", 0);
  }
  set_attribute(app.ui, kCalc, "REDRAW", "1", 1);
  const int32_t last = grid_row_count(app.ui, kCalc) - 1;
  ASSERT_EQ(last, 69999);

  auto* bar = qobject_cast<QScrollBar*>(widget(kCalc + "SCROLLV"));
  ASSERT_NE(bar, nullptr);
  // The user's End key on the bar while the mouse rests on it, as a drag
  // to its end.
  hover(kCalc + "SCROLLV", 9, bar->height() / 2);
  run_for(40);
  QTest::keyClick(bar, Qt::Key_End);
  ASSERT_TRUE(run_until([&] { return grid(kCalc).lastVisibleRow == last; }));
  EXPECT_EQ(bar->value(), bar->maximum());
  EXPECT_EQ(grid(kCalc).scrollY, bar->maximum());

  click_cell(kCalc, 1, last - 2);
  ASSERT_TRUE(run_until([&] { return grid_cursor_row(app.ui, kCalc) == last - 2; }));
  for (int i = 0; i < 3; ++i) {
    key(Qt::Key_Down);
    run_for(40);
  }
  EXPECT_EQ(grid_cursor_row(app.ui, kCalc), last);
  EXPECT_EQ(grid(kCalc).lastVisibleRow, last);

  open_on(1, last);
  type("edited");
  key(Qt::Key_Return);
  expect_reported(Code::GridCommit);
  EXPECT_EQ(cell(1, last), "B70000edited");  // typed after the old text
  EXPECT_EQ(cell(1, last - 1), "B69999");
}

}  // namespace
