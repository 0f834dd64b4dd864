// The demo driven end to end: real Qt input on the real gadgets, the real
// main-loop iteration (wait, dispatch, react, layout), then the registry,
// the flags and the pixels the user sees.
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QScrollBar>
#include <QTemporaryDir>

#include "support/app_fixtures.h"

using namespace zui;

namespace {

// The frames of a strip a gadget showed, in order, without repeats.
struct FrameLog {
  std::vector<int> frames;
  void note(int frame) {
    if (frame >= 0 && (frames.empty() || frames.back() != frame)) frames.push_back(frame);
  }
};

}  // namespace

using SkinnedButtons = DemoScreen;
using AreaToggles = DemoScreen;
using SidebarToggle = DemoScreen;
using SideTree = DemoScreen;
using SearchField = DemoScreen;
using TabPages = DemoScreen;
using Closing = DemoScreen;
using MainLoop = DemoScreen;

// ---- skinned buttons --------------------------------------------------------------

TEST_F(SkinnedButtons, HoverPressAndRestLooks) {
  const int32_t strip = app.state.skin.SkinRoundAdd;
  EXPECT_TRUE(shows_frame("ButtonAddVersion", strip, 16, 0));

  hover("ButtonAddVersion", 8, 8);
  ASSERT_TRUE(run_until([&] { return button_record(*object("ButtonAddVersion"))->look == Look::Hover; }));
  EXPECT_TRUE(shows_frame("ButtonAddVersion", strip, 16, 2));

  // The demo's buttons fire on the press itself.
  QTest::mousePress(widget("ButtonAddVersion"), Qt::LeftButton, Qt::NoModifier,
                    local_point("ButtonAddVersion", 8, 8));
  ASSERT_TRUE(run_until([&] { return saw(Code::LeftClick, "ButtonAddVersion"); }));
  EXPECT_EQ(button_record(*object("ButtonAddVersion"))->look, Look::Pressed);
  EXPECT_TRUE(shows_frame("ButtonAddVersion", strip, 16, 1));
  QTest::mouseRelease(widget("ButtonAddVersion"), Qt::LeftButton, Qt::NoModifier,
                      local_point("ButtonAddVersion", 8, 8));

  park_mouse();
  ASSERT_TRUE(run_until([&] { return button_record(*object("ButtonAddVersion"))->look == Look::Resting; }));
  EXPECT_TRUE(shows_frame("ButtonAddVersion", strip, 16, 0));

  // The version buttons and tabs have no reaction of the application.
  click("ButtonCloseVersion", 8, 8);
  click("PanelVersion", tab_middle("PanelVersion", 1), 10);
  settle(150);
  EXPECT_EQ(app.state.headExpanded, 1);
  EXPECT_EQ(app.state.mainExpanded, 1);
  EXPECT_EQ(app.state.sidebarShown, 1);
  EXPECT_EQ(app.state.searchListOpen, 0);
  EXPECT_TRUE(shown("ContainerVersionData"));
}

// ---- head and main areas ----------------------------------------------------------

