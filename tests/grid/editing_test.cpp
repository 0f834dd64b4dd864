// In-place cell editing: opening, committing, cancelling, and what may not
// be edited.
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "support/grid_fixtures.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

using namespace zui;

namespace {

using grid_test::GridFixture;

constexpr int32_t kGridX = 6;
constexpr int32_t kGridY = 200;

class GridEditing : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    // Column 0 text, 1 drop-down, 2 list, 3 not editable; 4 rows.
    add_column(ui, kGrid, -1, "Name", 150, 1, 0, 0, "", 0);
    add_column(ui, kGrid, -1, "State", 120, 2, 0, 0, "", 0);
    add_column(ui, kGrid, -1, "Kind", 120, 3, 0, 0, "", 0);
    add_column(ui, kGrid, -1, "Fixed", 100, 0, 0, 0, "", 0);
    set_column_attribute(ui, kGrid, 1, "LISTALLOWEDVALUES", "Open\tClosed\t\tDone", 0);
    set_column_attribute(ui, kGrid, 2, "LISTALLOWEDVALUES", "\tA\t\tB\t", 0);
    for (int r = 0; r < 4; ++r) {
      const std::string n = std::to_string(r);
      add_row(ui, kGrid, -1, "", 20, 0, "name" + n + "\nClosed\nB\nfixed" + n, "", 0);
    }
    set_attribute(ui, kGrid, "ENABLEINPUT", "1", 1);
  }

  GridRecord& g() { return *record(); }
  NamedObject& grid() { return *object(kGrid); }
  int32_t editor() { return g().inputGadget; }

  int32_t click_cell(int32_t k, int32_t j, int32_t type) {
    static const int32_t left[] = {4, 154, 274, 394};
    return grid_mouse(ui, grid(), kGridX + left[k] + 30, kGridY + 20 + 20 * j + 10, type);
  }

  int8_t code() { return current_window(ui)->eventCode; }
  std::string cell(int16_t k, int16_t j) { return get_cell_text(ui, kGrid, k, j); }
  bool grid_gadget_enabled() { return tk_gadget_widget(grid().gadget)->isEnabled(); }

  // One dispatch with the mouse over cell (0, 0) and an event of the editor.
  void editor_event(int32_t type) {
    dispatch_event(ui, kGridX + 40, kGridY + 30, TK_EVENT_GADGET, type, editor(), editor());
  }
};

TEST_F(GridEditing, AllowedValuesSplitAtTabsSkippingEmptyParts) {
  using V = std::vector<std::string>;
  EXPECT_EQ(split_allowed_values("Open\tDone"), (V{"Open", "Done"}));
  EXPECT_EQ(split_allowed_values("Open\t\tDone"), (V{"Open", "Done"}));
  EXPECT_EQ(split_allowed_values(""), V{});
  EXPECT_EQ(split_allowed_values("\t\t"), V{});
  EXPECT_EQ(split_allowed_values("\tA\t"), V{"A"});
  EXPECT_EQ(split_allowed_values("one value"), V{"one value"});
  EXPECT_EQ(split_allowed_values("Müller\t北京"), (V{"Müller", "北京"}));
}

TEST_F(GridEditing, TextEditorOpensHiddenAndNarrowsTheKeys) {
  // The cursor shows (as under the mouse), so the drawing places the editor.
  set_attribute(ui, kGrid, "PERMANENTCURSOR", "1", 0);
  EXPECT_EQ(open_editor(ui, kGrid, 0, 2), 1);
  ASSERT_TRUE(tk_gadget_exists(editor()));
  EXPECT_EQ(tk_get_gadget_text(editor()), "name2");
  EXPECT_EQ(g().cursorColumn, 0);
  EXPECT_EQ(g().cursorRow, 2);
  EXPECT_EQ(g().selectionEndRow, 2);
  EXPECT_EQ(grid().text, "name2");
  // A text editor leaves the grid's gadget enabled.
  EXPECT_TRUE(grid_gadget_enabled());
  // The drawing placed it over the cell, in window coordinates.
  EXPECT_EQ(tk_gadget_x(editor()), kGridX + 4);
  EXPECT_EQ(tk_gadget_y(editor()), kGridY + 20 + 40);
  EXPECT_EQ(tk_gadget_width(editor()), 150);
  EXPECT_EQ(tk_gadget_height(editor()), 20);
  EXPECT_TRUE(tk_gadget_widget(editor())->isVisibleTo(tk_window_client(window)));

  // Only Return and Escape work while it is open.
  QWidget* client = tk_window_client(window);
  for (int i = 0; i < 50 && tk_wait_event(0) != 0; ++i) {
  }
  QTest::keyClick(client, Qt::Key_Down);
  EXPECT_NE(tk_wait_event(0), TK_EVENT_MENU);
  QTest::keyClick(client, Qt::Key_Escape);
  ASSERT_EQ(tk_wait_event(0), TK_EVENT_MENU);
  EXPECT_EQ(tk_last_event_menu(), GridKey::Escape);
}

