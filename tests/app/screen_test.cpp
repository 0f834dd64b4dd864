// The demo screen as built, its layout in the three modes, and the icon-bar
// message. The screen is the real one, shown offscreen.
#include <QColor>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QWidget>

#include "support/app_fixtures.h"

using namespace zui;

namespace {

// The widgets of the screen in creation order.
const char* const kScreenOrder[] = {
    "ImageIconbarBack", "ButtonSidebarExpCol", "ImageIconbarMsgBack", "ButtonSearch",
    "StringSearch", "ContainerLeft", "FrameLeft", "ContainerCases", "SideTreeCases",
    "ContainerCustomers", "ContainerProducts", "PanelSelect", "ButtonSideBarAdd",
    "ButtonSideBarCopy", "ButtonSideBarSync", "ButtonSideBarBlank1", "ButtonSideBarBlank2",
    "ContainerCenter", "ButtonHeadExpCol", "TextHeadLabel", "ContainerHead", "FrameHead",
    "ContainerHeadPanelCase", "InputHeadCaseNo", "InputHeadCreator", "InputHeadCaseCaption",
    "ComboHeadCaseType", "ComboHeadKeyAccount", "ComboHeadCasePhase", "ComboHeadCaseStatus",
    "ContainerHeadPanelCustomer", "InputHeadCustomer", "ContainerHeadPanelTexts",
    "InputHeadText", "PanelHead", "ButtonMainExpCol", "TextMainLabel", "ContainerVersion",
    "FrameVersion", "PanelVersion", "ButtonAddVersion", "ButtonCopyVersion",
    "ButtonCloseVersion", "ContainerVersionData", "FrameVersionData",
    "ContainerVersionDataPanelGeneral", "FrameVersionGeneral", "InputVersionCaption",
    "ComboVersionType", "FrameVersionOutbound", "ComboVersionDestCountry",
    "ContainerVersionDataPanelCalc", "GridVersionConfig", "GridVersionCalc",
    "PanelVersionData", "SplitterSideMain", "ListIconSearchType"};

// Bounding box of the pixels in which a gadget's picture differs from an
// image; {-1, ...} when none differ.
struct Box {
  int left = -1, top = -1, right = -1, bottom = -1;
};
Box difference_box(int32_t gadget, int32_t image) {
  Box b;
  for (int y = 0; y < tk_image_height(image); ++y)
    for (int x = 0; x < tk_image_width(image); ++x) {
      if (tk_gadget_pixel(gadget, x, y) == tk_image_pixel(image, x, y)) continue;
      if (b.left < 0 || x < b.left) b.left = x;
      if (x > b.right) b.right = x;
      if (b.top < 0) b.top = y;
      b.bottom = y;
    }
  return b;
}

int count_pixels(int32_t gadget, int w, int h, bool (*match)(int r, int g, int b)) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int32_t c = tk_gadget_pixel(gadget, x, y);
      if (c >= 0 && match(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF)) ++n;
    }
  return n;
}

}  // namespace

using DemoComposition = DemoScreen;
using DemoLayout = DemoScreen;
using IconbarMessage = DemoScreen;

// ---- composition ------------------------------------------------------------------

TEST_F(DemoComposition, WindowMenuAndWidgetsInCreationOrder) {
  EXPECT_EQ(inner_width(), 1024);
  EXPECT_EQ(inner_height(), 710);
  EXPECT_EQ(top()->windowTitle().toStdString(), "ZELMO ZUI-Demo");
  EXPECT_TRUE(top()->isVisible());
  EXPECT_NE(quit_action(), nullptr);

  // Registry order follows the table; objects the grids add for themselves
  // (scroll bars) may sit in between.
  NamedObject* o = app.ui.first;
  for (const char* name : kScreenOrder) {
    while (o != nullptr && o->name != name) o = o->next;
    ASSERT_NE(o, nullptr) << name << " missing or out of order";
    EXPECT_NE(o->gadget, 0) << name;
  }
  EXPECT_EQ(app.state.splitterGadget, gadget("SplitterSideMain"));
  EXPECT_NE(app.state.messageFont, 0);
}