TEST_F(AreaToggles, CollapsingTheHeadTurnsTheArrowAndMovesTheMainAreaUp) {
  const int32_t turn = app.state.skin.SkinArrowTurn;
  click("ButtonHeadExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return saw(Code::LeftClick, "ButtonHeadExpCol"); }));
  park_mouse();
  // The area is gone at once; the arrow keeps turning.
  EXPECT_EQ(app.state.headExpanded, 0);
  EXPECT_FALSE(shown("ContainerHead"));
  EXPECT_TRUE(shown("TextHeadLabel"));
  EXPECT_EQ(object("ButtonMainExpCol")->y, 25 + 10);
  EXPECT_EQ(object("ContainerVersion")->y, 25);
  EXPECT_EQ(object("ContainerVersion")->height, 710 - 81);

  FrameLog log;
  ASSERT_TRUE(run_until([&] {
    // The static strip replaces the last turning frame in the very step
    // that reports the end.
    if (saw(Code::AnimationDone, "ButtonHeadExpCol")) return true;
    log.note(shown_frame("ButtonHeadExpCol", turn, 16));
    return false;
  }));
  // Down back to right: the turning frames backwards.
  EXPECT_EQ(log.frames, (std::vector<int>{5, 4, 3, 2, 1}));
  settle(100);
  EXPECT_TRUE(shows_frame("ButtonHeadExpCol", app.state.skin.SkinArrowRight, 16, 0));
  EXPECT_EQ(tk_get_gadget_text(get_gadget(app.ui, "TextHeadLabel")), "head area (collapsed)");

  // And open again: right to down, then the static down arrow.
  reported.clear();
  click("ButtonHeadExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return saw(Code::LeftClick, "ButtonHeadExpCol"); }));
  park_mouse();
  EXPECT_EQ(app.state.headExpanded, 1);
  EXPECT_TRUE(shown("ContainerHead"));
  EXPECT_FALSE(shown("TextHeadLabel"));
  EXPECT_EQ(object("ButtonMainExpCol")->y, 199 + 10);
  EXPECT_EQ(object("ContainerVersion")->y, 199);
  FrameLog open;
  ASSERT_TRUE(run_until([&] {
    if (saw(Code::AnimationDone, "ButtonHeadExpCol")) return true;
    open.note(shown_frame("ButtonHeadExpCol", turn, 16));
    return false;
  }));
  EXPECT_EQ(open.frames, (std::vector<int>{0, 1, 2, 3, 4}));
  settle(100);
  EXPECT_TRUE(shows_frame("ButtonHeadExpCol", app.state.skin.SkinArrowDown, 16, 0));
}

TEST_F(AreaToggles, TwoQuickClicksEndWithTheAreaOpenAndTheDownArrow) {
  // The mouse stays on the button until each click has been dispatched: the
  // dispatcher hit-tests the position it reads in that iteration.
  click("ButtonHeadExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return saw(Code::LeftClick, "ButtonHeadExpCol"); }));
  EXPECT_EQ(app.state.headExpanded, 0);
  reported.clear();
  click("ButtonHeadExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return saw(Code::LeftClick, "ButtonHeadExpCol"); }));
  EXPECT_FALSE(saw(Code::AnimationDone, "ButtonHeadExpCol"));  // still turning
  park_mouse();
  ASSERT_TRUE(run_until([&] { return saw(Code::AnimationDone, "ButtonHeadExpCol"); }));
  settle(150);
  EXPECT_EQ(app.state.headExpanded, 1);
  EXPECT_TRUE(shown("ContainerHead"));
  EXPECT_FALSE(shown("TextHeadLabel"));
  EXPECT_TRUE(shows_frame("ButtonHeadExpCol", app.state.skin.SkinArrowDown, 16, 0));
}

TEST_F(AreaToggles, CollapsingTheMainAreaShowsItsLabel) {
  click("ButtonMainExpCol", 8, 8);
  ASSERT_TRUE(run_until([&] { return saw(Code::LeftClick, "ButtonMainExpCol"); }));
  park_mouse();
  ASSERT_TRUE(run_until([&] { return saw(Code::AnimationDone, "ButtonMainExpCol"); }));
  settle(100);
  EXPECT_EQ(app.state.mainExpanded, 0);
  EXPECT_FALSE(shown("ContainerVersion"));
  EXPECT_TRUE(shown("TextMainLabel"));
  // The head area takes the freed height: HH = H - 101.
  EXPECT_EQ(object("ContainerHead")->height, 710 - 101);
  EXPECT_TRUE(shows_frame("ButtonMainExpCol", app.state.skin.SkinArrowRight, 16, 0));
}

// ---- sidebar ----------------------------------------------------------------------

TEST_F(SidebarToggle, CollapsesToZeroAndComesBackToTheSameWidth) {
  // At 1024 the minimum sizes (220 and 800) hold the bar; a wider window
  // gives it room.
  resize_window_to(1200, 710);
  ASSERT_TRUE(run_until([&] { return object("SplitterSideMain")->width == 1200; }));
  drag_splitter(300);
  ASSERT_TRUE(run_until([&] { return object("ContainerLeft")->width == 300; }));
  EXPECT_EQ(object("SideTreeCases")->width, 260);
  EXPECT_EQ(get_column_attribute(app.ui, "SideTreeCases", 0, "WIDTH"), "252");
  EXPECT_EQ(object("ContainerCenter")->width, 1200 - 300 - 4);

  click("ButtonSidebarExpCol", 45, 10);
  ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 0; }));
  park_mouse();
  settle(100);
  EXPECT_EQ(tk_get_gadget_state(app.state.splitterGadget), 0);
  EXPECT_EQ(app.state.sidebarWidth, 300);
  EXPECT_EQ(tk_get_gadget_attribute(app.state.splitterGadget, 1), 0);
  EXPECT_EQ(tk_get_gadget_attribute(app.state.splitterGadget, 2), 0);
  EXPECT_EQ(object("ContainerCenter")->width, 1200 - 4);
  EXPECT_TRUE(shows_frame("ButtonSidebarExpCol", app.state.skin.SkinToggleHidden, 90, 0));

  click("ButtonSidebarExpCol", 45, 10);
  ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 1; }));
  park_mouse();
  settle(100);
  EXPECT_EQ(tk_get_gadget_state(app.state.splitterGadget), 300);
  EXPECT_EQ(tk_get_gadget_attribute(app.state.splitterGadget, 1), 220);
  EXPECT_EQ(tk_get_gadget_attribute(app.state.splitterGadget, 2), 800);
  EXPECT_EQ(object("ContainerLeft")->width, 300);
  EXPECT_EQ(object("ContainerCenter")->width, 1200 - 300 - 4);
  EXPECT_TRUE(shows_frame("ButtonSidebarExpCol", app.state.skin.SkinToggleShown, 90, 0));
  // Hit tests follow the bar: the centre's second child starts after it.
  EXPECT_EQ(object("ContainerCenter")->absX, 300 + TK_SPLITTER_BAR);
}

