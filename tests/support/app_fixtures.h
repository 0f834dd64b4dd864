#pragma once
// End-to-end fixture for the demo: builds the real screen offscreen, sends
// real Qt input to the real gadgets and runs the real main-loop iteration
// until the effects settle.
//
// Sections: fixture · lookups · mouse and keyboard · window · running the
// loop · pixels · grid and tab geometry.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/app.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

using namespace zui;

class DemoScreen : public ::testing::Test {
 protected:
  App app;
  // Every (code, object) pair the loop reported, in order.
  std::vector<std::pair<int, std::string>> reported;

  void SetUp() override {
    start_up(app);
    ASSERT_EQ(build_demo_screen(app), 1);
    park_mouse();
    run_for(120);
    reported.clear();
  }
  void TearDown() override { shut_down(app); }

  // ---- lookups -------------------------------------------------------------
  NamedObject* object(const std::string& name) {
    if (find_object(app.ui, name, 0) != 1) return nullptr;
    return current_object(app.ui);
  }
  int32_t gadget(const std::string& name) { return get_gadget(app.ui, name); }
  QWidget* widget(const std::string& name) { return tk_gadget_widget(gadget(name)); }
  QWidget* client() { return tk_window_client(app.state.mainWindow); }
  QWidget* top() { return tk_window_widget(app.state.mainWindow); }
  GridRecord& grid(const std::string& name) {
    NamedObject* o = object(name);
    EXPECT_TRUE(o != nullptr && grid_record(*o));
    return *grid_record(*o);
  }
  // The gadget shown at the moment: not hidden itself nor by an ancestor.
  bool shown(const std::string& name) {
    QWidget* w = widget(name);
    return w != nullptr && w->isVisibleTo(top());
  }
  bool saw(int code, const std::string& name) const {
    for (const auto& [c, n] : reported)
      if (c == code && n == name) return true;
    return false;
  }