TEST_F(DemoComposition, OpeningStateOfTheIconBarAndSidebar) {
  // Right-anchored against the inner width.
  EXPECT_EQ(object("StringSearch")->x, 1024 - 132);
  EXPECT_EQ(object("ButtonSearch")->x, 1024 - 160);
  EXPECT_EQ(object("ListIconSearchType")->x, 1024 - 150);
  EXPECT_EQ(object("ButtonSearch")->width, 149);
  EXPECT_EQ(object("ButtonSidebarExpCol")->width, 90);
  EXPECT_EQ(tk_get_gadget_text(gadget("StringSearch")), "search");
  EXPECT_EQ(widget("StringSearch")->palette().color(QPalette::Text), QColor(170, 170, 170));

  EXPECT_FALSE(shown("ListIconSearchType"));
  EXPECT_FALSE(shown("TextHeadLabel"));
  EXPECT_FALSE(shown("TextMainLabel"));
  EXPECT_EQ(tk_get_gadget_state(gadget("ListIconSearchType")), 0);  // "Search all"
  auto* list = qobject_cast<QListWidget*>(widget("ListIconSearchType"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 5);

  EXPECT_EQ(tk_get_gadget_state(app.state.splitterGadget), 220);
  EXPECT_EQ(tk_get_gadget_attribute(app.state.splitterGadget, 1), 220);
  EXPECT_EQ(tk_get_gadget_attribute(app.state.splitterGadget, 2), 800);
  EXPECT_TRUE(shown("ContainerCases"));
  EXPECT_FALSE(shown("ContainerCustomers"));
}

TEST_F(DemoComposition, TabsCombosAndPages) {
  // Both version tabs show the one data page, created after them.
  NamedObject* version = object("PanelVersion");
  ASSERT_TRUE(version && tab_bar_record(*version));
  ASSERT_EQ(tab_bar_record(*version)->tabs.size(), 2u);
  EXPECT_EQ(tab_bar_record(*version)->tabs[0].pageName, "ContainerVersionData");
  EXPECT_EQ(tab_bar_record(*version)->tabs[1].pageName, "ContainerVersionData");
  // The page did not exist yet when the tabs were added, so switching
  // versions neither shows nor hides it.
  EXPECT_EQ(tab_bar_record(*version)->tabs[1].pageGadget, 0);
  EXPECT_TRUE(shown("ContainerVersionData"));

  EXPECT_EQ(tab_bar_record(*object("PanelSelect"))->tabs[1].caption, "Partners");
  EXPECT_EQ(tab_bar_record(*object("PanelVersionData"))->tabs[1].caption, "grid matrix");
  EXPECT_TRUE(shown("ContainerHeadPanelCase"));
  EXPECT_FALSE(shown("ContainerHeadPanelCustomer"));
  EXPECT_TRUE(shown("ContainerVersionDataPanelGeneral"));
  EXPECT_FALSE(shown("ContainerVersionDataPanelCalc"));

  EXPECT_EQ(tk_get_gadget_state(gadget("ComboHeadCaseType")), 0);    // "I" Inquiry
  EXPECT_EQ(tk_get_gadget_state(gadget("ComboHeadCasePhase")), 0);   // "1"
  EXPECT_EQ(tk_get_gadget_state(gadget("ComboVersionType")), 0);     // "O"
  EXPECT_EQ(tk_get_gadget_state(gadget("ComboVersionDestCountry")), -1);  // no "D"
  EXPECT_EQ(tk_get_gadget_text(gadget("InputHeadCreator")), "RKB / 20.05.2007 16:20h");
  NamedObject* caseNo = object("InputHeadCaseNo");
  ASSERT_TRUE(caseNo && caseNo->labelData);
  EXPECT_EQ(caseNo->labelData->labelWidth, 120);
}

// The screen is built with drawings held: what shows is drawn, and the
// grids of the hidden "grid matrix" page are drawn when it first shows.
TEST_F(DemoComposition, HiddenPagesAreDrawnWhenTheyFirstShow) {
  std::vector<std::string> owed;
  for (const NamedObject* o : app.ui.owed) owed.push_back(o->name);
  EXPECT_EQ(owed, (std::vector<std::string>{"GridVersionConfig", "GridVersionCalc"}));
  const NamedObject* calc = object("GridVersionCalc");
  ASSERT_TRUE(calc && calc->canvas);
  const int32_t canvas = calc->canvas->canvasImage;
  EXPECT_EQ(tk_image_area_flat(canvas, 0, 0, calc->width, calc->height), 1);

  show_page(app.ui, *object("PanelVersionData"), 1);
  EXPECT_TRUE(app.ui.owed.empty());
  EXPECT_EQ(tk_image_area_flat(canvas, 0, 0, calc->width, calc->height), 0);
  EXPECT_NE(grid("GridVersionCalc").lastVisibleRow, 0);
}

TEST_F(DemoComposition, GridSetUps) {
  GridRecord& tree = grid("SideTreeCases");
  ASSERT_EQ(tree.rowCount, 14);
  ASSERT_EQ(tree.columnCount, 1);
  EXPECT_EQ(tree.borderless, 1);
  EXPECT_EQ(tree.keyboardControl, 0);
  EXPECT_EQ(tree.selFrontColor, 16777215);
  EXPECT_EQ(tree.permanentCursor, 1);
  // The spacer rows between the three groups are short and locked.
  for (int row : {4, 8}) {
    EXPECT_EQ(tree.rows[row].height, 10) << row;
    EXPECT_EQ(get_row_attribute(app.ui, "SideTreeCases", row, "LOCK"), "1") << row;
  }
  for (int row : {0, 5, 9}) EXPECT_EQ(tree.rows[row].isParent, 64) << row;
  EXPECT_EQ(tree.rows[5].vOrientation, 1);
  EXPECT_EQ(tree.rows[12].level, 2);
  EXPECT_EQ(get_cell_text(app.ui, "SideTreeCases", 0, 13), "Case No. 4713");
  EXPECT_EQ(grid_cursor_row(app.ui, "SideTreeCases"), 0);

  GridRecord& config = grid("GridVersionConfig");
  ASSERT_EQ(config.columnCount, 4);
  ASSERT_EQ(config.rowCount, 14);
  EXPECT_EQ(config.enableInput, 1);
  EXPECT_EQ(config.columns[3].caption, "comment (editable)");
  EXPECT_EQ(config.columns[3].inputType, 1);
  EXPECT_EQ(config.columns[0].inputType, 0);
  EXPECT_EQ(get_cell_text(app.ui, "GridVersionConfig", 1, 8), "A");
  EXPECT_EQ(get_cell_text(app.ui, "GridVersionConfig", 3, 13), "No comment");
  EXPECT_EQ(config.rows[0].isParent, 1);  // parents start collapsed
  EXPECT_EQ(config.rows[9].key, "1");

  GridRecord& calc = grid("GridVersionCalc");
  ASSERT_EQ(calc.columnCount, 3);
  ASSERT_EQ(calc.rowCount, 5);
  EXPECT_EQ(calc.columns[0].inputType, 0);
  EXPECT_EQ(calc.columns[2].orientation, 1);
  EXPECT_EQ(calc.rows[4].caption, "row 5");
  EXPECT_EQ(get_cell_text(app.ui, "GridVersionCalc", 2, 4), "cell C5");
  EXPECT_FALSE(calc.vScrollBar.empty());
}

// The balloon a gadget shows on a tooltip request, nullptr when none.
QLabel* request_tooltip(QWidget* w) {
  const QPoint at(5, 5);
  QHelpEvent help(QEvent::ToolTip, at, w->mapToGlobal(at));
  QApplication::sendEvent(w, &help);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    auto* label = qobject_cast<QLabel*>(top);
    if (label != nullptr && label->isVisible() && (label->windowFlags() & Qt::ToolTip) == Qt::ToolTip &&
        label->parentWidget() == w)
      return label;
  }
  return nullptr;
}