TEST_F(GridEditing, EditorLiesOnItsCellAlsoWithTheCursorHidden) {
  // No cursor is drawn, yet the open editor is over its cell, not
  // off-screen with the focus.
  ASSERT_EQ(g().permanentCursor, 0);
  EXPECT_EQ(open_editor(ui, kGrid, 0, 1), 1);
  ASSERT_TRUE(tk_gadget_exists(editor()));
  QWidget* field = tk_gadget_widget(editor());
  EXPECT_EQ(tk_gadget_x(editor()), kGridX + 4);
  EXPECT_EQ(tk_gadget_y(editor()), kGridY + 20 + 20);
  EXPECT_EQ(tk_gadget_width(editor()), 150);
  EXPECT_TRUE(field->isVisibleTo(tk_window_client(window)));

  // Its cell scrolled away, it waits hidden; back in view, it is on the
  // cell again, and Return still commits it.
  set_attribute(ui, kGrid, "SCROLLY", "2", 1);
  ASSERT_TRUE(tk_gadget_exists(editor()));
  EXPECT_FALSE(field->isVisibleTo(tk_window_client(window)));
  set_attribute(ui, kGrid, "SCROLLY", "0", 1);
  EXPECT_TRUE(field->isVisibleTo(tk_window_client(window)));
  EXPECT_EQ(tk_gadget_y(editor()), kGridY + 20 + 20);
  tk_set_gadget_text(editor(), "edited");
  EXPECT_EQ(key(GridKey::Return), 101);
  EXPECT_EQ(cell(0, 1), "edited");
}

TEST_F(GridEditing, EditorKeepsItsCellWhateverTheCursorDoes) {
  EXPECT_EQ(open_editor(ui, kGrid, 0, 1), 1);
  tk_set_gadget_text(editor(), "typed");
  for (int32_t id : {GridKey::Down, GridKey::Left, GridKey::PageDown, GridKey::Space})
    EXPECT_EQ(key(id), 0) << id;
  // Moved some other way, the cursor carries neither the editor nor the text.
  set_cursor(ui, kGrid, 0, 3, 1);
  EXPECT_EQ(tk_gadget_y(editor()), kGridY + 20 + 20);
  EXPECT_EQ(key(GridKey::Return), 101);
  EXPECT_EQ(cell(0, 1), "typed");
  EXPECT_EQ(cell(0, 3), "name3");
}

// The editor follows its grid; a grid that no longer shows commits it, so
// nothing typed waits behind a hidden page.
TEST_F(GridEditing, EditorFollowsItsGridAndCommitsWhenHidden) {
  EXPECT_EQ(open_editor(ui, kGrid, 1, 2), 1);
  move_object(ui, kGrid, 50, 120, 1);
  EXPECT_EQ(tk_gadget_x(editor()), 50 + 154);
  EXPECT_EQ(tk_gadget_y(editor()), 120 + 20 + 40);
  // Each dispatch catches up with a position nobody announced.
  grid().absY = 100;
  dispatch_event(ui, -1, -1, 0, -1, 0, 0);
  EXPECT_EQ(tk_gadget_y(editor()), 100 + 20 + 40);
  tk_set_gadget_state(editor(), 2);  // "Done"
  show_object(ui, kGrid, 0, 1);
  EXPECT_EQ(editor(), 0);
  EXPECT_EQ(cell(1, 2), "Done");
  EXPECT_EQ(grid().changed, 1);
}