  // ---- mouse and keyboard ----------------------------------------------------
  // A point inside a named object, in its gadget's coordinates and globally.
  QPoint local_point(const std::string& name, int dx, int dy) {
    NamedObject* o = object(name);
    EXPECT_NE(o, nullptr) << name;
    QWidget* w = widget(name);
    if (o == nullptr || w == nullptr) return {};
    const QPoint global = client()->mapToGlobal(QPoint(o->absX + dx, o->absY + dy));
    return w->mapFromGlobal(global);
  }
  void hover(const std::string& name, int dx, int dy) {
    QWidget* w = widget(name);
    ASSERT_NE(w, nullptr) << name;
    const QPoint p = local_point(name, dx, dy);
    QCursor::setPos(w->mapToGlobal(p));
    QTest::mouseMove(w, p);
  }
  void click(const std::string& name, int dx, int dy) {
    hover(name, dx, dy);
    QTest::mouseClick(widget(name), Qt::LeftButton, Qt::NoModifier, local_point(name, dx, dy));
  }
  void double_click(const std::string& name, int dx, int dy) {
    hover(name, dx, dy);
    QTest::mouseDClick(widget(name), Qt::LeftButton, Qt::NoModifier,
                       local_point(name, dx, dy));
  }
  // Far away from the window: every hover look returns to rest.
  void park_mouse() {
    QCursor::setPos(top()->mapToGlobal(QPoint(-200, -200)));
  }
  // Keys go where the user's keys go: the widget with the focus, else the
  // window.
  void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : top(), k, modifiers);
  }
  void type(const QString& text) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClicks(target != nullptr ? target : top(), text);
  }

  // Presses the splitter's bar and drags it to bar position `to` (pixels from
  // the splitter's left edge), as a user's drag does.
  void drag_splitter(int to) {
    QWidget* w = widget("SplitterSideMain");
    ASSERT_NE(w, nullptr);
    const int from = tk_get_gadget_state(app.state.splitterGadget);
    const int y = w->height() / 2;
    const QPoint start(from + 2, y);
    QCursor::setPos(w->mapToGlobal(start));
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, start);
    const int steps = 4;
    for (int i = 1; i <= steps; ++i) {
      const QPoint p(from + 2 + (to - from) * i / steps, y);
      QCursor::setPos(w->mapToGlobal(p));
      QTest::mouseMove(w, p);
    }
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(to + 2, y));
  }

  // ---- window ----------------------------------------------------------------------
  // Resizes the window's inner area as the user's drag of its border would.
  void resize_window_to(int w, int h) {
    tk_resize_window(app.state.mainWindow, TK_KEEP, TK_KEEP, w, h);
  }
  int inner_width() { return tk_window_inner_width(app.state.mainWindow); }
  int inner_height() { return tk_window_inner_height(app.state.mainWindow); }
  // The "&Quit" entry of the "Program" menu, nullptr when missing.
  QAction* quit_action() {
    for (QMenuBar* bar : top()->findChildren<QMenuBar*>())
      for (QAction* title : bar->actions())
        if (title->text() == "Program" && title->menu() != nullptr)
          for (QAction* item : title->menu()->actions())
            if (item->text() == "&Quit") return item;
    return nullptr;
  }

  // ---- running the loop ----------------------------------------------------------
  // One iteration, remembering what it reported; false once the loop ends.
  bool step(int32_t timeoutMs = 0) {
    const bool more = main_loop_iteration(app, timeoutMs) != 0;
    if (app.uiCode > 0) reported.emplace_back(app.uiCode, app.uiObject);
    return more;
  }
  void run_for(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) step(20);
  }
  // Runs until the condition holds (true) or the deadline passes (false).
  bool run_until(const std::function<bool()>& done, int timeoutMs = 2000) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
      step(20);
      if (done()) return true;
    }
    return done();
  }
  // Drains the queue and lets any animation finish.
  void settle(int ms = 400) { run_for(ms); }

  // ---- pixels ------------------------------------------------------------------------
  // Whether the gadget shows exactly frame n of a strip (frames side by side).
  bool shows_frame(const std::string& name, int32_t strip, int frameWidth, int n) {
    const int32_t g = gadget(name);
    const int h = tk_image_height(strip);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < frameWidth; ++x)
        if (tk_gadget_pixel(g, x, y) != tk_image_pixel(strip, n * frameWidth + x, y))
          return false;
    return true;
  }
  // The frame of the strip the gadget shows now, -1 when none matches.
  int shown_frame(const std::string& name, int32_t strip, int frameWidth) {
    const int frames = tk_image_width(strip) / frameWidth;
    for (int n = 0; n < frames; ++n)
      if (shows_frame(name, strip, frameWidth, n)) return n;
    return -1;
  }

  // ---- grid and tab geometry ----------------------------------------------------------
  // Offset of the middle of cell (column, row) inside the grid object, from
  // the grid's own records and its latest drawing; (-1, -1) when the cell is
  // not shown.
  std::pair<int, int> cell_offset(const std::string& name, int column, int row) {
    GridRecord& g = grid(name);
    const bool captions = g.borderless != 1;
    int x = captions && g.captRowWidth > 0 ? g.captRowWidth : 4;
    int y = captions && g.captColHeight > 0 ? g.captColHeight : 4;
    if (column < g.scrollX) return {-1, -1};
    for (int k = g.scrollX; k < column; ++k) x += g.columns[k].width;
    int shown = 0;
    for (int j = 0; j < row; ++j) {
      if (g.rows[j].hiddenInTree == 1) continue;
      if (shown++ < g.scrollY) continue;
      y += g.rows[j].height;
    }
    if (g.rows[row].hiddenInTree == 1) return {-1, -1};
    return {x + g.columns[column].width / 2, y + g.rows[row].height / 2};
  }
  void click_cell(const std::string& name, int column, int row) {
    const auto [dx, dy] = cell_offset(name, column, row);
    ASSERT_GE(dx, 0) << name << " cell " << column << "," << row << " is not shown";
    click(name, dx, dy);
  }
  void double_click_cell(const std::string& name, int column, int row) {
    const auto [dx, dy] = cell_offset(name, column, row);
    ASSERT_GE(dx, 0) << name << " cell " << column << "," << row << " is not shown";
    double_click(name, dx, dy);
  }
  void hover_cell(const std::string& name, int column, int row) {
    const auto [dx, dy] = cell_offset(name, column, row);
    ASSERT_GE(dx, 0) << name << " cell " << column << "," << row << " is not shown";
    hover(name, dx, dy);
  }
  // Middle of tab `index` of a tab bar, inside the bar.
  int tab_middle(const std::string& bar, int index) {
    NamedObject* o = object(bar);
    EXPECT_TRUE(o != nullptr && tab_bar_record(*o));
    int x = 0;
    for (int i = 0; i < index; ++i) x += tab_bar_record(*o)->tabs[i].width;
    return x + tab_bar_record(*o)->tabs[index].width / 2;
  }
};