TEST_F(DemoComposition, TooltipsAreDarkBalloonsWithLightText) {
  QLabel* tip = request_tooltip(widget("ButtonSidebarExpCol"));
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(tip->text().toStdString(), "collapse / expand sidebar");
  EXPECT_LE(tip->width(), 180 + 12);
  const QImage look = tip->grab().toImage();
  const QColor back = look.pixelColor(look.width() / 2, 2);
  EXPECT_LT(back.lightness(), 100);
  int light = 0;
  for (int y = 0; y < look.height(); ++y)
    for (int x = 0; x < look.width(); ++x) light += look.pixelColor(x, y).lightness() > 160;
  EXPECT_GT(light, 10);
  tip->hide();

  // Help texts for a person, one per widget.
  const std::pair<const char*, const char*> helps[] = {
      {"StringSearch", "enter a search word"},
      {"PanelHead", "show the case data, the customer data or the head texts"},
  };
  for (const auto& [name, text] : helps) {
    QLabel* help = request_tooltip(widget(name));
    ASSERT_NE(help, nullptr) << name;
    EXPECT_EQ(help->text().toStdString(), text);
    help->hide();
  }
  // Widgets the screen gives no tooltip show none.
  EXPECT_EQ(request_tooltip(widget("ButtonSideBarBlank1")), nullptr);
}

