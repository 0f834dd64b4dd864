// Widget creation: per-kind set-up, image checks, the splitter's children,
// editor lines, tabs and the window record.
#include <QWidget>

#include "controls/controls.h"
#include "grid/grid_records.h"
#include "support/framework_fixtures.h"
#include "toolkit/tk_native.h"

using namespace zui;

using fwtest::FrameworkTest;

TEST_F(FrameworkTest, WindowCreationFillsItsRecord) {
  ASSERT_NE(window, 0);
  WindowRecord* w = win("Main");
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w, current_window(ui));
  EXPECT_EQ(w->windowNumber, window);
  EXPECT_EQ(w->handle, tk_window_handle(window));
  EXPECT_NE(w->handle, 0);
  EXPECT_EQ(w->x, 10);
  EXPECT_EQ(w->width, 800);
  EXPECT_EQ(w->flags, fwtest::kHiddenWindow);
  EXPECT_EQ(w->liveUpdate, 1);
  EXPECT_EQ(w->objectCount, 0);
}

TEST_F(FrameworkTest, StandardGadgetsKeepTheirValueAsText) {
  ASSERT_NE(create_combo(ui, "Combo", 10, 10, 120, 150, "", 0, ""), 0);
  NamedObject* combo = obj("Combo");
  EXPECT_EQ(combo->height, 20);
  EXPECT_EQ(combo->dropHeight, 150);
  EXPECT_EQ(tk_gadget_height(combo->gadget), 150);
  EXPECT_EQ(combo->kind, Kind::Combo);
  EXPECT_TRUE(combo->itemData);

  ASSERT_NE(create_check_box(ui, "Check", 10, 40, 120, 20, 1, "Urgent", 0, ""), 0);
  EXPECT_EQ(obj("Check")->text, "1");
  EXPECT_EQ(tk_get_gadget_state(obj("Check")->gadget), 1);

  ASSERT_NE(create_input(ui, "Input", 10, 70, 120, 20, "typed", 0, ""), 0);
  EXPECT_EQ(obj("Input")->text, "typed");
  EXPECT_EQ(tk_get_gadget_text(obj("Input")->gadget), "typed");

  // Labels and push buttons show their text but do not keep it.
  ASSERT_NE(create_text(ui, "Label", 10, 100, 120, 20, "Caption", 0, ""), 0);
  EXPECT_EQ(obj("Label")->text, "");
  EXPECT_EQ(tk_get_gadget_text(obj("Label")->gadget), "Caption");

  ASSERT_NE(create_scroll_bar(ui, "Bar", 300, 0, 16, 200, 0, 100, 10, 1, ""), 0);
  ASSERT_TRUE(obj("Bar")->scrollBarData);
  EXPECT_EQ(obj("Bar")->scrollBarData->maximum, 100);
  EXPECT_EQ(obj("Bar")->scrollBarData->pageLength, 10);
  EXPECT_EQ(obj("Bar")->scrollBarData->vertical, 1);

  ASSERT_NE(create_scroll_area(ui, "Area", 400, 0, 100, 100, 500, 600, 0, ""), 0);
  EXPECT_EQ(obj("Area")->scrollAreaData->innerHeight, 600);
  // The area's gadget list was closed again: the next gadget is a sibling.
  ASSERT_NE(create_input(ui, "After", 0, 300, 50, 20, "", 0, ""), 0);
  QWidget* area = tk_gadget_widget(obj("Area")->gadget);
  QWidget* after = tk_gadget_widget(obj("After")->gadget);
  ASSERT_TRUE(area && after);
  EXPECT_FALSE(area->isAncestorOf(after));
}

