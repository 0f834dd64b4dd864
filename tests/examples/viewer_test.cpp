// The data viewer as a person meets it: real keys and clicks on its window
// under the offscreen platform, the file on disk checked byte for byte.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "framework/framework.h"
#include "grid/grid.h"
#include "support/file_fixtures.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"
#include "viewer.h"

using namespace zui;

namespace fs = std::filesystem;

namespace {

class DataViewer : public ::testing::Test {
 protected:
  Viewer v;
  fs::path dir;
  std::vector<std::string> asked;     // the questions put to the person
  int32_t answer = TK_ANSWER_CANCEL;  // and the answer given

  void SetUp() override {
    dir = fs::temp_directory_path() / ("zui-viewer-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    load_skin(v.skin);
    v.ask = [this](const std::string& text, int32_t) {
      asked.push_back(text);
      return answer;
    };
    v.choose_file = [](bool) { return std::string(); };
    ASSERT_EQ(open_viewer_window(v), 1);
    show_viewer_window(v);
  }
  void TearDown() override {
    close_viewer(v);
    fs::remove_all(dir);
  }
  std::string file(const std::string& name, const std::string& content) {
    return filetest::write_file(dir, name, content);
  }
  static std::string read(const std::string& path) { return filetest::read_file(path); }
  // Every queued event answered, and the work it started done.
  void settle() {
    run_until([] { return false; }, 60);
    run_until([this] { return !viewer_busy(v); });
  }
  bool run_until(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
      if (!viewer_turn(v, 10) || done()) return done();
    }
    return done();
  }
  void open(const std::string& path) {
    ASSERT_EQ(load_file(v, path), "");
    ASSERT_TRUE(run_until([this] { return !viewer_busy(v); }));
  }
  GridRecord& grid() { return *grid_record(*lookup_object(v.ui, "Grid")); }
  std::string cell(int column, int row) { return get_cell_text(v.ui, "Grid", column, row); }
  QWidget* top() { return tk_window_widget(v.window); }
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : top(), k, modifiers);
    settle();
  }
  // Types into a cell's editor and commits it with Return.
  void edit(int column, int row, const QString& text) {
    QWidget* w = tk_gadget_widget(get_gadget(v.ui, "Grid"));
    const QPoint p(20 + 140 * column, grid().captColHeight + 10 + 20 * (row - grid().scrollY));
    QCursor::setPos(w->mapToGlobal(p));
    QTest::mouseMove(w, p);
    settle();
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, p);
    settle();
    QWidget* editor = tk_gadget_widget(grid().inputGadget);
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    settle();
  }
  void click_caption(int column) {
    QWidget* w = tk_gadget_widget(get_gadget(v.ui, "Grid"));
    const QPoint p(20 + 140 * column, 8);
    QCursor::setPos(w->mapToGlobal(p));
    QTest::mouseMove(w, p);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, p);
    settle();
  }
  std::string title() { return top()->windowTitle().toStdString(); }
};

}  // namespace

TEST_F(DataViewer, AnEditIsSavedAloneAndTheTitleShowsIt) {
  const std::string path = file("people.csv", "\xEF\xBB\xBFid,name,note\r\n1,Anna,\"a, b\"\r\n2,Bo,x\n3,Cy");
  open(path);
  EXPECT_EQ(grid().rowCount, 3);
  edit(1, 1, "Bodil");
  EXPECT_EQ(cell(1, 1), "Bodil");
  EXPECT_NE(title().find(" *"), std::string::npos) << title();
  key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(read(path), "\xEF\xBB\xBFid,name,note\r\n1,Anna,\"a, b\"\r\n2,Bodil,x\n3,Cy");
  EXPECT_EQ(title().find(" *"), std::string::npos) << title();
}

TEST_F(DataViewer, ClosingWithUnsavedEditsAsksSaveDiscardOrStay) {
  const std::string path = file("data.csv", "a,b\n1,2\n");
  open(path);
  edit(0, 0, "9");
  answer = TK_ANSWER_CANCEL;  // stay
  top()->close();
  EXPECT_TRUE(run_until([] { return false; }, 100) || !v.quit);
  EXPECT_EQ(asked.size(), 1u);
  EXPECT_FALSE(v.quit);
  answer = TK_ANSWER_SAVE;
  top()->close();
  EXPECT_TRUE(run_until([this] { return v.quit; }));
  EXPECT_EQ(read(path), "a,b\n9,2\n");
}