TEST_F(GridEditing, ReturnCommitsTextInAnyScriptUnchanged) {
  const std::string typed = "Müller — 北京";
  EXPECT_EQ(key(GridKey::Return), 103);  // opens on the cursor cell (0, 0)
  ASSERT_TRUE(tk_gadget_exists(editor()));
  tk_set_gadget_text(editor(), typed);
  const int32_t gadget = editor();
  EXPECT_EQ(key(GridKey::Return), 101);
  EXPECT_EQ(cell(0, 0), typed);
  EXPECT_EQ(grid().text, typed);
  EXPECT_EQ(editor(), 0);
  EXPECT_FALSE(tk_gadget_exists(gadget));
  // Return is not the editor's own closing event.
  EXPECT_EQ(grid().changed, 0);

  // Real typing reaches the cell the same way.
  key(GridKey::Return);
  QWidget* field = tk_gadget_widget(editor());
  ASSERT_NE(field, nullptr);
  tk_set_gadget_text(editor(), "");
  QTest::keyClicks(field, "typed");
  key(GridKey::Return);
  EXPECT_EQ(cell(0, 0), "typed");
}

TEST_F(GridEditing, EscapeKeepsTheOldText) {
  key(GridKey::Down);
  EXPECT_EQ(key(GridKey::Return), 103);
  tk_set_gadget_text(editor(), "discarded");
  EXPECT_EQ(key(GridKey::Escape), 102);
  EXPECT_EQ(cell(0, 1), "name1");
  EXPECT_EQ(editor(), 0);
  EXPECT_EQ(key(GridKey::Escape), 0);  // nothing open any more
}

TEST_F(GridEditing, DropDownOffersTheAllowedValuesAndCommitsTheChoice) {
  EXPECT_EQ(open_editor(ui, kGrid, 1, 3), 1);
  const int32_t list = editor();
  ASSERT_TRUE(tk_gadget_exists(list));
  // The cell's value is selected; the grid's gadget waits disabled.
  EXPECT_EQ(tk_get_gadget_state(list), 1);
  EXPECT_EQ(tk_get_gadget_text(list), "Closed");
  EXPECT_FALSE(grid_gadget_enabled());
  EXPECT_TRUE(tk_set_gadget_state(list, 2));
  EXPECT_EQ(tk_get_gadget_text(list), "Done");
  EXPECT_FALSE(tk_set_gadget_state(list, 3));  // the empty part is no item

  EXPECT_EQ(key(GridKey::Return), 101);
  EXPECT_EQ(cell(1, 3), "Done");
  EXPECT_TRUE(grid_gadget_enabled());

  // Escape leaves the value and enables the grid again too.
  open_editor(ui, kGrid, 1, 3);
  tk_set_gadget_state(editor(), 0);
  key(GridKey::Escape);
  EXPECT_EQ(cell(1, 3), "Done");
  EXPECT_TRUE(grid_gadget_enabled());
}

TEST_F(GridEditing, ListEditorAndValuesOutsideTheList) {
  EXPECT_EQ(open_editor(ui, kGrid, 2, 0), 1);
  EXPECT_EQ(tk_get_gadget_state(editor()), 1);  // "B" of A, B
  tk_set_gadget_state(editor(), 0);
  close_editor(ui, kGrid, 0);
  EXPECT_EQ(cell(2, 0), "A");

  // A value that is no allowed one selects nothing; committing without a
  // choice keeps it.
  set_cell(ui, kGrid, 1, 0, "Clo", -1, -1, -1);
  EXPECT_EQ(open_editor(ui, kGrid, 1, 0), 1);
  EXPECT_EQ(tk_get_gadget_state(editor()), -1);
  close_editor(ui, kGrid, 0);
  EXPECT_EQ(cell(1, 0), "Clo");
}

