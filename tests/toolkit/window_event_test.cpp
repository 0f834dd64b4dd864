// Windows, the event wait, menus and keyboard shortcuts, driven through real
// Qt input.
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QColor>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "support/toolkit_fixtures.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

using tktest::Event;
using tktest::WindowTest;

// ---- waiting ---------------------------------------------------------------

TEST_F(WindowTest, WaitTimesOutWithoutEventAndResetsTheType) {
  // A left-over gadget event leaves a type that the next wait must clear.
  const int32_t g = tk_create_image_gadget(-1, 0, 0, 20, 20, 0);
  QTest::mouseClick(tk_gadget_widget(g), Qt::RightButton);
  ASSERT_EQ(tk_wait_event(100), TK_EVENT_GADGET);
  EXPECT_EQ(tk_last_event_type(), TK_TYPE_RIGHT_CLICK);
  drain();

  QElapsedTimer t;
  t.start();
  EXPECT_EQ(tk_wait_event(20), 0);
  const qint64 took = t.elapsed();
  EXPECT_EQ(tk_last_event_type(), -1);
  // Loose bounds: it waited, and it did not hang.
  EXPECT_GE(took, 15);
  EXPECT_LT(took, 500);

  t.restart();
  EXPECT_EQ(tk_wait_event(0), 0);
  EXPECT_LT(t.elapsed(), 100);
}

TEST_F(WindowTest, AWaitWithoutTimeOutEndsWhenThePointerMovesOrAnEventComes) {
  drain();
  // A posted event ends it; so does the pointer moving over the window
  // (reported as no event, the caller dispatches as after a time-out). The
  // late post only keeps a failing test from hanging.
  const int32_t late = 77;
  QTimer::singleShot(2000, [this] { tk_post_event(window, late); });
  QTimer::singleShot(10, [this] { QTest::mouseMove(client(), QPoint(30, 40)); });
  EXPECT_EQ(tk_wait_event(-1), TK_EVENT_NONE);
  QTimer::singleShot(10, [this] { tk_post_event(window, 5); });
  EXPECT_EQ(tk_wait_event(-1), TK_EVENT_POSTED);
  EXPECT_EQ(tk_last_event_gadget(), 5);
}

// ---- windows ---------------------------------------------------------------

TEST_F(WindowTest, InnerHeightCountsTheMenuBarAndReadsBackUnchanged) {
  ASSERT_NE(tk_create_menu_bar(-1, tk_window_handle(window)), 0);
  tk_add_menu_title("Program");
  tk_add_menu_item(7, "&Quit");
  EXPECT_EQ(tk_window_inner_width(window), 400);
  EXPECT_EQ(tk_window_inner_height(window), 300);
  // The client area is what lies below the bar.
  const int menu = 300 - client()->height();
  EXPECT_GT(menu, 10);
  EXPECT_EQ(client()->y(), menu);

  // A height read and written back leaves the window as it was.
  tk_resize_window(window, TK_KEEP, TK_KEEP, tk_window_inner_width(window),
                   tk_window_inner_height(window));
  EXPECT_EQ(tk_window_inner_height(window), 300);
  EXPECT_EQ(client()->height(), 300 - menu);

  // The keep value holds each coordinate on its own.
  const int32_t x = tk_window_x(window);
  tk_resize_window(window, TK_KEEP, 77, TK_KEEP, 350);
  EXPECT_EQ(tk_window_x(window), x);
  EXPECT_EQ(tk_window_y(window), 77);
  EXPECT_EQ(tk_window_inner_width(window), 400);
  EXPECT_EQ(tk_window_inner_height(window), 350);
  EXPECT_EQ(client()->height(), 350 - menu);
}

TEST_F(WindowTest, HiddenFlagOpensHiddenUntilShown) {
  const int32_t hidden = tk_open_window(-1, 0, 0, 200, 100, "Hidden", 0x10CF0000);
  ASSERT_NE(hidden, 0);
  EXPECT_FALSE(tk_window_widget(hidden)->isVisible());
  // Sizes apply to a hidden window too, client area included.
  tk_resize_window(hidden, TK_KEEP, TK_KEEP, 250, 120);
  EXPECT_EQ(tk_window_inner_width(hidden), 250);
  EXPECT_EQ(tk_window_client(hidden)->width(), 250);
  tk_hide_window(hidden, 0);
  EXPECT_TRUE(tk_window_widget(hidden)->isVisible());
  tk_hide_window(hidden, 1);
  EXPECT_FALSE(tk_window_widget(hidden)->isVisible());
  EXPECT_EQ(tk_window_widget(hidden)->windowTitle(), "Hidden");
  tk_close_window(hidden);
  EXPECT_EQ(tk_window_handle(hidden), 0);
  EXPECT_EQ(tk_window_inner_width(hidden), 0);
}

