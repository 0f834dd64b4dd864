// Gadgets: creation in the parent stack, the generic operations per kind and
// the events real Qt input produces.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

#include "support/toolkit_fixtures.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

using tktest::WindowTest;

namespace {
const int32_t kRed = 0x0000FF;
const int32_t kBlue = 0xFF0000;

int32_t filled_image(int w, int h, int32_t colour) {
  const int32_t image = tk_create_image(-1, w, h);
  tk_start_drawing(tk_image_output(image));
  tk_draw_box(0, 0, w, h, colour);
  tk_stop_drawing();
  return image;
}
}  // namespace

// ---- parent stack and geometry ---------------------------------------------

TEST_F(WindowTest, GadgetsGoIntoTheCurrentParent) {
  const int32_t box = tk_create_container_gadget(-1, 50, 40, 200, 100, 0);
  ASSERT_NE(box, 0);
  // A new container is the parent until its list is closed.
  const int32_t inner = tk_create_text_gadget(-1, 5, 6, 80, 20, "inside");
  EXPECT_EQ(tk_gadget_widget(inner)->parentWidget(), tk_gadget_widget(box));
  EXPECT_EQ(tk_gadget_x(inner), 5);
  EXPECT_EQ(tk_gadget_widget(inner)->mapTo(client(), QPoint(0, 0)), QPoint(55, 46));
  EXPECT_EQ(tk_close_gadget_list(), 1);
  const int32_t outer = tk_create_text_gadget(-1, 5, 6, 80, 20, "outside");
  EXPECT_EQ(tk_gadget_widget(outer)->parentWidget(), client());
  // The window stays the parent when every list is closed.
  EXPECT_EQ(tk_close_gadget_list(), 0);

  EXPECT_EQ(tk_open_gadget_list(outer), 0);  // a label holds no gadgets
  EXPECT_EQ(tk_open_gadget_list(box), 1);
  const int32_t again = tk_create_text_gadget(-1, 0, 0, 10, 10, "");
  EXPECT_EQ(tk_gadget_widget(again)->parentWidget(), tk_gadget_widget(box));
  tk_close_gadget_list();

  // Freeing a container frees what it holds.
  EXPECT_EQ(tk_free_gadget(box), 1);
  EXPECT_EQ(tk_gadget_exists(inner), 0);
  EXPECT_EQ(tk_gadget_exists(again), 0);
  EXPECT_EQ(tk_gadget_exists(outer), 1);
  EXPECT_EQ(tk_gadget_handle(inner), 0);
  // Numbers stay clear of menu and shortcut identifiers.
  EXPECT_GT(outer, 1999);
}

// Shown in the window means the gadget and every container around it are
// shown, whatever the window itself is.
TEST_F(WindowTest, ShownInWindowFollowsTheContainersAround) {
  const int32_t box = tk_create_container_gadget(-1, 0, 0, 100, 100, 0);
  const int32_t inner = tk_create_text_gadget(-1, 5, 6, 80, 20, "inside");
  tk_close_gadget_list();
  EXPECT_EQ(tk_gadget_shown_in_window(inner), 1);
  tk_hide_gadget(box, 1);
  EXPECT_EQ(tk_gadget_shown_in_window(inner), 0);
  EXPECT_EQ(tk_gadget_shown_in_window(box), 0);
  tk_hide_gadget(box, 0);
  tk_hide_gadget(inner, 1);
  EXPECT_EQ(tk_gadget_shown_in_window(inner), 0);
  EXPECT_EQ(tk_gadget_shown_in_window(box), 1);
  EXPECT_EQ(tk_gadget_shown_in_window(0), -1);
}