TEST_F(GridEditing, RefusedOrImpossibleEditing) {
  // Locks: cell, row, column.
  set_cell_attribute(ui, kGrid, 0, 1, "LOCK", "1", 0);
  set_row_attribute(ui, kGrid, 2, "LOCK", "1", 0);
  set_column_attribute(ui, kGrid, 2, "LOCK", "-16", 0);
  EXPECT_EQ(open_editor(ui, kGrid, 0, 1), -1);
  EXPECT_EQ(open_editor(ui, kGrid, 1, 2), -1);
  EXPECT_EQ(open_editor(ui, kGrid, 2, 0), -1);
  // Not editable there.
  EXPECT_EQ(open_editor(ui, kGrid, 3, 0), 0);
  for (auto [k, j] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {32767, 32767}})
    EXPECT_EQ(open_editor(ui, kGrid, static_cast<int16_t>(k), static_cast<int16_t>(j)), 0);
  EXPECT_EQ(open_editor(ui, "NoSuchGrid", 0, 0), 0);
  EXPECT_EQ(open_editor(ui, "", 0, 0), 0);
  // An input type without an editor is not reported as opened.
  set_column_attribute(ui, kGrid, 3, "INPUTTYPE", "4", 0);
  EXPECT_EQ(open_editor(ui, kGrid, 3, 0), 0);
  // A disabled grid, and a grid with input off.
  grid().disabled = 1;
  EXPECT_EQ(open_editor(ui, kGrid, 0, 0), 0);
  grid().disabled = 0;
  set_attribute(ui, kGrid, "ENABLEINPUT", "0", 0);
  EXPECT_EQ(open_editor(ui, kGrid, 0, 0), 0);
  EXPECT_EQ(editor(), 0);
  EXPECT_EQ(g().cursorRow, 0);  // refusals leave the cursor alone
  // Closing with nothing open does nothing.
  EXPECT_EQ(close_editor(ui, kGrid, 0), 0);
  EXPECT_EQ(close_editor(ui, "NoSuchGrid", 1), 0);
}

TEST_F(GridEditing, DoubleClickOpensOrIsRefused) {
  click_cell(0, 1, TK_TYPE_LEFT_DOUBLE);
  EXPECT_EQ(code(), 103);
  EXPECT_NE(editor(), 0);
  // A column without input: the cursor moves, opening is refused, and the
  // open editor committed what was typed first.
  tk_set_gadget_text(editor(), "kept");
  click_cell(3, 2, TK_TYPE_LEFT_DOUBLE);
  EXPECT_EQ(code(), 104);
  EXPECT_EQ(g().cursorColumn, 3);
  EXPECT_EQ(g().cursorRow, 2);
  EXPECT_EQ(editor(), 0);
  EXPECT_EQ(cell(0, 1), "kept");
  // With input off only the cursor moves.
  set_attribute(ui, kGrid, "ENABLEINPUT", "0", 0);
  click_cell(0, 3, TK_TYPE_LEFT_DOUBLE);
  EXPECT_EQ(code(), 100);
  EXPECT_EQ(editor(), 0);
}