TEST_F(FrameworkTest, ImageKindsRefuseInvalidImagesAndTakeValidOnesSizes) {
  const int32_t strip = fwtest::make_strip(5, 20, 18);
  EXPECT_EQ(create_image_button_skinned(ui, "Skinned", 0, 0, 0, ""), 0);
  EXPECT_EQ(create_image_button(ui, "Image", 0, 0, 10, 10, 987654, ""), 0);
  EXPECT_EQ(create_picture(ui, "Picture", 0, 0, 10, 10, -1, ""), 0);
  EXPECT_EQ(create_stretch_button(ui, "Stretch", 0, 0, 80, "Go", 0, 4, 0, ""), 0);
  EXPECT_EQ(registry_size(), 0);

  ASSERT_NE(create_image_button_skinned(ui, "Skinned", 5, 6, strip, ""), 0);
  NamedObject* b = obj("Skinned");
  EXPECT_EQ(b->width, 100);
  EXPECT_EQ(b->height, 18);
  ASSERT_TRUE(button_record(*b));
  EXPECT_EQ(button_record(*b)->stripImage, strip);

  ASSERT_NE(create_stretch_button(ui, "Stretch", 0, 40, 80, "Go", strip, 4, 1, ""), 0);
  NamedObject* s = obj("Stretch");
  EXPECT_EQ(s->width, 80);
  EXPECT_EQ(s->height, 18);
  EXPECT_EQ(s->caption, "Go");
  ASSERT_TRUE(stretch_record(*s));
  EXPECT_EQ(stretch_record(*s)->edgeWidth, 4);
  EXPECT_EQ(stretch_record(*s)->toggleMode, ToggleMode::Toggle);
  EXPECT_EQ(stretch_record(*s)->frameWidth, 0);

  ASSERT_NE(create_picture(ui, "Picture", 0, 80, 10, 10, strip, ""), 0);
  EXPECT_EQ(obj("Picture")->kind, Kind::Picture);
  tk_free_image(strip);
}

TEST_F(FrameworkTest, CanvasKindsGetTheirRecords) {
  const int32_t source = fwtest::make_strip(9, 18, 22);
  ASSERT_NE(create_tab_bar(ui, "Tabs", 0, 0, 400, source, 0, 1, ""), 0);
  NamedObject* bar = obj("Tabs");
  EXPECT_EQ(bar->height, 22);
  ASSERT_TRUE(tab_bar_record(*bar) && bar->canvas);
  EXPECT_EQ(tab_bar_record(*bar)->pieceWidth, 18);
  EXPECT_EQ(tab_bar_record(*bar)->equalWidths, 1);
  EXPECT_EQ(bar->canvas->sourceImage, source);
  EXPECT_EQ(tk_image_width(bar->canvas->canvasImage), 400);
  EXPECT_EQ(tk_image_height(bar->canvas->canvasImage), 22);

  ASSERT_NE(create_frame(ui, "Frame", 0, 40, 200, 100, source, 6, "Case", ""), 0);
  EXPECT_EQ(obj("Frame")->visible, -2);
  EXPECT_EQ(obj("Frame")->caption, "Case");
  EXPECT_EQ(obj("Frame")->canvas->iconSize, 6);

  ASSERT_NE(create_grid(ui, "Grid", 0, 200, 300, 100, source, 20, ""), 0);
  ASSERT_TRUE(grid_record(*obj("Grid")));
  EXPECT_EQ(grid_record(*obj("Grid"))->gridColor, 0x5E5E5E);
  EXPECT_EQ(obj("Grid")->canvas->iconSize, 20);

  // The picture container shows a stretched copy; the caller's image keeps
  // its size for the other widgets that show it.
  ASSERT_NE(create_picture_container(ui, "Back", 0, 350, 300, 50, source, ""), 0);
  CanvasRecord* c = obj("Back")->canvas.get();
  ASSERT_TRUE(c);
  EXPECT_NE(tk_gadget_exists(c->pictureGadget), 0);
  EXPECT_EQ(tk_gadget_width(c->pictureGadget), 300);
  EXPECT_EQ(tk_image_width(source), 162);
  ASSERT_NE(create_input(ui, "InBack", 3, 4, 50, 20, "", 0, "Back"), 0);
  EXPECT_EQ(obj("InBack")->absY, 354);
}