// ---- layout ---------------------------------------------------------------------------

TEST_F(DemoLayout, OpeningSizeReproducesTheCreatedGeometry) {
  // The head pages lie inside their frame before any layout has run.
  for (const char* page : {"ContainerHeadPanelCase", "ContainerHeadPanelCustomer",
                           "ContainerHeadPanelTexts"})
    EXPECT_LE(object(page)->x + object(page)->width, object("FrameHead")->width - 5) << page;
  layout_demo(app, 1);
  EXPECT_EQ(object("ContainerLeft")->width, 220);
  EXPECT_EQ(object("ContainerLeft")->height, 660);
  EXPECT_EQ(object("ContainerCenter")->width, 800);
  EXPECT_EQ(object("ContainerCenter")->height, 660);
  EXPECT_EQ(object("SplitterSideMain")->width, 1024);
  EXPECT_EQ(object("SplitterSideMain")->height, 660);
  EXPECT_EQ(object("ContainerHead")->height, 200);
  EXPECT_EQ(object("ContainerVersion")->y, 199);
  EXPECT_EQ(object("ContainerVersion")->height, 450);
  EXPECT_EQ(object("ButtonMainExpCol")->y, 209);
  const char* buttons[] = {"ButtonSideBarAdd", "ButtonSideBarCopy", "ButtonSideBarSync",
                           "ButtonSideBarBlank1", "ButtonSideBarBlank2"};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(object(buttons[i])->x, 10 + 40 * i) << buttons[i];
    EXPECT_EQ(object(buttons[i])->y, 619) << buttons[i];
  }
  EXPECT_EQ(get_column_attribute(app.ui, "SideTreeCases", 0, "WIDTH"), "172");
}