// The live counts follow every way an object goes: freed itself, with its
// container, with its window, or replaced under its number.
TEST_F(WindowTest, LiveCountsFollowEveryWayOfFreeing) {
  const int32_t windows = tk_live_window_count();
  const int32_t gadgets = tk_live_gadget_count();
  const int32_t images = tk_live_image_count();
  EXPECT_GE(windows, 1);

  const int32_t box = tk_create_container_gadget(-1, 0, 0, 100, 100, 0);
  tk_create_text_gadget(-1, 0, 0, 10, 10, "a");
  tk_create_text_gadget(-1, 0, 10, 10, 10, "b");
  tk_close_gadget_list();
  EXPECT_EQ(tk_live_gadget_count(), gadgets + 3);
  tk_free_gadget(box);
  EXPECT_EQ(tk_live_gadget_count(), gadgets);

  const int32_t other = tk_open_window(-1, 0, 0, 100, 100, "Other", TK_WINDOW_HIDDEN);
  ASSERT_NE(tk_use_window_as_parent(tk_window_handle(other)), 0);
  tk_create_text_gadget(-1, 0, 0, 10, 10, "c");
  EXPECT_EQ(tk_live_window_count(), windows + 1);
  EXPECT_EQ(tk_live_gadget_count(), gadgets + 1);
  tk_close_window(other);
  EXPECT_EQ(tk_live_window_count(), windows);
  EXPECT_EQ(tk_live_gadget_count(), gadgets);

  const int32_t image = tk_create_image(-1, 4, 4);
  EXPECT_EQ(tk_create_image(image, 8, 8), image);
  EXPECT_EQ(tk_live_image_count(), images + 1);
  tk_free_image(image);
  EXPECT_EQ(tk_live_image_count(), images);

  const int32_t fonts = tk_live_font_count();
  const int32_t font = tk_load_font(-1, "Arial", 8, 0);
  EXPECT_EQ(tk_live_font_count(), fonts + 1);
  EXPECT_EQ(tk_load_font(font, "Arial", 10, 0), font);
  EXPECT_EQ(tk_live_font_count(), fonts + 1);
}

TEST_F(WindowTest, ResizeKeepsWhatItIsToldToKeep) {
  const int32_t g = tk_create_text_gadget(-1, 10, 20, 100, 30, "label");
  EXPECT_EQ(tk_resize_gadget(g, TK_KEEP, TK_KEEP, 300, TK_KEEP), 1);
  EXPECT_EQ(tk_gadget_x(g), 10);
  EXPECT_EQ(tk_gadget_y(g), 20);
  EXPECT_EQ(tk_gadget_width(g), 300);
  EXPECT_EQ(tk_gadget_height(g), 30);
  tk_resize_gadget(g, 7, TK_KEEP, TK_KEEP, 12);
  EXPECT_EQ(tk_gadget_x(g), 7);
  EXPECT_EQ(tk_gadget_y(g), 20);
  EXPECT_EQ(tk_gadget_width(g), 300);
  EXPECT_EQ(tk_gadget_height(g), 12);

  // A combo box reports the height it was given, list included, while the
  // closed box stays one line high.
  const int32_t combo = tk_create_combo_gadget(-1, 0, 50, 210, 150);
  EXPECT_EQ(tk_gadget_height(combo), 150);
  EXPECT_EQ(tk_gadget_widget(combo)->height(), 20);
  tk_resize_gadget(combo, TK_KEEP, TK_KEEP, 180, TK_KEEP);
  EXPECT_EQ(tk_gadget_height(combo), 150);
  EXPECT_EQ(tk_gadget_width(combo), 180);
}

