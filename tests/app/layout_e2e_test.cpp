// What a person does to the demo's layout and fields, end to end: resizing
// and the splitter, folding the sidebar away and back, the search field, the
// Tab key's walk and the head tab bar's help text.
#include <QHelpEvent>
#include <QImage>
#include <QLabel>

#include "support/app_fixtures.h"

using namespace zui;

namespace {

// Every object's place and size, by name: what a round trip must give back.
std::vector<std::string> geometry_table(Ui& ui) {
  std::vector<std::string> rows;
  for (NamedObject* o = ui.first; o; o = o->next)
    rows.push_back(o->name + " " + std::to_string(o->absX) + "," + std::to_string(o->absY) + " " +
                   std::to_string(o->width) + "x" + std::to_string(o->height) + " v" +
                   std::to_string(o->visible));
  return rows;
}

}  // namespace

using DemoResize = DemoScreen;
using SidebarFold = DemoScreen;

// ---- resizing and the splitter ------------------------------------------------------

TEST_F(DemoResize, TheSidebarGivesWayToTheCentresMinimumDownToItsOwn) {
  struct Case {
    int wide, dragTo, narrow;  // window widened, bar dragged, window shrunk back
    int sidebar;               // the sidebar's width afterwards
  };
  const Case cases[] = {
      {1400, 400, 1024, 220},  // all the way down to the sidebar's minimum
      {1400, 400, 1100, 295},  // part of the way: the centre keeps 800
      {1400, 300, 1200, 300},  // enough room: the sidebar keeps its width
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.narrow);
    resize_window_to(c.wide, 710);
    ASSERT_TRUE(run_until([&] { return object("SplitterSideMain")->width == c.wide; }));
    drag_splitter(c.dragTo);
    ASSERT_TRUE(run_until([&] { return object("ContainerLeft")->width == c.dragTo; }));
    resize_window_to(c.narrow, 710);
    ASSERT_TRUE(run_until([&] { return object("SplitterSideMain")->width == c.narrow; }));
    settle(100);
    EXPECT_EQ(tk_get_gadget_state(app.state.splitterGadget), c.sidebar);
    EXPECT_EQ(object("ContainerLeft")->width, c.sidebar);
    const int centre = c.narrow - c.sidebar - 4;
    EXPECT_GE(centre, kCentreMinimum);
    EXPECT_EQ(object("ContainerCenter")->width, centre);
    // The gadget really sits behind the bar, and hit tests follow it.
    EXPECT_EQ(object("ContainerCenter")->absX, c.sidebar + TK_SPLITTER_BAR);
    // The head form lies inside its frame.
    const NamedObject* frame = object("FrameHead");
    for (const char* field : {"InputHeadCreator", "InputHeadCaseCaption", "ComboHeadCaseStatus"})
      EXPECT_LE(object(field)->absX + object(field)->width, frame->absX + frame->width) << field;
  }
}

// ---- folding the sidebar away and back -------------------------------------------------

TEST_F(SidebarFold, ARoundTripLeavesTheScreenAsItWas) {
  const std::vector<std::string> before = geometry_table(app.ui);
  const QImage shotBefore = top()->grab().toImage();
  for (int fold = 0; fold < 2; ++fold) {
    click("ButtonSidebarExpCol", 45, 10);
    ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == fold % 2; }));
    park_mouse();
    settle(300);
  }
  const std::vector<std::string> after = geometry_table(app.ui);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < after.size(); ++i) EXPECT_EQ(after[i], before[i]);
  const QImage shotAfter = top()->grab().toImage();
  EXPECT_TRUE(shotAfter == shotBefore);
}

// ---- the Tab key's walk ---------------------------------------------------------------

using TabWalk = DemoScreen;

// Tab follows the screen's reading order: each tab bar before its page's
// fields, on both pages of the version data.
TEST_F(TabWalk, FollowsTheReadingOrder) {
  const std::vector<std::string> start = {
      "ButtonSidebarExpCol", "ButtonSearch", "StringSearch", "PanelSelect", "SideTreeCases",
      "ButtonSideBarAdd", "ButtonSideBarCopy", "ButtonSideBarSync", "ButtonSideBarBlank1",
      "ButtonSideBarBlank2", "ButtonHeadExpCol", "PanelHead", "InputHeadCaseNo",
      "InputHeadCreator", "InputHeadCaseCaption", "ComboHeadCaseType", "ComboHeadKeyAccount",
      "ComboHeadCasePhase", "ComboHeadCaseStatus", "ButtonMainExpCol", "PanelVersion",
      "ButtonAddVersion", "ButtonCopyVersion", "ButtonCloseVersion", "PanelVersionData"};
  const std::vector<std::string> pages[] = {
      {"InputVersionCaption", "ComboVersionType", "ComboVersionDestCountry"},
      {"GridVersionConfig", "GridVersionCalc"}};
  auto focused = [&] {
    if (find_object_by_gadget(app.ui, tk_focused_gadget(), 0) != 1) return std::string();
    return current_object(app.ui)->name;
  };
  tk_activate_window(app.state.mainWindow);
  settle(60);
  for (int page = 0; page < 2; ++page) {
    SCOPED_TRACE(page);
    if (page == 1) {
      click("PanelVersionData", tab_middle("PanelVersionData", 1), 8);
      settle(100);
    }
    std::vector<std::string> expected = start;
    expected.insert(expected.end(), pages[page].begin(), pages[page].end());
    tk_focus_gadget(gadget(expected.front()));
    std::vector<std::string> walk;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      walk.push_back(focused());
      key(Qt::Key_Tab);
    }
    EXPECT_EQ(walk, expected);
    EXPECT_EQ(focused(), expected.front());  // and round again
  }
}