TEST_F(SidebarToggle, DraggingTheSplitterToZeroAndAwayAgain) {
  // Collapse with the button so that the bar may reach 0, then drag it out.
  click("ButtonSidebarExpCol", 45, 10);
  ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 0; }));
  park_mouse();
  settle(100);

  drag_splitter(250);
  ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 1; }));
  settle(100);
  EXPECT_EQ(tk_get_gadget_attribute(app.state.splitterGadget, 1), 220);
  EXPECT_EQ(object("ContainerLeft")->width, tk_get_gadget_state(app.state.splitterGadget));
  EXPECT_TRUE(shows_frame("ButtonSidebarExpCol", app.state.skin.SkinToggleShown, 90, 0));

  // Dragged all the way back to the edge: hidden again, and the toggle
  // shows it. The restored first minimum keeps a dragged bar at 220 or more,
  // so it is lifted here to let the drag reach the edge.
  tk_set_gadget_attribute(app.state.splitterGadget, 1, 0);
  drag_splitter(0);
  ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 0; }));
  settle(100);
  EXPECT_EQ(tk_get_gadget_state(app.state.splitterGadget), 0);
  EXPECT_TRUE(shows_frame("ButtonSidebarExpCol", app.state.skin.SkinToggleHidden, 90, 0));
  // Its next redraw keeps the new strip: hover shows the hidden toggle's
  // hover frame.
  hover("ButtonSidebarExpCol", 45, 10);
  ASSERT_TRUE(run_until([&] { return button_record(*object("ButtonSidebarExpCol"))->look == Look::Hover; }));
  EXPECT_TRUE(shows_frame("ButtonSidebarExpCol", app.state.skin.SkinToggleHidden, 90, 2));
}