TEST_F(WindowTest, UnknownGadgetsDoNothing) {
  for (int32_t g : {0, -1, 5, 999999}) {
    EXPECT_EQ(tk_gadget_exists(g), 0);
    EXPECT_EQ(tk_gadget_handle(g), 0);
    EXPECT_EQ(tk_set_gadget_state(g, 1), 0);
    EXPECT_EQ(tk_get_gadget_state(g), 0);
    EXPECT_EQ(tk_set_gadget_text(g, "x"), 0);
    EXPECT_EQ(tk_get_gadget_text(g), "");
    EXPECT_EQ(tk_add_gadget_item(g, -1, "x"), 0);
    EXPECT_EQ(tk_set_gadget_attribute(g, 1, 1), 0);
    EXPECT_EQ(tk_resize_gadget(g, 1, 1, 1, 1), 0);
    EXPECT_EQ(tk_gadget_width(g), 0);
    EXPECT_EQ(tk_hide_gadget(g, 1), 0);
    EXPECT_EQ(tk_free_gadget(g), 0);
    EXPECT_EQ(tk_gadget_pixel(g, 0, 0), -1);
    EXPECT_EQ(tk_gadget_widget(g), nullptr);
  }
  EXPECT_EQ(tk_open_gadget_list(0), 0);
  EXPECT_EQ(tk_create_splitter_gadget(-1, 0, 0, 10, 10, 0, 0, 2), 0);
  // A kind answers only what it supports.
  const int32_t label = tk_create_text_gadget(-1, 0, 0, 50, 20, "");
  EXPECT_EQ(tk_set_gadget_state(label, 3), 0);
  EXPECT_EQ(tk_add_gadget_item(label, -1, "x"), 0);
}

TEST_F(WindowTest, TextsPassThroughUnchanged) {
  const std::string text = "Grüße, 日本語 — ok";
  const int32_t label = tk_create_text_gadget(-1, 0, 0, 200, 20, text);
  const int32_t input = tk_create_string_gadget(-1, 0, 30, 200, 20, "");
  EXPECT_EQ(tk_get_gadget_text(label), text);
  tk_set_gadget_text(input, text);
  EXPECT_EQ(tk_get_gadget_text(input), text);
  EXPECT_FALSE(static_cast<QLineEdit*>(tk_gadget_widget(input))->text().contains(QChar(0xFFFD)));
}

// ---- combo box -------------------------------------------------------------

TEST_F(WindowTest, DropDownComboSelectsByPrefixAndClearsOnEmptyText) {
  const int32_t combo = tk_create_combo_gadget(-1, 0, 0, 150, 100);
  for (const char* item : {"Alpha", "beta", "Betamax", "Gamma"}) tk_add_gadget_item(combo, -1, item);
  EXPECT_EQ(tk_get_gadget_state(combo), -1);  // adding never selects
  EXPECT_EQ(tk_get_gadget_text(combo), "");

  tk_set_gadget_text(combo, "BET");  // case ignored, first match wins
  EXPECT_EQ(tk_get_gadget_state(combo), 1);
  EXPECT_EQ(tk_get_gadget_text(combo), "beta");
  tk_set_gadget_text(combo, "zeta");  // no match: unchanged
  EXPECT_EQ(tk_get_gadget_state(combo), 1);
  tk_set_gadget_text(combo, "");
  EXPECT_EQ(tk_get_gadget_state(combo), -1);
  EXPECT_EQ(tk_get_gadget_text(combo), "");

  tk_set_gadget_state(combo, 3);
  EXPECT_EQ(tk_get_gadget_text(combo), "Gamma");
  tk_add_gadget_item(combo, 0, "First");  // inserted before: the pick stays
  EXPECT_EQ(tk_get_gadget_text(combo), "Gamma");
  EXPECT_EQ(tk_get_gadget_state(combo), 4);
  tk_remove_gadget_item(combo, 4);
  EXPECT_EQ(tk_get_gadget_state(combo), -1);
  EXPECT_EQ(tk_set_gadget_state(combo, 9), 0);

  // Editable: the text is the edit field's, whatever the items say.
  const int32_t edit = tk_create_combo_gadget(-1, 0, 30, 150, 100, TK_COMBO_EDITABLE);
  tk_add_gadget_item(edit, -1, "Alpha");
  tk_set_gadget_text(edit, "Al");
  EXPECT_EQ(tk_get_gadget_text(edit), "Al");
}

