// Fits the demo screen to the window size and to the collapsed or expanded
// state of its sidebar, head area and main area.
//
// Sections: helpers · minimum size · icon bar · sidebar · centre column.
#include <algorithm>
#include <string>

#include "app/app.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "toolkit/tk.h"

namespace zui {

namespace {

constexpr int16_t kKeep = -1;

void repaint(Ui& ui, const std::string& name) {
  const int32_t gadget = get_gadget(ui, name);
  tk_hide_gadget(gadget, 1);
  tk_hide_gadget(gadget, 0);
}

// The page of the sidebar tab that is selected now: refreshing a fixed page
// would lay the cases page over the page the user chose.
std::string selected_sidebar_page(Ui& ui) {
  if (find_object(ui, "PanelSelect", 0) != 1) return "ContainerCases";
  const NamedObject* bar = current_object(ui);
  const TabBarRecord* record = bar ? tab_bar_record(*bar) : nullptr;
  if (record == nullptr) return "ContainerCases";
  const TabBarRecord& tabs = *record;
  const int index = tabs.selectedIndex;
  if (index < 0 || index >= static_cast<int>(tabs.tabs.size())) return "ContainerCases";
  return tabs.tabs[index].pageName;
}

// The sidebar's pieces keep even margins inside it: 5 px around the frame,
// 9 px beside the tab bar, the pages 5 px inside the frame and the tree 10 px
// inside its page; the toolbar is centred. At the opening size these are the
// sizes the screen was built with, so folding the sidebar away and back
// changes no pixel.
void layout_sidebar(Ui& ui, int16_t H, int16_t S) {
  resize_object(ui, "ContainerLeft", S, H - 50, 1);
  resize_object(ui, "PanelSelect", S - 18, kKeep, 1);
  resize_object(ui, "FrameLeft", S - 10, H - 131, 1);
  for (const char* page : {"ContainerCases", "ContainerCustomers", "ContainerProducts"})
    resize_object(ui, page, S - 20, H - 141, 1);
  resize_object(ui, "SideTreeCases", S - 40, H - 161, 1);
  set_column_attribute(ui, "SideTreeCases", 0, "WIDTH", std::to_string(S - 48), 1);

  const int16_t B = static_cast<int16_t>((S - 200) / 2);
  const char* buttons[] = {"ButtonSideBarAdd", "ButtonSideBarCopy", "ButtonSideBarSync",
                           "ButtonSideBarBlank1", "ButtonSideBarBlank2"};
  for (int i = 0; i < 5; ++i) move_object(ui, buttons[i], B + 40 * i, H - 91, 1);
  repaint(ui, selected_sidebar_page(ui));
}

// The widest sidebar that leaves the centre its minimum in a window W wide;
// the sidebar's own minimum wins when both cannot hold, as in the splitter.
int16_t sidebar_that_fits(int16_t W, int16_t S) {
  const int32_t widest = W - TK_SPLITTER_BAR - kCentreMinimum;
  return static_cast<int16_t>(std::max<int32_t>(kSidebarMinimum, std::min<int32_t>(S, widest)));
}

// Moves the bar to S (the sidebar gives way to a shrinking window): the
// splitter object records the position and the centre's hit tests follow it,
// as after a drag.
void place_splitter_bar(App& app, int16_t S) {
  Ui& ui = app.ui;
  tk_set_gadget_state(app.state.splitterGadget, S);
  if (find_object(ui, "SplitterSideMain", 0) != 1) return;
  NamedObject* splitter = current_object(ui);
  splitter->text = std::to_string(S);
  set_absolute_position(ui, "ContainerCenter",
                        static_cast<int16_t>(splitter->absX + S + TK_SPLITTER_BAR), kKeep);
}

void layout_centre(App& app, int16_t W, int16_t H, int16_t S) {
  Ui& ui = app.ui;
  const int16_t CW = static_cast<int16_t>(W - S - 4);
  resize_object(ui, "ContainerCenter", CW, H - 50, 1);

  const int16_t HH = app.state.mainExpanded == 1 ? 200 : static_cast<int16_t>(H - 101);
  if (app.state.headExpanded == 1) {
    resize_object(ui, "ContainerHead", CW, HH, 1);
    resize_object(ui, "FrameHead", CW - 40, HH - 35, 1);
    resize_object(ui, "PanelHead", CW - 50, kKeep, 1);
    for (const char* page :
         {"ContainerHeadPanelCase", "ContainerHeadPanelCustomer", "ContainerHeadPanelTexts"})
      resize_object(ui, page, CW - 50, HH - 45, 1);
    repaint(ui, "ContainerHead");
  }

  int16_t MY = 25;
  int16_t MH = static_cast<int16_t>(H - 81);
  if (app.state.headExpanded == 1) {
    MY = static_cast<int16_t>(HH - 1);
    MH = static_cast<int16_t>(H - HH - 60);
  }
  move_object(ui, "ButtonMainExpCol", kKeep, MY + 10, 1);
  move_object(ui, "TextMainLabel", kKeep, MY + 13, 1);

  if (app.state.mainExpanded == 1) {
    move_object(ui, "ContainerVersion", kKeep, MY, 0);
    resize_object(ui, "ContainerVersion", CW, MH, 1);
    resize_object(ui, "FrameVersion", CW - 40, MH - 40, 1);
    resize_object(ui, "PanelVersion", CW - 110, kKeep, 1);
    move_object(ui, "ButtonAddVersion", CW - 100, kKeep, 1);
    move_object(ui, "ButtonCopyVersion", CW - 80, kKeep, 1);
    move_object(ui, "ButtonCloseVersion", CW - 60, kKeep, 1);
    resize_object(ui, "ContainerVersionData", CW - 60, MH - 55, 1);
    resize_object(ui, "PanelVersionData", CW - 80, kKeep, 1);
    resize_object(ui, "FrameVersionData", CW - 60, MH - 80, 1);
    resize_object(ui, "ContainerVersionDataPanelGeneral", CW - 70, MH - 85, 1);
    resize_object(ui, "ContainerVersionDataPanelCalc", CW - 70, MH - 85, 1);
    resize_object(ui, "FrameVersionGeneral", CW - 80, kKeep, 1);
    resize_object(ui, "FrameVersionOutbound", CW - 80, kKeep, 1);
    repaint(ui, "ContainerVersion");
  }
  resize_object(ui, "SplitterSideMain", W, H - 50, 1);
}

}  // namespace

void layout_demo(App& app, int8_t mode) {
  Ui& ui = app.ui;
  if (select_window(ui, "win1") != 1) return;
  WindowRecord* record = current_window(ui);
  if (record == nullptr) return;
  const int32_t window = app.state.mainWindow;

  int16_t W = static_cast<int16_t>(tk_window_inner_width(window));
  int16_t H = static_cast<int16_t>(tk_window_inner_height(window));
  if (mode == 0 && W == record->width && H == record->height) return;

  // ---- minimum size: 1024 wide with the sidebar, 800 without; 710 high
  const bool sidebar = app.state.sidebarShown == 1;
  if (W < kMinWidth || (W < kMinWidthWithSidebar && sidebar) || H < kMinHeight) {
    if (W < kMinWidth) W = kMinWidth;
    if (W < kMinWidthWithSidebar && sidebar) W = kMinWidthWithSidebar;
    if (H < kMinHeight) H = kMinHeight;
    tk_resize_window(window, TK_KEEP, TK_KEEP, W, H);
  }
  // Judged on the size laid out now: when the returning sidebar widens the
  // window, the resize event that follows finds nothing changed, so the
  // icon bar must follow here.
  const bool sizeChanged = W != record->width || H != record->height;
  record->width = W;
  record->height = H;

  int16_t S = static_cast<int16_t>(tk_get_gadget_state(app.state.splitterGadget));
  // The centre's minimum holds: a window narrowed under a wide sidebar takes
  // the width from the sidebar first, down to the sidebar's own minimum.
  if (sidebar && mode != 2) {
    const int16_t fits = sidebar_that_fits(W, S);
    if (fits != S) place_splitter_bar(app, S = fits);
  }

  if (mode == 0 || mode == 1) {
    // ---- icon bar, anchored to the right edge
    if (sizeChanged) {
      resize_object(ui, "ImageIconbarBack", W, kKeep, 1);
      move_object(ui, "ImageIconbarMsgBack", (W - 300) / 2, kKeep, 1);
      move_object(ui, "StringSearch", W - 132, kKeep, 1);
      move_object(ui, "ButtonSearch", W - 160, kKeep, 1);
      move_object(ui, "ListIconSearchType", W - 150, kKeep, 1);
    }
    if (sidebar) layout_sidebar(ui, H, S);
  }
  layout_centre(app, W, H, S);
}

}  // namespace zui