TEST_F(FrameworkTest, SplitterPlacesItsChildrenBehindTheBar) {
  create_container(ui, "Left", 0, 0, 200, 600, 0, "");
  create_container(ui, "Right", 0, 0, 600, 600, 0, "");
  create_input(ui, "RightInput", 10, 20, 50, 20, "", 0, "Right");
  create_container(ui, "RightBox", 30, 40, 100, 100, 0, "Right");
  create_input(ui, "Deep", 1, 2, 50, 20, "", 0, "RightBox");

  ASSERT_NE(create_splitter(ui, "Split", 0, 0, 800, 600, "Left", "Right", 200, 1, ""), 0);
  NamedObject* s = obj("Split");
  EXPECT_EQ(current_object(ui), s);
  EXPECT_EQ(s->visible, -2);
  ASSERT_TRUE(splitter_record(*s));
  EXPECT_EQ(splitter_record(*s)->secondName, "Right");
  EXPECT_EQ(splitter_record(*s)->vertical, 1);
  EXPECT_EQ(tk_get_gadget_state(s->gadget), 200);
  EXPECT_EQ(obj("Right")->absX, 205);
  EXPECT_EQ(obj("Right")->absY, 0);
  EXPECT_EQ(obj("RightInput")->absX, 215);
  EXPECT_EQ(obj("Deep")->absX, 236);
  EXPECT_EQ(obj("Deep")->absY, 42);

  // Horizontal bar inside a container: positions follow the splitter's own
  // window coordinates.
  create_container(ui, "Holder", 100, 50, 400, 400, 0, "");
  create_container(ui, "Top", 0, 0, 400, 100, 0, "Holder");
  create_container(ui, "Bottom", 0, 0, 400, 300, 0, "Holder");
  ASSERT_NE(create_splitter(ui, "HSplit", 0, 10, 400, 390, "Top", "Bottom", 80, 0, "Holder"),
            0);
  EXPECT_EQ(obj("Top")->absX, 100);
  EXPECT_EQ(obj("Top")->absY, 60);
  EXPECT_EQ(obj("Bottom")->absX, 100);
  EXPECT_EQ(obj("Bottom")->absY, 60 + 80 + 5);

  // A missing child leaves the splitter registered without a gadget.
  EXPECT_EQ(create_splitter(ui, "Broken", 0, 0, 10, 10, "Left", "Nowhere", 5, 1, ""), 0);
  ASSERT_NE(obj("Broken"), nullptr);
  EXPECT_EQ(obj("Broken")->gadget, 0);
  EXPECT_FALSE(splitter_record(*obj("Broken")));
}

// A splitter placed inside one of its own children (or their descendants)
// would make that child its own ancestor; it is refused like a missing child.
TEST_F(FrameworkTest, SplitterInsideItsOwnChildIsRefused) {
  create_container(ui, "Outer", 10, 10, 300, 300, 0, "");
  create_container(ui, "Inner", 5, 5, 200, 200, 0, "Outer");
  create_container(ui, "Other", 0, 0, 100, 100, 0, "");
  EXPECT_EQ(create_splitter(ui, "Loop", 0, 0, 100, 100, "Outer", "Other", 20, 1, "Outer"), 0);
  EXPECT_EQ(create_splitter(ui, "Deep", 0, 0, 100, 100, "Other", "Outer", 20, 0, "Inner"), 0);
  for (const char* name : {"Loop", "Deep"}) {
    ASSERT_NE(obj(name), nullptr);
    EXPECT_EQ(obj(name)->gadget, 0);
    EXPECT_FALSE(splitter_record(*obj(name)));
  }
  // The children keep their places and their gadgets.
  EXPECT_EQ(obj("Outer")->absX, 10);
  EXPECT_EQ(obj("Other")->absY, 0);
  EXPECT_EQ(tk_gadget_x(obj("Outer")->gadget), 10);
  EXPECT_TRUE(tk_gadget_exists(obj("Other")->gadget));
}