TEST_F(WindowTest, ComboReportsOpenPickThenClose) {
  const int32_t combo = tk_create_combo_gadget(-1, 10, 10, 150, 100);
  for (const char* item : {"one", "two", "three"}) tk_add_gadget_item(combo, -1, item);
  tk_set_gadget_state(combo, 0);
  drain();
  auto* box = static_cast<QComboBox*>(tk_gadget_widget(combo));
  QTest::mouseClick(box, Qt::LeftButton);
  ASSERT_TRUE(box->view()->isVisible());
  QTest::keyClick(box->view(), Qt::Key_Down);
  QTest::keyClick(box->view(), Qt::Key_Return);
  // The pick (1) comes while the list is still open, before the close (8).
  EXPECT_EQ(gadget_types(combo, 100), (std::vector<int32_t>{TK_TYPE_LIST_OPENED, 1,
                                                           TK_TYPE_LIST_CLOSED}));
  EXPECT_EQ(tk_get_gadget_state(combo), 1);

  // Closing without a pick reports the close alone.
  QTest::mouseClick(box, Qt::LeftButton);
  QTest::keyClick(box->view(), Qt::Key_Escape);
  EXPECT_EQ(gadget_types(combo, 100),
            (std::vector<int32_t>{TK_TYPE_LIST_OPENED, TK_TYPE_LIST_CLOSED}));
  // Selections made by the program report nothing.
  tk_set_gadget_state(combo, 2);
  tk_set_gadget_text(combo, "o");
  EXPECT_TRUE(gadget_types(combo).empty());
}

// ---- image gadget ----------------------------------------------------------

