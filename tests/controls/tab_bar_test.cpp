// Tab bars: which skin piece lands where, equal widths, overflow with the
// arrows piece, caption placement, and clicks (selection, scrolling) that
// agree with what was drawn.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/controls.h"
#include "controls/tab_bar_geometry.h"
#include "framework/framework.h"
#include "support/controls_fixtures.h"

using namespace zui;

using ctest::ControlsTest;

namespace {

class TabBarTest : public ControlsTest {
 protected:
  // Pieces along the top row of the bar's picture at the given x.
  std::vector<int> pieces(NamedObject* bar, const std::vector<int>& xs) {
    std::vector<int> out;
    for (int x : xs) out.push_back(piece_at(bar->canvas->canvasImage, x, 0));
    return out;
  }
  void redraw(NamedObject* bar) {
    make_current(ui, bar);
    draw_tab_bar(ui, *bar);
  }
  void click(NamedObject* bar, int rx, int ry) {
    make_current(ui, bar);
    tab_bar_click(ui, *bar, bar->absX + rx, bar->absY + ry);
  }
  // Centre of the caption ink (pixels that are no skin piece) in rows 1..20.
  double ink_centre(NamedObject* bar, int from, int to) {
    int first = -1, last = -1;
    for (int x = from; x < to; ++x)
      for (int y = 1; y <= 20; ++y)
        if (piece_at(bar->canvas->canvasImage, x, y) < 0) {
          if (first < 0) first = x;
          last = x;
        }
    return first < 0 ? -1.0 : (first + last) / 2.0;
  }
};

}  // namespace

TEST_F(TabBarTest, PiecesOfOneTabAndOfSelectedNeighbours) {
  NamedObject* one = tab_bar("BarOne", 0, 0, 300, {90});
  redraw(one);
  // Left edge, four fills, right end: 18 + 72 + 18; then the filler.
  EXPECT_EQ(pieces(one, {0, 17, 18, 89, 90, 107, 108, 299}),
            (std::vector<int>{5, 5, 6, 6, 8, 8, 9, 9}));

  NamedObject* three = tab_bar("BarThree", 0, 30, 400, {108, 108, 108});
  three->text = "K1";
  redraw(three);
  EXPECT_EQ(pieces(three, {0, 20, 108, 130, 216, 240, 324, 342, 399}),
            (std::vector<int>{0, 1, 4, 6, 7, 1, 2, 9, 9}));
  three->text = "K2";
  redraw(three);
  EXPECT_EQ(pieces(three, {0, 108, 216, 240, 324}), (std::vector<int>{0, 3, 4, 6, 8}));
}

TEST_F(TabBarTest, CaptionsCentreOnTheirTabs) {
  NamedObject* bar = tab_bar("BarCaptions", 0, 0, 400, {108, 108});
  tab_bar_record(*bar)->tabs[0].caption = "Case";
  tab_bar_record(*bar)->tabs[1].caption = "Case";
  redraw(bar);
  // First tab: (width + p/2) around its left edge; later tabs: (width + p)
  // around half a piece before theirs.
  EXPECT_NEAR(ink_centre(bar, 0, 108), (108 + 9) / 2.0, 2.5);
  EXPECT_NEAR(ink_centre(bar, 108, 240), 108 - 9 + (108 + 18) / 2.0, 2.5);
}

TEST_F(TabBarTest, EqualWidthsGiveAThirdOfTheBarWhenAllCaptionsFit) {
  NamedObject* bar = tab_bar("BarEqual", 0, 0, 300, {108, 108, 108});
  tab_bar_record(*bar)->equalWidths = 1;
  redraw(bar);
  for (const TabEntry& t : tab_bar_record(*bar)->tabs) EXPECT_EQ(t.width, 100);
  EXPECT_EQ(pieces(bar, {0, 89, 90, 108, 180, 270, 288}),
            (std::vector<int>{5, 6, 7, 1, 3, 2, 9}));
  // A click lands on the tab drawn under it, not on stored widths summed.
  click(bar, 95, 10);
  EXPECT_EQ(bar->text, "K1");

  NamedObject* wide = tab_bar("BarWideCaption", 0, 30, 300, {108, 120, 108});
  tab_bar_record(*wide)->equalWidths = 1;
  tab_bar_record(*wide)->tabs[1].caption = "A caption far wider than a third";
  redraw(wide);
  EXPECT_EQ(tab_bar_record(*wide)->tabs[0].width, 108);
  EXPECT_EQ(tab_bar_record(*wide)->tabs[1].width, 120);

  // Only the tabs the drawing reaches take the width.
  NamedObject* many = tab_bar("BarMany", 0, 60, 300, {108, 108, 108, 108, 108});
  tab_bar_record(*many)->equalWidths = 1;
  redraw(many);
  EXPECT_EQ(tab_bar_record(*many)->tabs[3].width, 100);
  EXPECT_EQ(tab_bar_record(*many)->tabs[4].width, 108);
}

