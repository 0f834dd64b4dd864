// The dispatcher behind real gadgets: Qt input on offscreen gadgets comes
// out of tk_wait_event and is dispatched as the main loop does it; the
// records' absolute positions must match where the gadgets are drawn.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <string>

#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "grid/grid_records.h"
#include "support/controls_fixtures.h"
#include "toolkit/tk.h"
#include "toolkit/tk_native.h"

using namespace zui;

using ctest::piece_colour;

namespace {

class EventPathTest : public ::testing::Test {
 protected:
  Ui ui;
  int32_t window = 0;

  void SetUp() override {
    window = create_window(ui, "Main", 0, 0, 640, 480, "Controls", 0);
    ASSERT_NE(window, 0);
    QWidget* top = tk_window_widget(window);
    top->activateWindow();
    (void)QTest::qWaitForWindowExposed(top, 1000);
    drain();
  }
  void TearDown() override {
    close_window(ui, "Main");
    drain();
  }

  void drain() {
    while (tk_wait_event(0) != 0) {
    }
  }
  // Waits for the next gadget event; false when none came.
  bool next_gadget_event(int32_t timeoutMs = 1000) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs)
      if (tk_wait_event(10) == TK_EVENT_GADGET) return true;
    return false;
  }
  // Dispatches the last toolkit event as the main loop does.
  int8_t dispatch_last(int32_t x, int32_t y) {
    dispatch_event(ui, x, y, TK_EVENT_GADGET, tk_last_event_type(), tk_last_event_gadget(),
                   tk_last_event_menu());
    return event_code(ui);
  }
  NamedObject* object(const std::string& name) {
    return find_object(ui, name, 0) == 1 ? current_object(ui) : nullptr;
  }
  QWidget* widget(const std::string& name) { return tk_gadget_widget(get_gadget(ui, name)); }
  // Where the gadget is drawn, in the window's client coordinates.
  QPoint drawn_at(const std::string& name) {
    return widget(name)->mapTo(tk_window_client(window), QPoint(0, 0));
  }
  void expect_geometry_matches(const std::string& name) {
    NamedObject* o = object(name);
    ASSERT_NE(o, nullptr) << name;
    EXPECT_EQ(QPoint(o->absX, o->absY), drawn_at(name)) << name;
  }
  NamedObject* skinned_button(const std::string& name, int16_t x, int16_t y,
                              const std::string& parent) {
    const int32_t strip = ctest::frame_strip(5, 30, 24);
    EXPECT_NE(create_image_button_skinned(ui, name, x, y, strip, parent), 0);
    EXPECT_EQ(set_button_strip(ui, name, 30, strip), 1);
    return object(name);
  }
};

}  // namespace