TEST_F(WindowTest, ImageGadgetReportsClicksUnlessDisabled) {
  const int32_t g = tk_create_image_gadget(-1, 20, 20, 40, 40, 0);
  QWidget* w = tk_gadget_widget(g);
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_EQ(tk_wait_event(100), TK_EVENT_GADGET);
  EXPECT_EQ(tk_last_event_gadget(), g);
  EXPECT_EQ(tk_last_event_type(), TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(tk_last_event_window(), window);
  // Letting go of the left button is reported too.
  ASSERT_EQ(tk_wait_event(100), TK_EVENT_GADGET);
  EXPECT_EQ(tk_last_event_type(), TK_TYPE_LEFT_RELEASE);

  QTest::mouseClick(w, Qt::RightButton);
  EXPECT_EQ(gadget_types(g), (std::vector<int32_t>{TK_TYPE_RIGHT_CLICK}));
  QTest::mouseDClick(w, Qt::LeftButton);
  std::vector<int32_t> types = gadget_types(g);
  ASSERT_FALSE(types.empty());
  EXPECT_EQ(types.back(), TK_TYPE_LEFT_DOUBLE);
  QTest::mouseDClick(w, Qt::RightButton);
  types = gadget_types(g);
  ASSERT_FALSE(types.empty());
  EXPECT_EQ(types.back(), TK_TYPE_RIGHT_DOUBLE);

  // A click gives it the keyboard focus (a grid holds the focus).
  EXPECT_EQ(tk_focused_gadget(), g);

  tk_disable_gadget(g, 1);
  QTest::mouseClick(w, Qt::LeftButton);
  EXPECT_TRUE(gadget_types(g).empty());
}

TEST_F(WindowTest, ImageGadgetShowsItsImageAndKeepsItWhenFreed) {
  const int32_t image = filled_image(30, 20, kRed);
  const int32_t g = tk_create_image_gadget(-1, 0, 0, 30, 20, tk_image_handle(image));
  EXPECT_EQ(tk_get_gadget_state(g), tk_image_handle(image));
  EXPECT_EQ(tk_gadget_pixel(g, 29, 19), kRed);
  EXPECT_EQ(tk_gadget_pixel(g, 30, 0), -1);

  // Drawing into the shown image reaches the gadget; so does a rescale.
  tk_start_drawing(tk_image_output(image));
  tk_draw_box(0, 0, 1, 1, kBlue);
  tk_stop_drawing();
  EXPECT_EQ(tk_gadget_pixel(g, 0, 0), kBlue);
  tk_resize_image(image, 40, 20);
  EXPECT_EQ(tk_gadget_pixel(g, 35, 5), kRed);

  // A freed image leaves the picture the gadget shows.
  tk_free_image(image);
  EXPECT_EQ(tk_gadget_pixel(g, 5, 5), kRed);
  const int32_t other = filled_image(10, 10, kBlue);
  tk_set_gadget_state(g, tk_image_handle(other));
  EXPECT_EQ(tk_gadget_pixel(g, 5, 5), kBlue);
  EXPECT_EQ(tk_gadget_pixel(g, 15, 15), -1);
  tk_free_image(other);

  const int32_t label = tk_create_text_gadget(-1, 0, 40, 30, 20, "");
  EXPECT_EQ(tk_gadget_pixel(label, 0, 0), -1);
}

// ---- splitter --------------------------------------------------------------

TEST_F(WindowTest, SplitterLaysOutItsChildrenAroundTheBar) {
  const int32_t left = tk_create_container_gadget(-1, 0, 0, 10, 10, 0);
  tk_close_gadget_list();
  const int32_t right = tk_create_container_gadget(-1, 0, 0, 10, 10, 0);
  tk_close_gadget_list();
  const int32_t s = tk_create_splitter_gadget(-1, 0, 20, 400, 200, left, right,
                                              TK_SPLITTER_THICK | TK_SPLITTER_VERTICAL);
  ASSERT_NE(s, 0);
  tk_set_gadget_state(s, 150);
  EXPECT_EQ(tk_get_gadget_state(s), 150);
  EXPECT_EQ(tk_gadget_widget(left)->parentWidget(), tk_gadget_widget(s));
  EXPECT_EQ(tk_gadget_width(left), 150);
  EXPECT_EQ(tk_gadget_height(left), 200);
  // The second child starts right behind the bar, where hit tests put it.
  EXPECT_EQ(tk_gadget_x(right), 150 + TK_SPLITTER_BAR);
  EXPECT_EQ(tk_gadget_width(right), 400 - 150 - TK_SPLITTER_BAR);

  // A larger splitter keeps the bar and gives the room to the second child.
  tk_resize_gadget(s, TK_KEEP, TK_KEEP, 500, TK_KEEP);
  EXPECT_EQ(tk_gadget_width(left), 150);
  EXPECT_EQ(tk_gadget_width(right), 500 - 150 - TK_SPLITTER_BAR);

  // A bar set by the program ignores the minimum sizes; the bar stays inside.
  tk_set_gadget_attribute(s, 1, 100);
  tk_set_gadget_attribute(s, 2, 200);
  EXPECT_EQ(tk_get_gadget_attribute(s, 1), 100);
  EXPECT_EQ(tk_get_gadget_attribute(s, 2), 200);
  tk_set_gadget_state(s, 0);
  EXPECT_EQ(tk_get_gadget_state(s), 0);
  EXPECT_EQ(tk_gadget_x(right), TK_SPLITTER_BAR);
  tk_set_gadget_state(s, 900);
  EXPECT_EQ(tk_get_gadget_state(s), 500 - TK_SPLITTER_BAR);

  // Horizontal: the second child sits below the bar.
  const int32_t top = tk_create_container_gadget(-1, 0, 0, 10, 10, 0);
  tk_close_gadget_list();
  const int32_t bottom = tk_create_container_gadget(-1, 0, 0, 10, 10, 0);
  tk_close_gadget_list();
  const int32_t h = tk_create_splitter_gadget(-1, 0, 0, 100, 100, top, bottom, TK_SPLITTER_THICK);
  tk_set_gadget_state(h, 30);
  EXPECT_EQ(tk_gadget_height(top), 30);
  EXPECT_EQ(tk_gadget_y(bottom), 30 + TK_SPLITTER_BAR);
  EXPECT_EQ(tk_gadget_width(bottom), 100);
}

TEST_F(WindowTest, DraggingTheBarReportsEachMoveWithinTheMinimumSizes) {
  const int32_t left = tk_create_container_gadget(-1, 0, 0, 10, 10, 0);
  tk_close_gadget_list();
  const int32_t right = tk_create_container_gadget(-1, 0, 0, 10, 10, 0);
  tk_close_gadget_list();
  const int32_t s = tk_create_splitter_gadget(-1, 0, 0, 400, 200, left, right,
                                              TK_SPLITTER_THICK | TK_SPLITTER_VERTICAL);
  tk_set_gadget_state(s, 150);
  drain();
  QWidget* w = tk_gadget_widget(s);
  auto drag = [&](int from, int to) {
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(from + 2, 100));
    for (int i = 1; i <= 4; ++i)
      QTest::mouseMove(w, QPoint(from + 2 + (to - from) * i / 4, 100));
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(to + 2, 100));
  };

  drag(150, 250);
  std::vector<int32_t> types = gadget_types(s);
  EXPECT_EQ(types.size(), 4u);
  for (int32_t t : types) EXPECT_EQ(t, TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(tk_get_gadget_state(s), 250);
  EXPECT_EQ(tk_gadget_width(left), 250);
  EXPECT_EQ(tk_gadget_x(right), 250 + TK_SPLITTER_BAR);

  // The minimum sizes stop the bar.
  tk_set_gadget_attribute(s, 1, 100);
  tk_set_gadget_attribute(s, 2, 200);
  drag(250, 20);
  EXPECT_FALSE(gadget_types(s).empty());
  EXPECT_EQ(tk_get_gadget_state(s), 100);
  drag(100, 390);
  gadget_types(s);
  EXPECT_EQ(tk_get_gadget_state(s), 400 - TK_SPLITTER_BAR - 200);
  // When both cannot hold, the first one wins; a bar that cannot move
  // reports nothing.
  tk_set_gadget_attribute(s, 1, 250);
  tk_set_gadget_attribute(s, 2, 250);
  tk_set_gadget_state(s, 250);
  drag(250, 300);
  EXPECT_TRUE(gadget_types(s).empty());
  EXPECT_EQ(tk_get_gadget_state(s), 250);

  // A press beside the bar does not take it.
  drag(0, 100);
  EXPECT_TRUE(gadget_types(s).empty());
}

