// The demonstration screen: "win1" with its menu and all named widgets in
// their initial state.
//
// Sections: helpers · window, fonts and menu · icon bar · sidebar · head area ·
// main area · splitter and search list · grid set-ups · build order.
#include <string>

#include "app/app.h"
#include "controls/controls.h"
#include "framework/framework.h"
#include "grid/grid.h"
#include "toolkit/tk.h"

namespace zui {

namespace {

constexpr int32_t kWindowFlags = TK_WINDOW_HIDDEN | TK_WINDOW_STANDARD;
constexpr int32_t kCentreBack = 236 + 233 * 256 + 216 * 65536;
constexpr int32_t kPanelBack = 0xFAFAFA;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kSidebarBack = 0xA9A9A9;

// Everything is positioned against the inner width read after opening.
struct Builder {
  App& app;
  Ui& ui;
  const SkinPieces& skin;
  int16_t W;

  void tooltip(const std::string& name, const std::string& text) {
    int32_t gadget = get_gadget(ui, name);
    tk_attach_tooltip(tk_gadget_handle(gadget), text, "");
  }
  void hide(const std::string& name) { show_object(ui, name, 0, 1); }
  void back(const std::string& name, int32_t colour) { set_color(ui, name, ColorSlot::Background, colour); }
  void label(const std::string& name, const std::string& text) {
    set_label(ui, name, text, 120, kPanelBack, 0);
  }
  void items(const std::string& name,
             std::initializer_list<std::pair<const char*, const char*>> entries) {
    for (const auto& [key, display] : entries) add_item(ui, name, key, display, 0, 0, -1);
  }
  void container(const std::string& name, int16_t x, int16_t y, int16_t w, int16_t h,
                 int32_t colour, const std::string& parent) {
    create_container(ui, name, x, y, w, h, 0, parent);
    back(name, colour);
  }
  void input(const std::string& name, int16_t x, int16_t y, int16_t w,
             const std::string& text, const std::string& caption,
             const std::string& parent) {
    create_input(ui, name, x, y, w, 20, text, 0, parent);
    label(name, caption);
  }
  void arrow_button(const std::string& name, int16_t x, int16_t y, int32_t created,
                    int32_t strip, const std::string& tip, const std::string& parent) {
    create_image_button_skinned(ui, name, x, y, created, parent);
    set_button_strip(ui, name, 16, strip);
    tooltip(name, tip);
  }
  // The set-up of an editable data grid runs with drawing held back.
  void begin_data_grid(const std::string& g) {
    set_attribute(ui, g, "REDRAW", "0", 1);
    set_attribute(ui, g, "KEYBOARDCONTROL", "1", 1);
    set_attribute(ui, g, "PERMANENTCURSOR", "1", 1);
    set_attribute(ui, g, "ENABLEINPUT", "1", 0);
  }
  // Column k takes the k-th input type ("0" none, "1" text).
  void input_types(const std::string& g, std::initializer_list<const char*> types) {
    int16_t column = 0;
    for (const char* type : types) set_column_attribute(ui, g, column++, "INPUTTYPE", type, 1);
  }