TEST_F(DemoLayout, LargerWindowStretchesEveryArea) {
  resize_window_to(1200, 800);
  ASSERT_TRUE(run_until([&] { return object("ContainerCenter")->width == 1200 - 220 - 4; }));
  // Icon bar anchored right.
  EXPECT_EQ(object("ImageIconbarBack")->width, 1200);
  EXPECT_EQ(object("ImageIconbarMsgBack")->x, (1200 - 300) / 2);
  EXPECT_EQ(object("StringSearch")->x, 1200 - 132);
  EXPECT_EQ(object("ButtonSearch")->x, 1200 - 160);
  EXPECT_EQ(object("ListIconSearchType")->x, 1200 - 150);
  // Sidebar follows the height.
  EXPECT_EQ(object("ContainerLeft")->height, 800 - 50);
  EXPECT_EQ(object("FrameLeft")->height, 800 - 131);
  EXPECT_EQ(object("ContainerCases")->height, 800 - 141);
  EXPECT_EQ(object("ButtonSideBarAdd")->y, 800 - 91);
  // Centre: CW = 976, HH = 200, MY = 199, MH = 800 - 260.
  const int CW = 976, MH = 800 - 200 - 60;
  EXPECT_EQ(object("ContainerCenter")->height, 750);
  EXPECT_EQ(object("ContainerHead")->width, CW);
  EXPECT_EQ(object("FrameHead")->width, CW - 40);
  EXPECT_EQ(object("PanelHead")->width, CW - 50);
  EXPECT_EQ(object("ContainerHeadPanelTexts")->height, 200 - 45);
  EXPECT_EQ(object("ContainerVersion")->height, MH);
  EXPECT_EQ(object("FrameVersion")->height, MH - 40);
  EXPECT_EQ(object("PanelVersion")->width, CW - 110);
  EXPECT_EQ(object("ButtonAddVersion")->x, CW - 100);
  EXPECT_EQ(object("ButtonCloseVersion")->x, CW - 60);
  EXPECT_EQ(object("ContainerVersionData")->width, CW - 60);
  EXPECT_EQ(object("ContainerVersionDataPanelCalc")->height, MH - 85);
  EXPECT_EQ(object("FrameVersionOutbound")->width, CW - 80);
  EXPECT_EQ(object("SplitterSideMain")->width, 1200);
  EXPECT_EQ(object("SplitterSideMain")->height, 750);
  // The gadgets really moved, not only the records.
  EXPECT_EQ(tk_gadget_width(gadget("ContainerHead")), CW);
  EXPECT_EQ(tk_gadget_x(gadget("StringSearch")), 1200 - 132);
}

TEST_F(DemoLayout, MinimumSizeDependsOnTheSidebar) {
  resize_window_to(900, 600);
  run_for(200);
  EXPECT_EQ(inner_width(), 1024);
  EXPECT_EQ(inner_height(), 710);

  click("ButtonSidebarExpCol", 45, 10);
  ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 0; }));
  settle();
  resize_window_to(900, 600);
  run_for(200);
  EXPECT_EQ(inner_width(), 900);
  EXPECT_EQ(inner_height(), 710);
  EXPECT_EQ(object("ContainerCenter")->width, 900 - 0 - 4);
  resize_window_to(700, 900);
  run_for(200);
  EXPECT_EQ(inner_width(), 800);
  EXPECT_EQ(inner_height(), 900);
}

TEST_F(DemoLayout, TheIconBarFollowsTheWidthTheReturningSidebarForces) {
  for (int narrow : {900, 800}) {
    SCOPED_TRACE(narrow);
    click("ButtonSidebarExpCol", 45, 10);
    ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 0; }));
    park_mouse();
    resize_window_to(narrow, 710);
    ASSERT_TRUE(run_until([&] { return object("ImageIconbarBack")->width == narrow; }));
    click("ButtonSidebarExpCol", 45, 10);
    ASSERT_TRUE(run_until([&] { return app.state.sidebarShown == 1; }));
    park_mouse();
    settle(200);
    EXPECT_EQ(inner_width(), 1024);
    // The gadgets themselves, as the user sees them.
    EXPECT_EQ(tk_gadget_width(gadget("ImageIconbarBack")), 1024);
    EXPECT_EQ(tk_gadget_x(gadget("ImageIconbarMsgBack")), (1024 - 300) / 2);
    EXPECT_EQ(tk_gadget_x(gadget("StringSearch")), 1024 - 132);
  }
}