TEST_F(EventPathTest, AClickOnANestedButtonsPixelsReachesTheButton) {
  create_container(ui, "ContainerOuter", 20, 20, 400, 300, 0, "");
  create_container(ui, "ContainerInner", 30, 40, 300, 200, 0, "ContainerOuter");
  NamedObject* button = skinned_button("ButtonInner", 10, 10, "ContainerInner");
  expect_geometry_matches("ContainerInner");
  expect_geometry_matches("ButtonInner");

  QTest::mouseClick(widget("ButtonInner"), Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  ASSERT_TRUE(next_gadget_event());
  EXPECT_EQ(tk_last_event_type(), TK_TYPE_LEFT_CLICK);
  EXPECT_EQ(tk_last_event_gadget(), button->gadget);

  EXPECT_EQ(dispatch_last(button->absX + 5, button->absY + 5), Code::LeftClick);
  EXPECT_EQ(event_object_name(ui), "ButtonInner");
  EXPECT_EQ(tk_gadget_pixel(button->gadget, 5, 5), piece_colour(1));

  // Resting outside: back to frame 0 on screen.
  dispatch_event(ui, -1, -1, 0, -1, 0, 0);
  EXPECT_EQ(tk_gadget_pixel(button->gadget, 5, 5), piece_colour(0));
}

TEST_F(EventPathTest, AComboChoiceIsReportedAndClicksWaitUntilTheListCloses) {
  create_combo(ui, "ComboType", 10, 10, 150, 120, "", 0, "");
  for (const char* item : {"Claim", "Contract", "Complaint"})
    add_item(ui, "ComboType", item, item, 0, 0, -1);
  NamedObject* button = skinned_button("ButtonElsewhere", 300, 10, "");
  NamedObject* combo = object("ComboType");
  auto* box = qobject_cast<QComboBox*>(widget("ComboType"));
  ASSERT_NE(box, nullptr);

  box->showPopup();
  ASSERT_TRUE(next_gadget_event());
  ASSERT_EQ(tk_last_event_type(), TK_TYPE_LIST_OPENED);
  dispatch_last(20, 20);
  EXPECT_EQ(combo->dropOpen, 1);

  // A click on another button while the list is open does nothing.
  dispatch_event(ui, 305, 15, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, button->gadget, button->gadget);
  EXPECT_EQ(event_code(ui), Code::None);
  EXPECT_EQ(button_record(*button)->look, Look::Resting);

  QTest::keyClick(box->view(), Qt::Key_Down);
  QTest::keyClick(box->view(), Qt::Key_Return);
  bool reported = false;
  while (next_gadget_event(300)) {
    const int8_t code = dispatch_last(20, 60);
    if (code == Code::Changed) {
      reported = true;
      EXPECT_EQ(event_object_name(ui), "ComboType");
      EXPECT_EQ(combo->text, box->currentText().toStdString());
      EXPECT_FALSE(combo->text.empty());
    }
  }
  EXPECT_TRUE(reported);
  EXPECT_EQ(combo->dropOpen, 0);
  EXPECT_EQ(current_window(ui)->openDropDown, 0);

  dispatch_event(ui, 305, 15, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, button->gadget, button->gadget);
  EXPECT_EQ(event_code(ui), Code::LeftClick);
}

TEST_F(EventPathTest, FocusAndTypingInAnInputAreReportedForIt) {
  create_input(ui, "InputCaseNo", 10, 10, 150, 20, "", 0, "");
  skinned_button("ButtonAfter", 300, 10, "");
  NamedObject* input = object("InputCaseNo");
  tk_focus_gadget(input->gadget);
  ASSERT_TRUE(next_gadget_event());
  ASSERT_EQ(tk_last_event_type(), TK_TYPE_FOCUS);
  // The mouse is over the later button; the focus still wins.
  EXPECT_EQ(dispatch_last(305, 15), Code::Focus);
  EXPECT_EQ(event_object_name(ui), "InputCaseNo");
  EXPECT_EQ(current_window(ui)->focusNumber, input->number);

  QTest::keyClicks(widget("InputCaseNo"), "A-17");
  bool changed = false;
  while (next_gadget_event(300))
    if (dispatch_last(305, 15) == Code::Changed) changed = true;
  EXPECT_TRUE(changed);
  EXPECT_EQ(input->text, "A-17");
  EXPECT_EQ(input->changed, 1);
}

TEST_F(EventPathTest, TabSelectionSwitchesPagesAndTheirContents) {
  create_tab_bar(ui, "TabBarHead", 10, 10, 400, ctest::tab_strip(18), 18, 0, "");
  create_container(ui, "PageGeneral", 10, 40, 400, 200, 0, "");
  create_input(ui, "InputGeneral", 10, 10, 100, 20, "", 0, "PageGeneral");
  create_container(ui, "PageParties", 10, 40, 400, 200, 0, "");
  create_input(ui, "InputParties", 10, 10, 100, 20, "", 0, "PageParties");
  create_input(ui, "InputPartiesHidden", 10, 40, 100, 20, "", 0, "PageParties");
  NamedObject* button = skinned_button("ButtonParties", 200, 10, "PageParties");
  show_object(ui, "InputPartiesHidden", 0, 1);
  add_tab(ui, "TabBarHead", "TabGeneral", "General", "PageGeneral", 0);
  add_tab(ui, "TabBarHead", "TabParties", "Parties", "PageParties", 0);
  EXPECT_FALSE(widget("PageParties")->isVisibleTo(tk_window_widget(window)));
  EXPECT_EQ(object("InputParties")->visible, -1);
  // Left hovered when the page went away.
  button_record(*button)->look = Look::Hover;
  make_current(ui, button);
  draw_button_frame(ui, *button, 2);

  NamedObject* bar = object("TabBarHead");
  QTest::mouseClick(widget("TabBarHead"), Qt::LeftButton, Qt::NoModifier, QPoint(150, 10));
  ASSERT_TRUE(next_gadget_event());
  EXPECT_EQ(dispatch_last(bar->absX + 150, bar->absY + 10), Code::TabSelected);
  EXPECT_EQ(event_object_name(ui), "TabBarHead");
  EXPECT_EQ(bar->text, "TabParties");
  QWidget* top = tk_window_widget(window);
  EXPECT_TRUE(widget("PageParties")->isVisibleTo(top));
  EXPECT_FALSE(widget("PageGeneral")->isVisibleTo(top));
  EXPECT_EQ(object("InputParties")->visible, 1);
  EXPECT_EQ(object("InputGeneral")->visible, -1);
  EXPECT_EQ(button_record(*button)->look, Look::Resting);
  EXPECT_EQ(tk_gadget_pixel(button->gadget, 5, 5), piece_colour(0));

  // Hidden by name stays hidden and out of reach.
  NamedObject* hidden = object("InputPartiesHidden");
  EXPECT_EQ(hidden->hidden, 1);
  dispatch_event(ui, hidden->absX + 5, hidden->absY + 5, 0, -1, 0, 0);
  EXPECT_EQ(event_object_name(ui), "PageParties");

  // The selected tab again: reported, no page changes.
  dispatch_event(ui, bar->absX + 150, bar->absY + 10, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK,
                 bar->gadget, bar->gadget);
  EXPECT_EQ(event_code(ui), Code::TabSelected);
  EXPECT_TRUE(widget("PageParties")->isVisibleTo(top));
  EXPECT_FALSE(widget("PageGeneral")->isVisibleTo(top));
  EXPECT_EQ(object("InputGeneral")->visible, -1);
}

TEST_F(EventPathTest, SplitterMovesGiveTheSecondChildItsDrawnPosition) {
  create_container(ui, "ContainerLeft", 0, 0, 10, 10, 0, "");
  create_container(ui, "ContainerRight", 0, 0, 10, 10, 0, "");
  create_container(ui, "PanelRight", 20, 30, 100, 50, 0, "ContainerRight");
  const int32_t splitter = create_splitter(ui, "SplitterMain", 0, 200, 600, 200,
                                           "ContainerLeft", "ContainerRight", 220, 1, "");
  ASSERT_NE(splitter, 0);
  NamedObject* after = skinned_button("ButtonAfter", 500, 10, "");
  QTest::qWait(20);
  expect_geometry_matches("ContainerRight");
  expect_geometry_matches("PanelRight");

  // A first left click anywhere is not taken for a bar move.
  dispatch_event(ui, 505, 15, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, after->gadget, after->gadget);
  EXPECT_EQ(event_code(ui), Code::LeftClick);
  dispatch_event(ui, -1, -1, 0, -1, 0, 0);

  // The user drags the bar from 220 to 300.
  QWidget* w = widget("SplitterMain");
  const int y = w->height() / 2;
  QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, QPoint(222, y));
  for (int x = 240; x <= 300; x += 20) QTest::mouseMove(w, QPoint(x + 2, y));
  QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, QPoint(302, y));
  ASSERT_TRUE(next_gadget_event());
  ASSERT_EQ(tk_last_event_gadget(), splitter);
  const int32_t position = tk_get_gadget_state(splitter);
  ASSERT_GT(position, 220);
  drain();

  // The move ends the dispatch: the button under the mouse is not clicked.
  dispatch_event(ui, 505, 15, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, splitter, splitter);
  EXPECT_EQ(event_code(ui), Code::None);
  EXPECT_EQ(button_record(*after)->look, Look::Resting);
  EXPECT_EQ(object("SplitterMain")->text, std::to_string(position));
  EXPECT_EQ(object("ContainerRight")->absX, position + TK_SPLITTER_BAR);
  expect_geometry_matches("ContainerRight");
  expect_geometry_matches("PanelRight");

  // The same position again changes nothing and the walk goes on.
  dispatch_event(ui, 505, 15, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, splitter, splitter);
  EXPECT_EQ(event_code(ui), Code::LeftClick);
  EXPECT_EQ(event_object_name(ui), "ButtonAfter");
}