TEST_F(DataViewer, SortingIsAViewAndTheFileKeepsItsOrder) {
  const std::string path = file("data.csv", "n,city\n10,\xC3\x96stersund\n9,zug\n,Aachen\n100,\xC3\xA4rhus\n");
  open(path);
  click_caption(0);  // numbers by value, the empty cell last
  EXPECT_EQ((std::vector<std::string>{cell(0, 0), cell(0, 1), cell(0, 2), cell(0, 3)}),
            (std::vector<std::string>{"9", "10", "100", ""}));
  EXPECT_EQ(get_column_attribute(v.ui, "Grid", 0, "CAPTION"), "n \u25B2");
  // Hidden from screen readers while its rows moved, the grid is a table again.
  QAccessibleInterface* table =
      QAccessible::queryAccessibleInterface(tk_gadget_widget(lookup_object(v.ui, "Grid")->gadget));
  ASSERT_TRUE(table && table->tableInterface());
  EXPECT_EQ(table->tableInterface()->rowCount(), 4);
  click_caption(1);  // accents sort beside their letters, not after z
  EXPECT_EQ((std::vector<std::string>{cell(1, 0), cell(1, 1), cell(1, 2), cell(1, 3)}),
            (std::vector<std::string>{"Aachen", "\xC3\xA4rhus", "\xC3\x96stersund", "zug"}));
  edit(1, 3, "Zug");
  key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(read(path), "n,city\n10,\xC3\x96stersund\n9,Zug\n,Aachen\n100,\xC3\xA4rhus\n");
  click_caption(1);  // descending
  click_caption(1);  // the file's order again
  EXPECT_EQ(cell(1, 0), "\xC3\x96stersund");
  EXPECT_EQ(get_column_attribute(v.ui, "Grid", 1, "CAPTION"), "city");
}