TEST_F(WindowTest, CloseButtonOnlyAsksAndResizeReports) {
  // The title-bar close arrives as a close event; the window stays.
  QCloseEvent close;
  QApplication::sendEvent(top(), &close);
  const std::vector<Event> asked = events_for(50);
  ASSERT_TRUE(saw_kind(asked, TK_EVENT_CLOSE));
  for (const Event& e : asked) {
    if (e.kind == TK_EVENT_CLOSE) {
      EXPECT_EQ(e.window, window);
    }
  }
  EXPECT_TRUE(top()->isVisible());
  EXPECT_NE(tk_window_handle(window), 0);

  tk_resize_window(window, TK_KEEP, TK_KEEP, 420, 310);
  EXPECT_TRUE(saw_kind(events_for(50), TK_EVENT_RESIZED));
  // Moving alone reports a move, not a resize.
  tk_resize_window(window, 90, 90, TK_KEEP, TK_KEEP);
  const std::vector<Event> moved = events_for(50);
  EXPECT_TRUE(saw_kind(moved, TK_EVENT_MOVED));
  EXPECT_FALSE(saw_kind(moved, TK_EVENT_RESIZED));
}

TEST_F(WindowTest, MouseIsMinusOneOutsideTheClientArea) {
  // The position as the main loop reads it: after a wait, x, then y.
  auto mouse_at = [&](int x, int y) {
    QCursor::setPos(client()->mapToGlobal(QPoint(x, y)));
    events_for(30);
    const int32_t mx = tk_window_mouse_x(window);
    return QPoint(mx, tk_window_mouse_y(window));
  };
  EXPECT_EQ(mouse_at(0, 0), QPoint(0, 0));
  EXPECT_EQ(mouse_at(399, 299), QPoint(399, 299));
  EXPECT_EQ(mouse_at(-1, 10), QPoint(-1, -1));  // one pixel left of the client
  EXPECT_EQ(mouse_at(10, -1), QPoint(-1, -1));
  EXPECT_EQ(mouse_at(400, 10), QPoint(-1, -1));
  EXPECT_EQ(mouse_at(10, 300), QPoint(-1, -1));
  // A window that moves under a resting pointer changes the answer.
  QCursor::setPos(client()->mapToGlobal(QPoint(5, 6)));
  events_for(30);
  EXPECT_EQ(tk_window_mouse_y(window), 6);
  tk_resize_window(window, tk_window_x(window) - 3, TK_KEEP, TK_KEEP, TK_KEEP);
  events_for(30);
  EXPECT_EQ(tk_window_mouse_x(window), 8);
  EXPECT_EQ(tk_window_mouse_x(0), -1);
  EXPECT_EQ(tk_window_mouse_y(0), -1);
}

TEST_F(WindowTest, UnknownWindowsAreRefused) {
  EXPECT_EQ(tk_use_window_as_parent(0), 0);
  EXPECT_EQ(tk_use_window_as_parent(12345), 0);
  EXPECT_EQ(tk_create_menu_bar(-1, 0), 0);
  EXPECT_EQ(tk_window_inner_height(999), 0);
  EXPECT_EQ(tk_resize_window(999, 1, 1, 1, 1), 0);
  EXPECT_EQ(tk_close_window(999), 0);
  EXPECT_EQ(tk_add_shortcut(999, 13, 1), 0);
  EXPECT_EQ(tk_window_handle(-1), 0);
  // Numbers stay clear of menu and shortcut identifiers.
  EXPECT_GT(window, 1999);
  EXPECT_GT(tk_window_handle(window), 1999);
}