// ---- string input and focus ------------------------------------------------

TEST_F(WindowTest, StringInputReportsFocusAndTypedChanges) {
  const int32_t a = tk_create_string_gadget(-1, 0, 0, 100, 20, "first");
  const int32_t b = tk_create_string_gadget(-1, 0, 30, 100, 20, "", TK_STRING_BORDERLESS);
  EXPECT_TRUE(static_cast<QLineEdit*>(tk_gadget_widget(a))->hasFrame());
  EXPECT_FALSE(static_cast<QLineEdit*>(tk_gadget_widget(b))->hasFrame());
  // Nothing takes the focus by itself when the window shows.
  EXPECT_EQ(tk_focused_gadget(), -1);

  tk_focus_gadget(a);
  EXPECT_EQ(gadget_types(a), (std::vector<int32_t>{TK_TYPE_FOCUS}));
  EXPECT_EQ(tk_focused_gadget(), a);
  tk_focus_gadget(b);
  const std::vector<tktest::Event> moved = events_for(60);
  ASSERT_EQ(moved.size(), 2u);
  EXPECT_EQ(moved[0].gadget, a);
  EXPECT_EQ(moved[0].type, TK_TYPE_FOCUS_LOST);
  EXPECT_EQ(moved[1].gadget, b);
  EXPECT_EQ(moved[1].type, TK_TYPE_FOCUS);

  QTest::keyClicks(tk_gadget_widget(b), "hi");
  EXPECT_EQ(gadget_types(b), (std::vector<int32_t>{TK_TYPE_CHANGED, TK_TYPE_CHANGED}));
  EXPECT_EQ(tk_get_gadget_text(b), "hi");
  tk_set_gadget_text(b, "set");  // the program's own change is not reported
  EXPECT_TRUE(gadget_types(b).empty());

  // A hidden input hands the focus to the window, not to the next input.
  tk_hide_gadget(b, 1);
  EXPECT_EQ(gadget_types(b), (std::vector<int32_t>{TK_TYPE_FOCUS_LOST}));
  EXPECT_TRUE(gadget_types(a).empty());
  EXPECT_EQ(tk_focused_gadget(), -1);

  tk_focus_gadget(a);
  drain();
  tk_focus_gadget(-1);
  EXPECT_EQ(tk_focused_gadget(), -1);
  // A freed input reports nothing on its way out.
  tk_focus_gadget(a);
  drain();
  tk_free_gadget(a);
  EXPECT_TRUE(events_for(40).empty());
}