TEST_F(DataViewer, CopyPasteUndoRedoAndFind) {
  const std::string path = file("data.csv", "a,b,c\n1,2,3\n4,5,6\n7,8,Needle\n");
  open(path);
  set_cursor(v.ui, "Grid", 1, 0, 1);
  tk_set_clipboard_text("x\ty\nz\tw\n");
  key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ((std::vector<std::string>{cell(1, 0), cell(2, 0), cell(1, 1), cell(2, 1)}),
            (std::vector<std::string>{"x", "y", "z", "w"}));
  key(Qt::Key_Z, Qt::ControlModifier);  // the paste is one edit
  EXPECT_EQ((std::vector<std::string>{cell(1, 0), cell(2, 1)}), (std::vector<std::string>{"2", "6"}));
  EXPECT_EQ(title().find(" *"), std::string::npos);
  key(Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(cell(2, 1), "w");
  // Copy: the selection as tab-separated text.
  GridRecord& g = grid();
  g.cursorColumn = 0, g.cursorRow = 0, g.selectionEndColumn = 1, g.selectionEndRow = 1;
  key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(tk_get_clipboard_text(), "1\tx\n4\tz\n");
  // Find: case-insensitive, F3 goes on and comes round.
  key(Qt::Key_F, Qt::ControlModifier);
  QTest::keyClicks(QApplication::focusWidget(), "neEd");
  run_until([] { return false; }, 100);
  EXPECT_EQ(g.cursorColumn, 2);
  EXPECT_EQ(g.cursorRow, 2);
  set_cursor(v.ui, "Grid", 0, 0, 1);
  key(Qt::Key_F3);
  EXPECT_EQ(g.cursorRow, 2);
  key(Qt::Key_F3, Qt::ShiftModifier);
  EXPECT_EQ(g.cursorRow, 2);
}

TEST_F(DataViewer, AFaultLateInABigFileKeepsTheRowsAndRefusesSaving) {
  std::string text = "id,name\n";
  for (int i = 0; i < 12000; ++i) text += std::to_string(i) + ",row\n";
  text += "12000,\"open\n";
  const std::string path = file("big.csv", text);
  open(path);
  EXPECT_GE(grid().rowCount, 5000);
  EXPECT_NE(v.message.find("Incomplete, line 12002: a quoted field is not closed"), std::string::npos) << v.message;
  edit(1, 0, "changed");
  key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(read(path), text);
  EXPECT_NE(v.message.find("Not saved"), std::string::npos) << v.message;
}

TEST_F(DataViewer, ACloseWhileLoadingEndsTheLoad) {
  std::string text = "id,name,city\n";
  for (int i = 0; i < 400000; ++i) text += std::to_string(i) + ",name,city\n";
  ASSERT_EQ(load_file(v, file("big.csv", text)), "");
  run_until([] { return false; }, 50);
  top()->close();
  EXPECT_TRUE(run_until([this] { return v.quit; }, 2000));
  EXPECT_TRUE(asked.empty());
}

TEST_F(DataViewer, TheStatusLineTellsWhatWasRead) {
  open(file("old.csv", "n;name\r\n1;M\xFCller\r\n2\r\n"));
  EXPECT_EQ(cell(1, 0), "M\xC3\xBCller");
  EXPECT_EQ(get_column_attribute(v.ui, "Grid", 0, "ORIENTATION"), "1");  // numbers right-aligned
  EXPECT_EQ(get_column_attribute(v.ui, "Grid", 1, "ORIENTATION"), "0");
  EXPECT_EQ(v.shownStatus, "2 rows, 1 ragged (not as wide as the header), read as Windows-1252 (not UTF-8)."
                           "  |  Row 1 of 2, column 1");
}

TEST_F(DataViewer, AFileShowsWhileItIsIndexedAndCtrlEndReachesTheRowsIndexed) {
  std::string text = "id,name\n";
  for (int i = 1; i <= 2000000; ++i) text += std::to_string(i) + ",row\n";
  ASSERT_EQ(load_file(v, file("big.csv", text)), "");
  // The first rows show, and take keys, while the rest is still indexed.
  ASSERT_TRUE(run_until([this] { return grid().rowCount > 0; }));
  EXPECT_TRUE(viewer_busy(v));
  EXPECT_LT(grid().rowCount, 2000000);
  EXPECT_EQ(cell(0, 0), "1");
  // The grid's keys work while the mouse is over it.
  QWidget* w = tk_gadget_widget(get_gadget(v.ui, "Grid"));
  const QPoint p(20, grid().captColHeight + 10);
  QCursor::setPos(w->mapToGlobal(p));
  QTest::mouseMove(w, p);
  run_until([] { return false; }, 20);
  QTest::keyClick(top(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_TRUE(run_until([this] { return grid().cursorRow > 0; }));
  const int32_t reached = grid().cursorRow;
  EXPECT_EQ(cell(0, reached), std::to_string(reached + 1));
  ASSERT_TRUE(run_until([this] { return !viewer_busy(v); }));
  EXPECT_EQ(grid().rowCount, 2000000);
  EXPECT_EQ(v.shownStatus.substr(0, 14), "2,000,000 rows");
  key(Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(grid().cursorRow, 1999999);
  EXPECT_EQ(cell(0, 1999999), "2000000");
}

TEST_F(DataViewer, AByteThatIsNotUtf8LateInABigFileReadsAllOfItAsWindows1252) {
  std::string text = "id,name\n";
  for (int i = 1; i <= 20000; ++i) text += std::to_string(i) + ",row\n";  // past the first rows looked at
  text += "20001,M\xFCller\n";
  const std::string path = file("late.csv", text);
  open(path);
  EXPECT_EQ(cell(1, 20000), "M\xC3\xBCller");
  EXPECT_NE(v.shownStatus.find("read as Windows-1252"), std::string::npos) << v.shownStatus;
  edit(1, 0, "Ro");
  key(Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(read(path), "id,name\n1,Ro\n" + text.substr(std::string("id,name\n1,row\n").size()));
}