TEST_F(SidebarToggle, MinimumSizesHoldOnceADragBringsTheSidebarBack) {
  click("ButtonSidebarExpCol", 45, 10);
  ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 0; }));
  park_mouse();
  settle(100);
  // The first drag runs without minimums; the second meets them.
  for (int drag = 0; drag < 2; ++drag) {
    drag_splitter(480);
    ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 1; }));
    settle(100);
    EXPECT_EQ(tk_get_gadget_attribute(app.state.splitterGadget, 2), 800);
    EXPECT_EQ(object("ContainerLeft")->width, 220) << drag;
    EXPECT_EQ(object("ContainerCenter")->width, 800) << drag;
    EXPECT_EQ(object("ContainerCenter")->absX, 220 + TK_SPLITTER_BAR) << drag;
  }
}

// ---- side tree and the view message -------------------------------------------------

TEST_F(SideTree, GroupRowsShowTheViewMessageOthersClearIt) {
  const int32_t g = gadget("ImageIconbarMsgBack");
  const int32_t back = app.state.skin.SkinMessageBack;
  auto plain = [&] {
    for (int y = 0; y < 26; ++y)
      for (int x = 0; x < 300; ++x)
        if (tk_gadget_pixel(g, x, y) != tk_image_pixel(back, x, y)) return false;
    return true;
  };
  EXPECT_TRUE(plain());

  click_cell("SideTreeCases", 0, 1);  // "Issues"
  ASSERT_TRUE(run_until([&] { return saw(Code::GridCursor, "SideTreeCases"); }));
  EXPECT_EQ(get_text(app.ui, "SideTreeCases"), "Issues");
  EXPECT_FALSE(plain());
  // Compare with the message composed directly: same picture.
  std::vector<int32_t> shownPixels;
  for (int y = 0; y < 26; ++y)
    for (int x = 0; x < 300; ++x) shownPixels.push_back(tk_gadget_pixel(g, x, y));
  show_iconbar_message(app, "VIEW: Issues", 0);
  int same = 0;
  for (int y = 0; y < 26; ++y)
    for (int x = 0; x < 300; ++x) same += tk_gadget_pixel(g, x, y) == shownPixels[y * 300 + x];
  EXPECT_EQ(same, 300 * 26);

  reported.clear();
  click_cell("SideTreeCases", 0, 0);  // "Case No. 4711"
  ASSERT_TRUE(run_until([&] { return saw(Code::GridCursor, "SideTreeCases"); }));
  EXPECT_TRUE(plain());
}

TEST_F(SideTree, LockedSpacerRowsRefuseTheCursor) {
  click_cell("SideTreeCases", 0, 2);  // "Workflows"
  ASSERT_TRUE(run_until([&] { return saw(Code::GridCursor, "SideTreeCases"); }));
  reported.clear();
  for (int spacer : {4, 8}) {
    click_cell("SideTreeCases", 0, spacer);
    settle(100);
    EXPECT_EQ(grid_cursor_row(app.ui, "SideTreeCases"), 2) << spacer;
  }
  EXPECT_FALSE(saw(Code::GridCursor, "SideTreeCases"));
}

// ---- search field and its list --------------------------------------------------------