  void icon_bar();
  void sidebar();
  void head_area();
  void main_area();
  void splitter_and_search_list();
  void side_tree();
  void config_grid();
  void calc_grid();
};

// ---- icon bar ------------------------------------------------------------------
void Builder::icon_bar() {
  create_picture(ui, "ImageIconbarBack", 0, 0, 1200, 40, skin.SkinIconbarBack, "");

  create_image_button_skinned(ui, "ButtonSidebarExpCol", 5, 10, skin.SkinToggleShown, "");
  set_button_strip(ui, "ButtonSidebarExpCol", 90, skin.SkinToggleShown);
  tooltip("ButtonSidebarExpCol", "collapse / expand sidebar");
  set_expanded(ui, "ButtonSidebarExpCol", 1);

  create_picture(ui, "ImageIconbarMsgBack", 362, 7, 300, 26, skin.SkinMessageBack, "");

  // The search face shows a drop-down mark, so it must report clicks: a
  // skinned button without a strip stays one plain frame.
  create_image_button_skinned(ui, "ButtonSearch", W - 160, 9, skin.SkinSearchField, "");
  set_attribute(ui, "ButtonSearch", "HELPTEXT", "search type", 0);

  create_input(ui, "StringSearch", W - 132, 12, 110, 17, "search", TK_STRING_BORDERLESS, "");
  set_color(ui, "StringSearch", ColorSlot::Text, kPlaceholderGrey);
  tooltip("StringSearch", "enter a search word");
}

// ---- sidebar -------------------------------------------------------------------
void Builder::sidebar() {
  // Sizes and places are those the layout gives at the opening size, so that
  // the first layout (folding the sidebar away and back) moves no pixel.
  container("ContainerLeft", 0, 0, 220, 660, kSidebarBack, "");
  create_frame(ui, "FrameLeft", 5, 30, 210, 579, skin.SkinFrameSide, 20, "", "ContainerLeft");
  container("ContainerCases", 10, 35, 200, 569, kPanelBack, "ContainerLeft");
  create_grid(ui, "SideTreeCases", 10, 10, 180, 549, skin.SkinGridParts, 20, "ContainerCases");
  side_tree();
  container("ContainerCustomers", 10, 35, 200, 569, kWhite, "ContainerLeft");
  container("ContainerProducts", 10, 35, 200, 569, kWhite, "ContainerLeft");

  create_tab_bar(ui, "PanelSelect", 9, 9, 202, skin.SkinTabsGrey, 18, 0, "ContainerLeft");
  add_tab(ui, "PanelSelect", "TabCases", "Cases", "ContainerCases", 60);
  add_tab(ui, "PanelSelect", "TabCustomers", "Partners", "ContainerCustomers", 60);
  add_tab(ui, "PanelSelect", "TabProducts", "Products", "ContainerProducts", 60);

  create_image_button_skinned(ui, "ButtonSideBarAdd", 10, 619, skin.SkinSideAdd, "ContainerLeft");
  tooltip("ButtonSideBarAdd", "add new Case / search query");
  create_image_button_skinned(ui, "ButtonSideBarCopy", 50, 619, skin.SkinSideCopy,
                              "ContainerLeft");
  tooltip("ButtonSideBarCopy", "copy Case / search query");
  create_image_button_skinned(ui, "ButtonSideBarSync", 90, 619, skin.SkinSideSync,
                              "ContainerLeft");
  tooltip("ButtonSideBarSync", "sync Case / search query");
  create_image_button_skinned(ui, "ButtonSideBarBlank1", 130, 619, skin.SkinSideBlank1,
                              "ContainerLeft");
  create_image_button_skinned(ui, "ButtonSideBarBlank2", 170, 619, skin.SkinSideBlank2,
                              "ContainerLeft");
}

// ---- head area -----------------------------------------------------------------
void Builder::head_area() {
  container("ContainerCenter", 0, 0, 800, 660, kCentreBack, "");
  arrow_button("ButtonHeadExpCol", 9, 9, skin.SkinArrowDown, skin.SkinArrowDown,
               "collapse / expand head area", "ContainerCenter");
  set_expanded(ui, "ButtonHeadExpCol", 1);
  create_text(ui, "TextHeadLabel", 29, 9, 200, 20, "head area (collapsed)", 0,
              "ContainerCenter");
  hide("TextHeadLabel");
  back("TextHeadLabel", kCentreBack);

  container("ContainerHead", 29, 0, 800, 200, kCentreBack, "ContainerCenter");
  create_frame(ui, "FrameHead", 0, 30, 760, 165, skin.SkinFrameArea, 20, "", "ContainerHead");

  const std::string casePanel = "ContainerHeadPanelCase";
  container(casePanel, 5, 35, 750, 155, kPanelBack, "ContainerHead");
  input("InputHeadCaseNo", 148, 5, 210, "4711", "Case No.", casePanel);
  input("InputHeadCreator", 518, 5, 210, "RKB / 20.05.2007 16:20h", "Creator/Create-Date",
        casePanel);
  input("InputHeadCaseCaption", 148, 30, 580, "", "Case Caption", casePanel);
  create_combo(ui, "ComboHeadCaseType", 148, 55, 210, 100, "I", 0, casePanel);
  label("ComboHeadCaseType", "Case Type");
  items("ComboHeadCaseType",
        {{"I", "Inquiry"}, {"R", "Request"}, {"S", "Service"}, {"T", "Suggestion"}});
  create_combo(ui, "ComboHeadKeyAccount", 518, 55, 210, 100, "1", 0, casePanel);
  label("ComboHeadKeyAccount", "Resp. Person");
  items("ComboHeadKeyAccount", {{"1", "Mr. Tradesman"}, {"2", "Mrs. Nadia Market"}});
  create_combo(ui, "ComboHeadCasePhase", 148, 80, 210, 100, "1", 0, casePanel);
  label("ComboHeadCasePhase", "Case Phase");
  items("ComboHeadCasePhase",
        {{"1", "Initial/Request"}, {"2", "Offer"}, {"3", "Order"}, {"4", "Shipped"}});
  create_combo(ui, "ComboHeadCaseStatus", 518, 80, 210, 100, "1", 0, casePanel);
  label("ComboHeadCaseStatus", "Case Status");
  items("ComboHeadCaseStatus", {{"1", "Order got"}, {"2", "Order lost"}});

  container("ContainerHeadPanelCustomer", 5, 35, 750, 155, kPanelBack, "ContainerHead");
  input("InputHeadCustomer", 148, 5, 210, "4711", "Customer", "ContainerHeadPanelCustomer");
  // As wide as its sibling pages: 760 would reach over the frame's right edge
  // until the first resize.
  container("ContainerHeadPanelTexts", 5, 35, 750, 155, kPanelBack, "ContainerHead");
  input("InputHeadText", 148, 5, 210, "4711", "Head Text", "ContainerHeadPanelTexts");

  create_tab_bar(ui, "PanelHead", 4, 9, 750, skin.SkinTabsCream, 18, 0, "ContainerHead");
  tooltip("PanelHead", "show the case data, the customer data or the head texts");
  add_tab(ui, "PanelHead", "TabHeadGeneral", "Case Data", casePanel, 120);
  add_tab(ui, "PanelHead", "TabHeadCustomer", "Customer Data", "ContainerHeadPanelCustomer",
          120);
  add_tab(ui, "PanelHead", "TabHeadTexts", "Head Texts", "ContainerHeadPanelTexts", 120);
}

// ---- main area -----------------------------------------------------------------
void Builder::main_area() {
  arrow_button("ButtonMainExpCol", 9, 209, skin.SkinArrowTurn, skin.SkinArrowDown,
               "collapse / expand main area", "ContainerCenter");
  set_expanded(ui, "ButtonMainExpCol", 1);
  create_text(ui, "TextMainLabel", 29, 212, 200, 20, "main area (collapsed)", 0,
              "ContainerCenter");
  hide("TextMainLabel");
  back("TextMainLabel", kCentreBack);

  container("ContainerVersion", 29, 199, 800, 450, kCentreBack, "ContainerCenter");
  create_frame(ui, "FrameVersion", 0, 30, 760, 410, skin.SkinFrameArea, 20, "",
               "ContainerVersion");
  create_tab_bar(ui, "PanelVersion", 5, 9, 690, skin.SkinTabsCream, 18, 0, "ContainerVersion");
  // Both versions show the one data page, which is created further down.
  add_tab(ui, "PanelVersion", "TabVersion1", "Version 1", "ContainerVersionData", 108);
  add_tab(ui, "PanelVersion", "TabVersion2", "Version 2", "ContainerVersionData", 108);
  arrow_button("ButtonAddVersion", 700, 9, skin.SkinRoundAdd, skin.SkinRoundAdd,
               "add new version", "ContainerVersion");
  arrow_button("ButtonCopyVersion", 720, 9, skin.SkinRoundCopy, skin.SkinRoundCopy,
               "copy actual version", "ContainerVersion");
  arrow_button("ButtonCloseVersion", 740, 9, skin.SkinRoundClose, skin.SkinRoundClose,
               "remove actual version", "ContainerVersion");

  container("ContainerVersionData", 10, 39, 740, 395, kPanelBack, "ContainerVersion");
  create_frame(ui, "FrameVersionData", 0, 21, 740, 370, skin.SkinFrameData, 20, "",
               "ContainerVersionData");

  const std::string general = "ContainerVersionDataPanelGeneral";
  container(general, 5, 25, 730, 365, kPanelBack, "ContainerVersionData");
  create_frame(ui, "FrameVersionGeneral", 6, 8, 720, 190, skin.SkinFrameData, 20,
               "Version General", general);
  create_input(ui, "InputVersionCaption", 138, 35, 580, 20, "", 0, general);
  label("InputVersionCaption", "Version Caption");
  create_combo(ui, "ComboVersionType", 138, 60, 210, 100, "O", 0, general);
  label("ComboVersionType", "Version Type");
  items("ComboVersionType", {{"O", "Demo A"}, {"F", "Demo B"}});
  create_frame(ui, "FrameVersionOutbound", 6, 208, 720, 150, skin.SkinFrameData, 20,
               "Version Evaluation", general);
  // No item has the key "D": the combo starts without a selection.
  create_combo(ui, "ComboVersionDestCountry", 138, 235, 210, 100, "D", 0, general);
  items("ComboVersionDestCountry", {{"Y", "Yes"}, {"N", "No"}});
  label("ComboVersionDestCountry", "Evaluation");

  const std::string calc = "ContainerVersionDataPanelCalc";
  container(calc, 5, 25, 730, 365, kPanelBack, "ContainerVersionData");
  create_grid(ui, "GridVersionConfig", 6, 8, 700, 180, skin.SkinGridParts, 20, calc);
  config_grid();
  create_grid(ui, "GridVersionCalc", 6, 200, 700, 150, skin.SkinGridParts, 20, calc);
  calc_grid();

  create_tab_bar(ui, "PanelVersionData", 4, 0, 720, skin.SkinTabsWhite, 18, 0,
                 "ContainerVersionData");
  add_tab(ui, "PanelVersionData", "TabHeadGeneral", "General Version Data", general, 160);
  add_tab(ui, "PanelVersionData", "TabHeadCustomer", "grid matrix", calc, 160);
}

// ---- splitter and search list -----------------------------------------------------
void Builder::splitter_and_search_list() {
  app.state.splitterGadget = create_splitter(ui, "SplitterSideMain", 0, 40, 1024, 660,
                                             "ContainerLeft", "ContainerCenter", 220, 1, "");
  tk_set_gadget_attribute(app.state.splitterGadget, 1, kSidebarMinimum);
  tk_set_gadget_attribute(app.state.splitterGadget, 2, kCentreMinimum);

  create_list(ui, "ListIconSearchType", W - 150, 30, 110, 60, "A", 0, "");
  items("ListIconSearchType", {{"A", "Search all"},
                               {"P", "Search Cases"},
                               {"C", "Search Customers"},
                               {"M", "Search Products"},
                               {"H", "Search Program-Help"}});
  // As large as its entries need, so that none is cut or scrolled away.
  const int32_t list = get_gadget(ui, "ListIconSearchType");
  resize_object(ui, "ListIconSearchType",
                static_cast<int16_t>(tk_get_gadget_attribute(list, TK_LIST_FIT_WIDTH)),
                static_cast<int16_t>(tk_get_gadget_attribute(list, TK_LIST_FIT_HEIGHT)), 1);
  tooltip("ListIconSearchType", "select a search mode");
  hide("ListIconSearchType");
}

// ---- grid set-ups ----------------------------------------------------------------
void Builder::side_tree() {
  const std::string g = "SideTreeCases";
  set_attribute(ui, g, "REDRAW", "0", 1);
  set_attribute(ui, g, "GRIDH", "0", 1);
  set_attribute(ui, g, "GRIDV", "0", 1);
  set_attribute(ui, g, "KEYBOARDCONTROL", "0", 1);
  set_attribute(ui, g, "SELFRONTCOLOR", std::to_string(16777215), 1);
  set_attribute(ui, g, "BORDERLESS", "1", 1);
  set_attribute(ui, g, "PERMANENTCURSOR", "1", 1);
  add_column(ui, g, -1, "", 172, 0, 0, 0, "", 1);

  struct TreeRow {
    int8_t height;
    int8_t level;
    const char* text;
    int8_t attributes;  // 0 none, 1 first group head, 2 locked spacer, 3 later group head
  };
  static constexpr TreeRow kRows[] = {
      {20, 0, "Case No. 4711", 1}, {20, 1, "Issues", 0},        {20, 1, "Workflows", 0},
      {20, 1, "Documents", 0},     {10, 0, "", 2},              {20, 0, "Case Database", 3},
      {20, 1, "New Case", 0},      {20, 1, "Find Case", 0},     {10, 0, "", 2},
      {20, 0, "My Queries", 3},    {20, 1, "My Open Tasks", 0}, {20, 1, "My Open Cases", 0},
      {20, 2, "Case No. 4712", 0}, {20, 2, "Case No. 4713", 0},
  };
  int16_t row = 0;
  for (const TreeRow& r : kRows) {
    add_row(ui, g, -1, "", r.height, r.level, r.text, "", 1);
    if (r.attributes == 2) set_row_attribute(ui, g, row, "LOCK", "1", 1);
    if (r.attributes == 3) set_row_attribute(ui, g, row, "VORIENTATION", "1", 1);
    if (r.attributes == 1 || r.attributes == 3) set_row_attribute(ui, g, row, "ISPARENT", "64", 1);
    ++row;
  }
  set_cursor(ui, g, 0, 0, -1);
  set_attribute(ui, g, "REDRAW", "1", 1);
}

void Builder::config_grid() {
  const std::string g = "GridVersionConfig";
  begin_data_grid(g);
  add_column(ui, g, 0, "entity", 100, 2, 0, 0, "", -1);
  add_column(ui, g, 1, "class", 250, 2, 0, 0, "", -1);
  add_column(ui, g, 2, "property", 90, 0, 1, 0, "", -1);
  add_column(ui, g, 3, "comment (editable)", 200, 0, 1, 0, "", -1);

  struct ConfigRow {
    int8_t level;
    const char* cells;
  };
  static constexpr ConfigRow kRows[] = {
      {0, "test\n[parent]\n\n"},        {1, "test\nA\n[parent]\n"},
      {2, "test\nA\nchair\nNo comment"}, {2, "test\nA\ntable\nNo comment"},
      {1, "test\nB\n[parent]\n"},       {2, "test\nB\nchair\nNo comment"},
      {2, "test\nB\ntable\nNo comment"}, {0, "test2\n[parent]\n\n"},
      {1, "test2\nA\n[parent]\n"},      {2, "test2\nA\nchair\nNo comment"},
      {2, "test2\nA\ntable\nNo comment"}, {1, "test2\nB\n[parent]\n"},
      {2, "test2\nB\nchair\nNo comment"}, {2, "test2\nB\ntable\nNo comment"},
  };
  for (const ConfigRow& r : kRows) add_row(ui, g, -1, "", 20, r.level, r.cells, "1", 0);

  input_types(g, {"0", "0", "0", "1"});
  set_attribute(ui, g, "REDRAW", "1", 1);
}

void Builder::calc_grid() {
  const std::string g = "GridVersionCalc";
  begin_data_grid(g);
  add_column(ui, g, 0, "col A (locked)", 100, 2, 0, 0, "", -1);
  add_column(ui, g, 1, "col B", 100, 0, 0, 0, "", -1);
  add_column(ui, g, 2, "col C (right)", 100, 1, 1, 0, "", -1);
  input_types(g, {"0", "1", "1"});
  for (int i = 1; i <= 5; ++i) {
    const std::string n = std::to_string(i);
    add_row(ui, g, -1, "row " + n, 20, 0, "cell A" + n + "\ncell B" + n + "\ncell C" + n, "1",
            0);
  }
  set_attribute(ui, g, "SCOLLBARY", "1", 1);
  set_attribute(ui, g, "REDRAW", "1", 1);
}

}  // namespace

// ---- build order -------------------------------------------------------------------
int32_t build_demo_screen(App& app) {
  Ui& ui = app.ui;
  const int32_t window =
      create_window(ui, "win1", 220, 11, 1024, 710, "ZELMO ZUI-Demo", kWindowFlags);
  app.state.mainWindow = window;
  if (window == 0) return 0;

  const int16_t W = static_cast<int16_t>(tk_window_inner_width(window));

  set_window_font(ui, "MS Sans Serif", 8, 0);
  app.state.messageFont = tk_load_font(-1, "MS Sans Serif", 8, TK_FONT_BOLD);

  const int32_t handle = tk_window_handle(window);
  if (tk_create_menu_bar(-1, handle) != 0) {
    tk_add_menu_title("Program");
    tk_add_menu_item(kQuitMenuItem, "&Quit");
  }
  if (tk_use_window_as_parent(handle) == 0) return 0;

  // Each object is drawn once, when the screen stands, and those on hidden
  // pages when their page first shows.
  hold_drawings(ui, true);
  Builder b{app, ui, app.state.skin, W};
  b.icon_bar();
  b.sidebar();
  b.head_area();
  b.main_area();
  b.splitter_and_search_list();
  hold_drawings(ui, false);

  tk_hide_window(window, 0);
  return 1;
}

}  // namespace zui