TEST_F(TabBarTest, OverflowDrawsTheEndCapAndArrowsAndTheArrowsScroll) {
  NamedObject* bar = tab_bar("BarNarrow", 20, 30, 250, {108, 108, 108});
  redraw(bar);
  EXPECT_EQ(pieces(bar, {108, 216, 234, 240, 248, 249}),
            (std::vector<int>{7, 2, 9, 10, 10, 9}));
  bar->text = "K1";
  redraw(bar);
  EXPECT_EQ(pieces(bar, {216}), (std::vector<int>{8}));
  bar->text = "K0";

  win->eventCode = 0;
  click(bar, 245, 5);  // upper arrow: forward
  EXPECT_EQ(tab_bar_record(*bar)->firstVisibleTab, 1);
  EXPECT_EQ(pieces(bar, {0, 108, 216, 240}), (std::vector<int>{0, 3, 2, 10}));
  click(bar, 245, 5);  // everything fits now: no further
  EXPECT_EQ(tab_bar_record(*bar)->firstVisibleTab, 1);
  // Arrow clicks select nothing.
  EXPECT_EQ(bar->text, "K0");
  EXPECT_EQ(win->eventCode, 0);

  click(bar, 245, 11);  // between the arrows: nothing
  EXPECT_EQ(tab_bar_record(*bar)->firstVisibleTab, 1);
  click(bar, 245, 15);  // lower arrow: back
  EXPECT_EQ(tab_bar_record(*bar)->firstVisibleTab, 0);
  click(bar, 245, 15);
  EXPECT_EQ(tab_bar_record(*bar)->firstVisibleTab, 0);

  // A scrolled bar maps clicks to the tabs drawn: x 10 is now tab 1.
  tab_bar_record(*bar)->firstVisibleTab = 1;
  redraw(bar);
  click(bar, 10, 10);
  EXPECT_EQ(bar->text, "K1");
  EXPECT_EQ(tab_bar_record(*bar)->selectedIndex, 1);
}

TEST_F(TabBarTest, ClicksSelectReportAndIgnoreTheRowBelow) {
  NamedObject* bar = tab_bar("BarClick", 0, 0, 400, {108, 108, 108});
  redraw(bar);
  win->eventCode = 0;
  click(bar, 150, 23);
  click(bar, 150, -1);
  EXPECT_EQ(bar->text, "K0");
  EXPECT_EQ(win->eventCode, 0);

  click(bar, 150, 22);
  EXPECT_EQ(bar->text, "K1");
  EXPECT_EQ(tab_bar_record(*bar)->selectedIndex, 1);
  EXPECT_EQ(win->eventCode, Code::TabSelected);
  EXPECT_EQ(pieces(bar, {108}), (std::vector<int>{4}));

  // The selected tab again: still reported.
  win->eventCode = 0;
  click(bar, 150, 10);
  EXPECT_EQ(win->eventCode, Code::TabSelected);
  // Right of the last tab: nothing.
  win->eventCode = 0;
  click(bar, 390, 10);
  EXPECT_EQ(win->eventCode, 0);
  EXPECT_EQ(bar->text, "K1");
}

TEST_F(TabBarTest, ThroughTheDispatcherALeftClickSelectsTheTab) {
  NamedObject* bar = tab_bar("BarDispatched", 10, 10, 400, {108, 108});
  redraw(bar);
  EXPECT_EQ(dispatch(10 + 150, 10 + 10, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, 999),
            Code::TabSelected);
  EXPECT_EQ(name(), "BarDispatched");
  EXPECT_EQ(bar->text, "K1");
}

TEST(TabBarLayout, InvalidPieceWidthDrawsNothingAndHitsNothing) {
  TabBarRecord bar;
  bar.pieceWidth = 0;
  bar.tabs.resize(2);
  const TabBarLayout L = layout_tab_bar(bar, "", 300);
  EXPECT_FALSE(L.valid);
  EXPECT_EQ(tab_at(L, 10), -1);
  EXPECT_EQ(equal_tab_width(300, 18, {20, 64}), 100);
  EXPECT_EQ(equal_tab_width(300, 18, {20, 65}), 0);
}