TEST_F(SearchField, TypedTextStaysThePlaceholderShowsOnlyWhileEmptyAndUnfocused) {
  const QColor grey(170, 170, 170), black(0, 0, 0);
  auto field = [&] { return tk_get_gadget_text(gadget("StringSearch")); };
  auto colour = [&] { return widget("StringSearch")->palette().color(QPalette::Text); };

  click("StringSearch", 30, 8);
  ASSERT_TRUE(run_until([&] { return app.state.searchActive == 1; }));
  EXPECT_TRUE(saw(Code::Focus, "StringSearch"));
  EXPECT_EQ(field(), "");
  EXPECT_EQ(colour(), black);
  type("invoice");

  // Working elsewhere and coming back keeps the word.
  click("ButtonSideBarSync", 20, 10);
  run_for(150);
  EXPECT_EQ(field(), "invoice");
  EXPECT_EQ(colour(), black);
  click("StringSearch", 30, 8);
  run_for(150);
  EXPECT_EQ(field(), "invoice");

  // Emptied and left, by the mouse or by Tab: the placeholder is back.
  for (bool byTab : {false, true}) {
    SCOPED_TRACE(byTab);
    click("StringSearch", 30, 8);
    run_for(100);
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_Delete);
    if (byTab)
      key(Qt::Key_Tab);
    else
      click("ButtonSideBarSync", 20, 10);
    ASSERT_TRUE(run_until([&] { return app.state.searchActive == 0; }));
    EXPECT_EQ(field(), "search");
    EXPECT_EQ(colour(), grey);
  }
}

TEST_F(SearchField, TheFaceOpensTheTypeListAndAChoiceClosesIt) {
  // The drop-down mark sits beside the magnifier, left of the input.
  click("ButtonSearch", 18, 10);
  ASSERT_TRUE(run_until([&] { return app.state.searchListOpen == 1; }));
  EXPECT_TRUE(shown("ListIconSearchType"));
  EXPECT_EQ(tk_focused_gadget(), gadget("ListIconSearchType"));

  auto* list = qobject_cast<QListWidget*>(widget("ListIconSearchType"));
  ASSERT_NE(list, nullptr);
  const QRect item = list->visualItemRect(list->item(2));
  QCursor::setPos(list->viewport()->mapToGlobal(item.center()));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, item.center());
  ASSERT_TRUE(run_until([&] { return app.state.searchListOpen == 0; }));
  EXPECT_FALSE(shown("ListIconSearchType"));
  EXPECT_EQ(tk_get_gadget_state(gadget("ListIconSearchType")), 2);

  // The face toggles: open, then closed again by a second click (here on
  // its right end, beyond the input).
  click("ButtonSearch", 143, 10);
  ASSERT_TRUE(run_until([&] { return app.state.searchListOpen == 1; }));
  settle(100);
  click("ButtonSearch", 143, 10);
  ASSERT_TRUE(run_until([&] { return app.state.searchListOpen == 0; }));
  EXPECT_FALSE(shown("ListIconSearchType"));

  // A click anywhere else closes an open list too, leaving its choice.
  click("ButtonSearch", 18, 10);
  ASSERT_TRUE(run_until([&] { return app.state.searchListOpen == 1; }));
  settle(100);
  click("ButtonSideBarSync", 20, 10);
  ASSERT_TRUE(run_until([&] { return app.state.searchListOpen == 0; }));
  EXPECT_FALSE(shown("ListIconSearchType"));
  EXPECT_EQ(tk_get_gadget_state(gadget("ListIconSearchType")), 2);
  EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(SearchField, TheTypeListFitsItsEntriesAndClosesOnClicksOnTheTreeAndGrids) {
  click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);  // "grid matrix"
  ASSERT_TRUE(run_until([&] { return shown("GridVersionConfig"); }));
  auto* list = qobject_cast<QListWidget*>(widget("ListIconSearchType"));
  ASSERT_NE(list, nullptr);
  const std::vector<std::function<void()>> clicksElsewhere = {
      [&] { click_cell("SideTreeCases", 0, 1); },
      [&] { click_cell("GridVersionConfig", 1, 0); },
      [&] { click_cell("GridVersionCalc", 1, 0); },
  };
  for (size_t k = 0; k < clicksElsewhere.size(); ++k) {
    click("ButtonSearch", 18, 10);
    ASSERT_TRUE(run_until([&] { return app.state.searchListOpen == 1; }));
    settle(100);
    EXPECT_FALSE(list->verticalScrollBar()->isVisible());
    for (int i = 0; i < list->count(); ++i) {
      const QRect item = list->visualItemRect(list->item(i));
      EXPECT_TRUE(list->viewport()->rect().contains(item)) << i;
      EXPECT_LE(list->fontMetrics().horizontalAdvance(list->item(i)->text()), item.width()) << i;
    }
    clicksElsewhere[k]();
    ASSERT_TRUE(run_until([&] { return app.state.searchListOpen == 0; })) << k;
    EXPECT_FALSE(shown("ListIconSearchType"));
  }
}