TEST_F(GridEditing, ClicksElsewhereCommitAndReopeningDropsTheOldEditor) {
  open_editor(ui, kGrid, 0, 0);
  tk_set_gadget_text(editor(), "first");
  // A click on the cell being edited keeps the editor.
  click_cell(0, 0, TK_TYPE_LEFT_CLICK);
  EXPECT_NE(editor(), 0);
  // A click on another cell commits it into its own cell, then moves.
  click_cell(0, 1, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(editor(), 0);
  EXPECT_EQ(cell(0, 0), "first");
  EXPECT_EQ(g().cursorRow, 1);

  // A click on a caption commits too.
  open_editor(ui, kGrid, 0, 1);
  tk_set_gadget_text(editor(), "second");
  grid_mouse(ui, grid(), kGridX + 40, kGridY + 10, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(editor(), 0);
  EXPECT_EQ(cell(0, 1), "second");

  // Reopening frees the old editor without commit.
  open_editor(ui, kGrid, 1, 0);
  const int32_t old = editor();
  EXPECT_FALSE(grid_gadget_enabled());
  EXPECT_EQ(open_editor(ui, kGrid, 0, 2), 1);
  EXPECT_FALSE(tk_gadget_exists(old));
  EXPECT_EQ(cell(1, 0), "Closed");
  // The new text editor does not keep the grid disabled.
  EXPECT_TRUE(grid_gadget_enabled());
}

TEST_F(GridEditing, OnlyTheEditorsOwnClosingEventsSetChanged) {
  // Focus lost on a text editor, with the mouse over the grid, commits.
  open_editor(ui, kGrid, 0, 0);
  tk_set_gadget_text(editor(), "by focus");
  editor_event(TK_TYPE_FOCUS_LOST);
  EXPECT_EQ(cell(0, 0), "by focus");
  EXPECT_EQ(grid().changed, 1);
  EXPECT_EQ(editor(), 0);

  // The drop-down list closing commits a drop-down editor.
  grid().changed = 0;
  open_editor(ui, kGrid, 1, 0);
  tk_set_gadget_state(editor(), 0);
  editor_event(TK_TYPE_LIST_CLOSED);
  EXPECT_EQ(cell(1, 0), "Open");
  EXPECT_EQ(grid().changed, 1);

  // A list closing on a text editor is not its closing event.
  grid().changed = 0;
  open_editor(ui, kGrid, 0, 0);
  tk_set_gadget_text(editor(), "kept open");
  editor_event(TK_TYPE_LIST_CLOSED);
  EXPECT_NE(editor(), 0);
  EXPECT_EQ(grid().changed, 0);
  // Escape discards; Return commits without marking the grid changed.
  key(GridKey::Escape);
  EXPECT_EQ(grid().changed, 0);
  key(GridKey::Return);
  tk_set_gadget_text(editor(), "by return");
  key(GridKey::Return);
  EXPECT_EQ(cell(0, 0), "by return");
  EXPECT_EQ(grid().changed, 0);
}

TEST_F(GridEditing, ClosingTheWindowWithAnOpenEditorLeavesNothingBehind) {
  open_editor(ui, kGrid, 2, 1);  // a list editor: the grid's gadget is disabled
  const int32_t list = editor();
  const int32_t gridGadget = grid().gadget;
  ASSERT_TRUE(tk_gadget_exists(list));
  EXPECT_EQ(close_window(ui, kWindow), 0);
  window = 0;
  EXPECT_FALSE(tk_gadget_exists(list));
  EXPECT_FALSE(tk_gadget_exists(gridGadget));
  // The editor's own closing events and input for the grid still arrive.
  dispatch_event(ui, kGridX + 40, kGridY + 30, TK_EVENT_GADGET, TK_TYPE_LIST_CLOSED, list, list);
  dispatch_event(ui, kGridX + 40, kGridY + 30, TK_EVENT_GADGET, TK_TYPE_LEFT_DOUBLE, gridGadget,
                 gridGadget);
  EXPECT_EQ(find_object(ui, kGrid, 0), -1);
  EXPECT_EQ(close_editor(ui, kGrid, 0), 0);
}

}  // namespace

namespace {

// Pictures of open editors, for looking at: set ZUI_GRID_SNAPSHOTS to a
// directory.
TEST_F(GridEditing, Snapshots) {
  const char* dir = std::getenv("ZUI_GRID_SNAPSHOTS");
  if (!dir) GTEST_SKIP() << "set ZUI_GRID_SNAPSHOTS to a directory";
  const int32_t real = grid_test::real_grid_parts();
  ASSERT_NE(real, 0);
  grid().canvas->sourceImage = real;
  set_attribute(ui, kGrid, "PERMANENTCURSOR", "1", 0);
  tk_hide_window(window, 0);
  open_editor(ui, kGrid, 0, 1);
  tk_set_gadget_text(editor(), "Müller — 北京");
  tk_save_window_screenshot(window, std::string(dir) + "/editor-text.png");
  open_editor(ui, kGrid, 1, 2);
  tk_save_window_screenshot(window, std::string(dir) + "/editor-drop-down.png");
  open_editor(ui, kGrid, 2, 3);
  tk_save_window_screenshot(window, std::string(dir) + "/editor-list.png");
  set_attribute(ui, kGrid, "PERMANENTCURSOR", "0", 0);
  open_editor(ui, kGrid, 0, 2);
  tk_save_window_screenshot(window, std::string(dir) + "/editor-cursor-hidden.png");
  close_editor(ui, kGrid, 1);
  grid().canvas->sourceImage = source;
  tk_free_image(real);
}

}  // namespace