TEST_F(WindowTest, ScreenshotHoldsTheWholeWindow) {
  tk_create_menu_bar(-1, tk_window_handle(window));
  tk_add_menu_title("Program");
  const int32_t image = tk_create_image(-1, 50, 40);
  tk_start_drawing(tk_image_output(image));
  tk_draw_box(0, 0, 50, 40, tk_pack_colour(255, 0, 0));
  tk_stop_drawing();
  tk_create_image_gadget(-1, 10, 10, 50, 40, tk_image_handle(image));

  const std::string path = QDir::tempPath().toStdString() + "/zui-window-shot.png";
  ASSERT_EQ(tk_save_window_screenshot(window, path), 1);
  QImage shot(QString::fromStdString(path));
  EXPECT_EQ(shot.size(), QSize(400, 300));
  // The picture sits below the menu bar, at its client position.
  const QPoint inside = client()->mapTo(top(), QPoint(20, 20));
  EXPECT_EQ(QColor(shot.pixel(inside)), QColor(255, 0, 0));
  EXPECT_EQ(tk_save_window_screenshot(999, path), 0);
  tk_free_image(image);
  QFile::remove(QString::fromStdString(path));
}

// ---- menus and shortcuts ---------------------------------------------------

TEST_F(WindowTest, MenuItemPostsAMenuEventWithItsIdentifier) {
  ASSERT_NE(tk_create_menu_bar(-1, tk_window_handle(window)), 0);
  ASSERT_EQ(tk_add_menu_title("Program"), 1);
  ASSERT_EQ(tk_add_menu_item(7, "&Quit"), 1);
  auto* bar = top()->findChild<QMenuBar*>();
  ASSERT_NE(bar, nullptr);
  ASSERT_EQ(bar->actions().size(), 1);
  EXPECT_EQ(bar->actions()[0]->text(), "Program");
  QMenu* menu = bar->actions()[0]->menu();
  ASSERT_EQ(menu->actions().size(), 1);
  EXPECT_EQ(menu->actions()[0]->text(), "&Quit");
  menu->actions()[0]->trigger();
  EXPECT_EQ(tk_wait_event(100), TK_EVENT_MENU);
  EXPECT_EQ(tk_last_event_menu(), 7);
  EXPECT_EQ(tk_last_event_gadget(), 7);  // one shared field
  EXPECT_EQ(tk_last_event_window(), window);
}

TEST_F(WindowTest, ShortcutBeatsTheFocusedInput) {
  const int32_t input = tk_create_string_gadget(-1, 0, 0, 100, 20, "");
  tk_focus_gadget(input);
  auto* edit = static_cast<QLineEdit*>(tk_gadget_widget(input));
  drain();

  tk_add_shortcut(window, 13, 1098);
  tk_add_shortcut(window, 'A', 1100);
  tk_add_shortcut(window, 37 | TK_SHIFT, 1101);
  QTest::keyClick(edit, Qt::Key_A);
  QTest::keyClick(edit, Qt::Key_Return);
  QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(edit, Qt::Key_Left);  // no shortcut without Shift
  EXPECT_EQ(menu_ids(), (std::vector<int32_t>{1100, 1098, 1101}));
  EXPECT_EQ(edit->text(), "");  // the letter never reached the input

  // Adding the same key again replaces its identifier; removed keys reach
  // the input again.
  tk_add_shortcut(window, 'A', 1200);
  QTest::keyClick(edit, Qt::Key_A);
  EXPECT_EQ(menu_ids(), (std::vector<int32_t>{1200}));
  tk_remove_shortcut(window, 'A');
  QTest::keyClick(edit, Qt::Key_A);
  EXPECT_EQ(edit->text(), "a");
  tk_remove_shortcut(window, -1);
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_TRUE(menu_ids().empty());
}

TEST_F(WindowTest, ShortcutsBelongToTheirWindow) {
  const int32_t other = tk_open_window(-1, 500, 40, 200, 100, "Other", 0);
  tk_use_window_as_parent(tk_window_handle(other));
  const int32_t input = tk_create_string_gadget(-1, 0, 0, 100, 20, "");
  tk_add_shortcut(window, 13, 1098);
  QTest::keyClick(tk_gadget_widget(input), Qt::Key_Return);
  EXPECT_TRUE(menu_ids().empty());
  tk_close_window(other);
  EXPECT_EQ(tk_gadget_exists(input), 0);  // the window took its gadgets along
}