// ---- tab pages -------------------------------------------------------------------------

TEST_F(TabPages, ClickingATabSwitchesItsPages) {
  click("PanelHead", tab_middle("PanelHead", 1), 10);  // "Customer Data"
  ASSERT_TRUE(run_until([&] { return shown("ContainerHeadPanelCustomer"); }));
  EXPECT_TRUE(saw(Code::TabSelected, "PanelHead"));
  EXPECT_FALSE(shown("ContainerHeadPanelCase"));
  EXPECT_TRUE(shown("InputHeadCustomer"));

  click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);  // "grid matrix"
  ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelCalc"); }));
  EXPECT_FALSE(shown("ContainerVersionDataPanelGeneral"));
  EXPECT_TRUE(shown("GridVersionConfig"));
  EXPECT_TRUE(shown("GridVersionCalc"));
  EXPECT_EQ(object("GridVersionConfig")->visible, 1);

  click("PanelSelect", tab_middle("PanelSelect", 1), 10);  // "Partners"
  ASSERT_TRUE(run_until([&] { return shown("ContainerCustomers"); }));
  EXPECT_FALSE(shown("ContainerCases"));
  // Objects of the hidden page are out of the dispatcher's reach.
  EXPECT_EQ(object("SideTreeCases")->visible, -1);
}

// ---- data grids ------------------------------------------------------------------------

class DataGridsOnMatrix : public DemoScreen {
 protected:
  void SetUp() override {
    DemoScreen::SetUp();
    click("PanelVersionData", tab_middle("PanelVersionData", 1), 10);
    ASSERT_TRUE(run_until([&] { return shown("ContainerVersionDataPanelCalc"); }));
    reported.clear();
  }
  // Keys reach a grid while the mouse rests over it.
  void key_over(const std::string& grid, Qt::Key k, int column = 0, int row = 0) {
    hover_cell(grid, column, row);
    run_for(60);
    key(k);
    run_for(60);
  }
};

TEST_F(DataGridsOnMatrix, CursorKeysAndSpaceOnATreeRow) {
  const std::string g = "GridVersionConfig";
  EXPECT_EQ(grid(g).rows[0].isParent, 1);
  key_over(g, Qt::Key_Space);
  EXPECT_TRUE(saw(Code::GridToggled, g));
  EXPECT_EQ(grid(g).rows[0].isParent, 16);
  settle(500);  // the expander turns, then the children show
  EXPECT_EQ(grid(g).rows[1].hiddenInTree, 0);

  key_over(g, Qt::Key_Down);
  EXPECT_TRUE(saw(Code::GridCursor, g));
  EXPECT_EQ(grid_cursor_row(app.ui, g), 1);
  key_over(g, Qt::Key_Right);
  EXPECT_EQ(grid_cursor_column(app.ui, g), 1);
  key_over(g, Qt::Key_Left);
  key_over(g, Qt::Key_Left);  // stays at the first column
  EXPECT_EQ(grid_cursor_column(app.ui, g), 0);
  key_over(g, Qt::Key_Up);
  EXPECT_EQ(grid_cursor_row(app.ui, g), 0);
}