TEST_F(WindowTest, FocusInsideAnEditableComboIsTheCombo) {
  const int32_t combo = tk_create_combo_gadget(-1, 0, 0, 150, 100, TK_COMBO_EDITABLE);
  auto* box = static_cast<QComboBox*>(tk_gadget_widget(combo));
  box->lineEdit()->setFocus();  // as a click into the edit field does
  EXPECT_EQ(tk_focused_gadget(), combo);
  tk_focus_gadget(-1);
  EXPECT_EQ(tk_focused_gadget(), -1);
  tk_focus_gadget(combo);
  EXPECT_EQ(tk_focused_gadget(), combo);
}

// ---- list box and scroll bar -----------------------------------------------

TEST_F(WindowTest, ListBoxReportsTheUsersSelection) {
  const int32_t list = tk_create_list_gadget(-1, 0, 0, 120, 80);
  for (const char* item : {"A", "B", "C"}) tk_add_gadget_item(list, -1, item);
  EXPECT_EQ(tk_get_gadget_state(list), -1);
  tk_set_gadget_state(list, 2);
  EXPECT_EQ(tk_get_gadget_text(list), "C");
  EXPECT_TRUE(gadget_types(list).empty());

  auto* view = static_cast<QListWidget*>(tk_gadget_widget(list));
  const QPoint second = view->visualItemRect(view->item(1)).center();
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, second);
  EXPECT_EQ(gadget_types(list), (std::vector<int32_t>{1}));
  EXPECT_EQ(tk_get_gadget_state(list), 1);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, second);
  const std::vector<int32_t> types = gadget_types(list);
  ASSERT_FALSE(types.empty());
  EXPECT_EQ(types.back(), 2);
}

TEST_F(WindowTest, ScrollBarRangeFollowsItsAttributes) {
  const int32_t bar = tk_create_scroll_bar_gadget(-1, 0, 0, 16, 100, 0, 100, 10, 1);
  auto* w = static_cast<QScrollBar*>(tk_gadget_widget(bar));
  EXPECT_EQ(w->orientation(), Qt::Vertical);
  // The thumb covers a page: the last position is maximum - page + 1.
  EXPECT_EQ(w->maximum(), 91);
  tk_set_gadget_attribute(bar, 2, 50);
  EXPECT_EQ(tk_get_gadget_attribute(bar, 2), 50);
  EXPECT_EQ(w->maximum(), 41);
  tk_set_gadget_state(bar, 30);
  EXPECT_EQ(tk_get_gadget_state(bar), 30);
  EXPECT_TRUE(gadget_types(bar).empty());
  w->triggerAction(QAbstractSlider::SliderSingleStepAdd);  // as a click on an arrow
  EXPECT_EQ(gadget_types(bar).size(), 1u);
  EXPECT_EQ(tk_get_gadget_state(bar), 31);
}