TEST_F(DemoLayout, ModesAndUnchangedSizes) {
  // The same size as last time: a resize event changes nothing.
  resize_object(app.ui, "ContainerCenter", 100, -1, 1);
  layout_demo(app, 0);
  EXPECT_EQ(object("ContainerCenter")->width, 100);

  // Mode 2 lays out the centre only.
  tk_resize_window(app.state.mainWindow, TK_KEEP, TK_KEEP, 1100, 760);
  layout_demo(app, 2);
  EXPECT_EQ(object("ContainerCenter")->width, 1100 - 220 - 4);
  EXPECT_EQ(object("StringSearch")->x, 1024 - 132);
  EXPECT_EQ(object("ContainerLeft")->height, 660);
  EXPECT_EQ(object("SplitterSideMain")->width, 1100);

  // Head collapsed, main expanded: the main area fills H - 81 from y 25.
  app.state.headExpanded = 0;
  layout_demo(app, 2);
  EXPECT_EQ(object("ButtonMainExpCol")->y, 35);
  EXPECT_EQ(object("TextMainLabel")->y, 38);
  EXPECT_EQ(object("ContainerVersion")->y, 25);
  EXPECT_EQ(object("ContainerVersion")->height, 760 - 81);

  // Both collapsed: neither area is resized; the main toggle row stays at 35.
  app.state.mainExpanded = 0;
  resize_object(app.ui, "ContainerHead", -1, 123, 1);
  layout_demo(app, 2);
  EXPECT_EQ(object("ButtonMainExpCol")->y, 35);
  EXPECT_EQ(object("ContainerHead")->height, 123);
  EXPECT_EQ(object("ContainerVersion")->height, 760 - 81);
}

TEST_F(DemoLayout, SidebarRepaintKeepsTheChosenPage) {
  click("PanelSelect", tab_middle("PanelSelect", 1), 10);  // "Partners"
  ASSERT_TRUE(run_until([&] { return shown("ContainerCustomers"); }));
  resize_window_to(1100, 720);
  run_for(200);
  EXPECT_TRUE(shown("ContainerCustomers"));
  EXPECT_FALSE(shown("ContainerCases"));
}

// ---- icon-bar message ----------------------------------------------------------------

TEST_F(IconbarMessage, TextIsCentredAndColouredByLevel) {
  const int32_t g = gadget("ImageIconbarMsgBack");
  const int32_t back = app.state.skin.SkinMessageBack;
  show_iconbar_message(app, "VIEW: Issues", 0);
  const Box box = difference_box(g, back);
  ASSERT_GE(box.left, 0) << "no text drawn";
  // Centred: equal margins, allowing for the truncating division and the
  // glyphs' own side bearings.
  EXPECT_LE(std::abs(box.left - (300 - 1 - box.right)), 4) << box.left << ".." << box.right;
  EXPECT_LE(std::abs(box.top - (26 - 1 - box.bottom)), 4) << box.top << ".." << box.bottom;
  EXPECT_GT(count_pixels(g, 300, 26, [](int r, int gr, int b) { return r < 40 && gr < 40 && b < 40; }),
            10);

  show_iconbar_message(app, "VIEW: Issues", 1);
  EXPECT_GT(count_pixels(g, 300, 26, [](int r, int gr, int b) { return r > 200 && gr < 60 && b < 60; }),
            10);
  show_iconbar_message(app, "VIEW: Issues", 2);
  EXPECT_GT(count_pixels(g, 300, 26, [](int r, int gr, int b) { return r > 200 && gr > 200 && b < 60; }),
            10);

  show_iconbar_message(app, "", 0);
  EXPECT_EQ(difference_box(g, back).left, -1);
}

TEST_F(IconbarMessage, EachMessageReleasesThePreviousPicture) {
  show_iconbar_message(app, "one", 0);
  const int32_t first = button_record(*object("ImageIconbarMsgBack"))->shownImage;
  ASSERT_NE(first, 0);
  show_iconbar_message(app, "two", 0);
  const int32_t second = button_record(*object("ImageIconbarMsgBack"))->shownImage;
  EXPECT_NE(second, first);
  EXPECT_EQ(tk_image_exists(first), 0);
  EXPECT_EQ(tk_image_exists(second), 1);
  // The background piece itself is never released.
  EXPECT_EQ(tk_image_exists(app.state.skin.SkinMessageBack), 1);
}