TEST_F(DataGridsOnMatrix, EditingTheCommentColumn) {
  const std::string g = "GridVersionConfig";
  double_click_cell(g, 3, 0);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridEditorOpened, g); }));
  ASSERT_NE(grid(g).inputGadget, 0);
  settle(100);
  QWidget* editor = tk_gadget_widget(grid(g).inputGadget);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->isVisible());
  EXPECT_TRUE(editor->hasFocus());
  type("checked");
  key(Qt::Key_Return);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridCommit, g); }));
  EXPECT_EQ(grid(g).inputGadget, 0);
  EXPECT_EQ(get_cell_text(app.ui, g, 3, 0), "checked");

  // Escape drops what was typed.
  reported.clear();
  double_click_cell(g, 3, 0);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridEditorOpened, g); }));
  settle(100);
  type(" twice");
  key(Qt::Key_Escape);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridCancel, g); }));
  EXPECT_EQ(grid(g).inputGadget, 0);
  EXPECT_EQ(get_cell_text(app.ui, g, 3, 0), "checked");
}

TEST_F(DataGridsOnMatrix, LockedColumnRefusesInput) {
  const std::string g = "GridVersionCalc";
  double_click_cell(g, 0, 1);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridEditorRefused, g); }));
  EXPECT_EQ(grid(g).inputGadget, 0);
  EXPECT_EQ(grid_cursor_row(app.ui, g), 1);
  EXPECT_EQ(get_cell_text(app.ui, g, 0, 1), "cell A2");

  // Its neighbour takes input.
  reported.clear();
  double_click_cell(g, 1, 1);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridEditorOpened, g); }));
  settle(100);
  key(Qt::Key_End);
  type("X");
  key(Qt::Key_Return);
  ASSERT_TRUE(run_until([&] { return saw(Code::GridCommit, g); }));
  EXPECT_EQ(get_cell_text(app.ui, g, 1, 1), "cell B2X");
}

// ---- closing -------------------------------------------------------------------------

TEST_F(Closing, QuitEndsTheLoopInTheSameIteration) {
  QAction* quit = quit_action();
  ASSERT_NE(quit, nullptr);
  quit->trigger();
  bool more = true;
  for (int i = 0; i < 50 && more; ++i) more = step(20);
  EXPECT_FALSE(more);
  EXPECT_EQ(app.lastKind, TK_EVENT_CLOSE);
  EXPECT_EQ(app.lastMenu, 7);
}

TEST_F(Closing, TitleBarCloseEndsTheLoopAndTheWindowStaysUntilShutDown) {
  top()->close();
  bool more = true;
  for (int i = 0; i < 50 && more; ++i) more = step(20);
  EXPECT_FALSE(more);
  EXPECT_EQ(app.lastKind, TK_EVENT_CLOSE);
}

TEST_F(MainLoop, AnIdleLoopStillDispatchesAndAnimates) {
  // With no input at all, each iteration still runs the dispatcher: an
  // animation started by name advances and finishes.
  set_animation_strip(app.ui, "ButtonAddVersion", 16, app.state.skin.SkinRoundAdd, 0, 3, 0);
  start_animation(app.ui, "ButtonAddVersion", 0, 20, 0);
  park_mouse();
  EXPECT_TRUE(run_until([&] { return saw(Code::AnimationDone, "ButtonAddVersion"); }, 1000));
}

TEST(DemoProgram, ScreenshotRunSavesThePictureAndExitsWithZero) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString shot = dir.filePath("shot.png");
  QProcess demo;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ZUI_SCREENSHOT", shot);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  demo.setProcessEnvironment(env);
  demo.start("./zui-demo", {});
  ASSERT_TRUE(demo.waitForStarted(5000)) << "zui-demo not found next to the tests";
  ASSERT_TRUE(demo.waitForFinished(20000));
  EXPECT_EQ(demo.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(demo.exitCode(), 0);
  QImage picture(shot);
  ASSERT_FALSE(picture.isNull());
  EXPECT_GE(picture.width(), 1024);
  EXPECT_GE(picture.height(), 710);
}