TEST(FrameworkEditor, LinesKeepTheirTerminators) {
  using V = std::vector<std::string>;
  EXPECT_EQ(split_editor_lines("one\ntwo"), (V{"one\n", "two"}));
  EXPECT_EQ(split_editor_lines("one\r\ntwo"), (V{"one\r", "\n", "two"}));
  EXPECT_EQ(split_editor_lines("a\rb\n"), (V{"a\r", "b\n"}));
  EXPECT_EQ(split_editor_lines("\n\n"), (V{"\n", "\n"}));
  EXPECT_EQ(split_editor_lines("single"), (V{"single"}));
  EXPECT_EQ(split_editor_lines(""), V{});
}

TEST_F(FrameworkTest, EditorKeepsItsTextAndRegistersAsInput) {
  ASSERT_NE(create_editor(ui, "Notes", 0, 0, 300, 200, "one\ntwo", 0, ""), 0);
  EXPECT_EQ(obj("Notes")->kind, Kind::Input);
  EXPECT_EQ(obj("Notes")->text, "one\ntwo");
  EXPECT_EQ(current_object(ui), obj("Notes"));
  EXPECT_EQ(get_text(ui, "Notes"), "one\ntwo");
}

TEST_F(FrameworkTest, TabsMeasureTheirWidthAndSelectTheFirstPage) {
  const int32_t source = fwtest::make_strip(9, 18, 22);
  create_tab_bar(ui, "Tabs", 0, 0, 700, source, 18, 0, "");
  create_container(ui, "PageA", 0, 22, 300, 100, 0, "");
  create_input(ui, "OnA", 0, 0, 50, 20, "", 0, "PageA");
  create_container(ui, "PageB", 0, 22, 300, 100, 0, "");
  create_input(ui, "OnB", 0, 0, 50, 20, "", 0, "PageB");

  const std::string longCaption = "A caption that is certainly wider than a tab";
  tk_start_drawing(tk_image_output(obj("Tabs")->canvas->canvasImage));
  const int32_t captionWidth = tk_text_width(longCaption);
  tk_stop_drawing();
  ASSERT_GT(captionWidth + 36, 108);

  EXPECT_EQ(add_tab(ui, "Tabs", "TabA", "A", "PageA", 30), 0);
  EXPECT_EQ(add_tab(ui, "Tabs", "TabB", longCaption, "PageB", 60), 0);
  add_tab(ui, "Tabs", "TabC", "C", "", 200);
  add_tab(ui, "Tabs", "TabA2", "A again", "PageA", 0);  // shares the shown page
  TabBarRecord& tabs = *tab_bar_record(*obj("Tabs"));
  ASSERT_EQ(tabs.tabCount, 4);
  EXPECT_EQ(tabs.tabs[0].width, 108);
  EXPECT_EQ(tabs.tabs[1].width, captionWidth + 36);
  EXPECT_EQ(tabs.tabs[2].width, 200);
  EXPECT_EQ(tabs.tabs[1].pageGadget, obj("PageB")->gadget);
  EXPECT_EQ(obj("Tabs")->text, "TabA");
  EXPECT_EQ(tabs.selectedIndex, 0);
  EXPECT_EQ(obj("OnA")->visible, 1);
  EXPECT_FALSE(tk_gadget_widget(obj("PageA")->gadget)->isHidden());
  EXPECT_EQ(obj("PageB")->visible, -1);
  EXPECT_EQ(obj("OnB")->visible, -1);
  EXPECT_EQ(current_object(ui), obj("Tabs"));

  // Tabs only go to tab bars.
  EXPECT_EQ(add_tab(ui, "PageA", "X", "X", "", 0), 0);
  EXPECT_EQ(add_tab(ui, "Ghost", "X", "X", "", 0), 0);
  EXPECT_FALSE(tab_bar_record(*obj("PageA")));
  EXPECT_EQ(tabs.tabCount, 4);
  tk_free_image(source);
}