TEST_F(EventPathTest, AnOpenCellEditorCommitsOnItsOwnClosingEventsWhereverTheMouseIs) {
  const int32_t source = tk_create_image(-1, 350, 40);
  ASSERT_NE(create_grid(ui, "GridVersionCalc", 10, 10, 400, 200, source, 20, ""), 0);
  add_column(ui, "GridVersionCalc", -1, "Text", 120, 1, 0, 0, "", 0);
  add_column(ui, "GridVersionCalc", -1, "Choice", 120, 2, 0, 0, "", 0);
  set_column_attribute(ui, "GridVersionCalc", 1, "LISTALLOWEDVALUES", "Low\tHigh", 0);
  add_row(ui, "GridVersionCalc", -1, "", 20, 0, "old\tLow", "", 0);
  set_attribute(ui, "GridVersionCalc", "ENABLEINPUT", "1", 1);
  NamedObject* grid = object("GridVersionCalc");
  GridRecord& g = *grid_record(*grid);
  const int32_t overX = grid->absX + 200, overY = grid->absY + 150;

  // Text column: losing the focus to another gadget commits, wherever the
  // mouse is; a list-closed event does not.
  ASSERT_EQ(open_editor(ui, "GridVersionCalc", 0, 0), 1);
  const int32_t text = g.inputGadget;
  tk_set_gadget_text(text, "new");
  dispatch_event(ui, overX, overY, TK_EVENT_GADGET, TK_TYPE_LIST_CLOSED, text, text);
  EXPECT_EQ(g.inputGadget, text);
  EXPECT_EQ(grid->changed, 0);
  // Lost to the grid's own gadget (a click on the grid takes the focus
  // before the click arrives), it is not left: the click decides.
  tk_focus_gadget(grid->gadget);
  dispatch_event(ui, overX, overY, TK_EVENT_GADGET, TK_TYPE_FOCUS_LOST, text, text);
  EXPECT_EQ(g.inputGadget, text);
  // Lost to anything else, it is, also with the mouse far from the grid.
  tk_focus_gadget(-1);
  dispatch_event(ui, 600, 400, TK_EVENT_GADGET, TK_TYPE_FOCUS_LOST, text, text);
  EXPECT_EQ(g.inputGadget, 0);
  EXPECT_EQ(grid->changed, 1);
  EXPECT_EQ(get_cell_text(ui, "GridVersionCalc", 0, 0), "new");

  // Drop-down column: the list closing commits, a focus loss does not.
  grid->changed = 0;
  ASSERT_EQ(open_editor(ui, "GridVersionCalc", 1, 0), 1);
  const int32_t list = g.inputGadget;
  dispatch_event(ui, overX, overY, TK_EVENT_GADGET, TK_TYPE_FOCUS_LOST, list, list);
  EXPECT_EQ(g.inputGadget, list);
  tk_set_gadget_state(list, 1);
  dispatch_event(ui, overX, overY, TK_EVENT_GADGET, TK_TYPE_LIST_CLOSED, list, list);
  EXPECT_EQ(g.inputGadget, 0);
  EXPECT_EQ(grid->changed, 1);
  EXPECT_EQ(get_cell_text(ui, "GridVersionCalc", 1, 0), "High");

  // With an editor open the grid under the mouse holds the keys again
  // (another object may have taken them meanwhile), but only Return and
  // Escape: the others belong to the editor.
  ASSERT_EQ(open_editor(ui, "GridVersionCalc", 0, 0), 1);
  current_window(ui)->focusKind = 0;
  dispatch_event(ui, overX, overY, 0, -1, 0, 0);
  EXPECT_EQ(current_window(ui)->focusKind, Kind::Grid);
  current_window(ui)->focusKind = 0;
  close_editor(ui, "GridVersionCalc", 1);
  dispatch_event(ui, overX, overY, 0, -1, 0, 0);
  EXPECT_EQ(current_window(ui)->focusKind, Kind::Grid);
  tk_free_image(source);
}
