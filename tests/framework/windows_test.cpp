// Window operations by name and the object hierarchy: keep-markers for
// unchanged geometry, live update and refresh, closing, absolute positions
// and the descendant test.
#include <QWidget>

#include "support/framework_fixtures.h"
#include "toolkit/tk_native.h"

using namespace zui;

using fwtest::FrameworkTest;

TEST_F(FrameworkTest, MoveAndResizeLeaveUnchangedValuesToTheUser) {
  // The user moved and resized the window since the framework last set it.
  tk_resize_window(window, 300, 250, 500, 400);
  ASSERT_EQ(tk_window_x(window), 300);

  EXPECT_EQ(move_window(ui, "Main", 10, 20), 0);  // the stored position
  EXPECT_EQ(tk_window_x(window), 300);
  EXPECT_EQ(tk_window_y(window), 250);
  move_window(ui, "Main", 10, 40);
  EXPECT_EQ(tk_window_x(window), 300);
  EXPECT_EQ(tk_window_y(window), 40);
  EXPECT_EQ(win("Main")->y, 40);

  resize_window(ui, "Main", 800, 300);
  EXPECT_EQ(tk_window_inner_width(window), 500);
  EXPECT_EQ(tk_window_inner_height(window), 300);
  EXPECT_EQ(win("Main")->width, 800);
  EXPECT_EQ(win("Main")->height, 300);

  EXPECT_EQ(move_window(ui, "Ghost", 1, 1), 0);
  EXPECT_EQ(tk_window_y(window), 40);
  EXPECT_EQ(activate_window(ui, "Main"), 1);
  EXPECT_EQ(activate_window(ui, "Ghost"), 0);
}

TEST_F(FrameworkTest, LiveUpdateOnReappliesWhatChangedMeanwhile) {
  create_input(ui, "Text", 0, 0, 50, 20, "old", 0, "");
  create_input(ui, "Hidden", 0, 30, 50, 20, "", 0, "");
  create_input(ui, "Never", 0, 60, 50, 20, "", 0, "");
  create_input(ui, "Moved", 0, 90, 50, 20, "", 0, "");
  create_check_box(ui, "Check", 0, 120, 80, 20, 1, "Caption", 0, "");
  create_input(ui, "Last", 0, 150, 50, 20, "", 0, "");

  set_live_update(ui, "Main", 2);
  EXPECT_EQ(win("Main")->liveUpdate, 2);
  set_live_update(ui, "Main", 0);
  set_text(ui, "Text", "new", 0);
  show_object(ui, "Hidden", 0, 0);
  tk_hide_gadget(obj("Never")->gadget, 1);
  tk_resize_gadget(obj("Moved")->gadget, 99, 98, 10, 11);
  tk_set_gadget_state(obj("Check")->gadget, 0);
  EXPECT_EQ(tk_get_gadget_text(obj("Text")->gadget), "old");
  EXPECT_FALSE(tk_gadget_widget(obj("Hidden")->gadget)->isHidden());

  make_current(ui, obj("Last"));
  set_live_update(ui, "Main", 1);
  EXPECT_EQ(tk_get_gadget_text(obj("Text")->gadget), "new");
  EXPECT_TRUE(tk_gadget_widget(obj("Hidden")->gadget)->isHidden());
  EXPECT_FALSE(tk_gadget_widget(obj("Never")->gadget)->isHidden());
  const int32_t moved = obj("Moved")->gadget;
  EXPECT_EQ(tk_gadget_x(moved), 0);
  EXPECT_EQ(tk_gadget_y(moved), 90);
  EXPECT_EQ(tk_gadget_width(moved), 50);
  EXPECT_EQ(tk_gadget_height(moved), 20);
  // A check box gets its state back, its caption stays.
  EXPECT_EQ(tk_get_gadget_state(obj("Check")->gadget), 1);
  EXPECT_EQ(tk_get_gadget_text(obj("Check")->gadget), "Caption");
  EXPECT_EQ(current_object(ui), obj("Last"));
}

TEST_F(FrameworkTest, RefreshKeepsUnselectedTabPagesHiddenAndComboListsTall) {
  const int32_t source = fwtest::make_strip(11, 19, 22);
  create_container(ui, "PageA", 0, 30, 300, 200, 0, "");
  create_combo(ui, "ComboA", 10, 10, 120, 150, "", 0, "PageA");
  create_container(ui, "PageB", 0, 30, 300, 200, 0, "");
  create_input(ui, "InputB", 10, 10, 120, 20, "", 0, "PageB");
  create_tab_bar(ui, "Tabs", 0, 0, 300, source, 18, 0, "");
  add_tab(ui, "Tabs", "A", "A", "PageA", 0);
  add_tab(ui, "Tabs", "B", "B", "PageB", 0);
  QWidget* client = tk_window_client(window);
  auto shows = [&](const char* name) {
    return tk_gadget_widget(obj(name)->gadget)->isVisibleTo(client);
  };

  set_live_update(ui, "Main", 0);
  set_live_update(ui, "Main", 1);
  EXPECT_TRUE(shows("PageA"));
  EXPECT_FALSE(shows("PageB"));
  EXPECT_FALSE(shows("InputB"));
  EXPECT_EQ(obj("ComboA")->height, 20);
  EXPECT_EQ(tk_gadget_height(obj("ComboA")->gadget), 150);

  select_tab(ui, "Tabs", 1, 1);
  refresh_window(ui, "Main");
  EXPECT_FALSE(shows("PageA"));
  EXPECT_TRUE(shows("PageB"));
  EXPECT_TRUE(shows("InputB"));
  tk_free_image(source);
}

TEST_F(FrameworkTest, CloseWindowFreesItsObjectsAndRecord) {
  const int32_t strip = fwtest::make_strip(5, 16, 16);
  const int32_t source = fwtest::make_strip(9, 18, 22);
  create_input(ui, "Stays", 0, 0, 50, 20, "", 0, "");
  const int32_t second = create_window(ui, "Second", 0, 0, 400, 300, "", fwtest::kHiddenWindow);
  create_combo(ui, "Combo", 0, 0, 100, 100, "", 0, "");
  add_item(ui, "Combo", "a", "A", 0, 0, -1);
  create_image_button_skinned(ui, "Button", 0, 30, strip, "");
  set_button_strip(ui, "Button", 16, strip);
  create_tab_bar(ui, "Tabs", 0, 60, 300, source, 18, 0, "");
  add_tab(ui, "Tabs", "T", "T", "", 0);
  std::vector<int32_t> gadgets;
  for (const char* n : {"Combo", "Button", "Tabs"}) gadgets.push_back(obj(n)->gadget);
  const int32_t shown = button_record(*obj("Button"))->shownImage;
  const int32_t canvas = obj("Tabs")->canvas->canvasImage;

  select_window(ui, "Main");
  EXPECT_EQ(close_window(ui, "Second"), 0);
  EXPECT_EQ(order(), "Stays");
  EXPECT_EQ(win("Second"), nullptr);
  EXPECT_EQ(current_window(ui), nullptr);  // it was the first record
  for (int32_t g : gadgets) EXPECT_EQ(tk_gadget_exists(g), 0);
  EXPECT_EQ(tk_image_exists(shown), 0);
  EXPECT_EQ(tk_image_exists(canvas), 0);
  EXPECT_NE(tk_image_exists(strip), 0);
  EXPECT_NE(tk_image_exists(source), 0);
  EXPECT_EQ(tk_window_handle(second), 0);

  EXPECT_EQ(select_window(ui, "Main"), 1);
  EXPECT_EQ(find_object(ui, "Stays", 0), 1);
  EXPECT_EQ(close_window(ui, "Ghost"), 0);
  EXPECT_NE(win("Main"), nullptr);
  tk_free_image(strip);
  tk_free_image(source);
}

TEST_F(FrameworkTest, AbsolutePositionsFollowDownTheSubtree) {
  create_container(ui, "Box", 10, 10, 300, 300, 0, "");
  create_container(ui, "Child", 5, 5, 100, 100, 0, "Box");
  create_input(ui, "Grandchild", 1, 1, 50, 20, "", 0, "Child");
  create_input(ui, "Other", 0, 0, 50, 20, "", 0, "");

  set_absolute_position(ui, "Box", -1, 50);
  EXPECT_EQ(obj("Box")->absX, 10);
  EXPECT_EQ(obj("Box")->absY, 50);
  EXPECT_EQ(obj("Child")->absX, 15);
  EXPECT_EQ(obj("Child")->absY, 55);
  EXPECT_EQ(obj("Grandchild")->absX, 16);
  EXPECT_EQ(obj("Grandchild")->absY, 56);
  EXPECT_EQ(obj("Other")->absY, 0);
  EXPECT_EQ(current_object(ui), obj("Box"));
  // The gadget itself does not move.
  EXPECT_EQ(tk_gadget_y(obj("Box")->gadget), 10);

  update_child_positions(ui, "Child", 100, 200);
  EXPECT_EQ(obj("Grandchild")->absX, 101);
  EXPECT_EQ(obj("Grandchild")->absY, 201);
  EXPECT_EQ(obj("Child")->absX, 15);

  // The scan ends with the window's group: an object of the older window
  // that happens to name the newer window's box as parent is left alone.
  create_input(ui, "Stranger", 3, 3, 50, 20, "", 0, "");
  obj("Stranger")->parentName = "NewBox";
  create_window(ui, "Newer", 0, 0, 300, 300, "", fwtest::kHiddenWindow);
  create_container(ui, "NewBox", 0, 0, 50, 50, 0, "");
  create_input(ui, "NewChild", 2, 2, 20, 20, "", 0, "NewBox");
  set_absolute_position(ui, "NewBox", 300, 300);
  EXPECT_EQ(obj("NewChild")->absX, 302);
  EXPECT_EQ(obj("Stranger")->absX, 3);
}

TEST_F(FrameworkTest, DescendantTestWalksTheParentChain) {
  create_container(ui, "ContainerLeft", 0, 0, 300, 300, 0, "");
  create_container(ui, "Mid", 0, 0, 100, 100, 0, "ContainerLeft");
  create_input(ui, "Leaf", 0, 0, 50, 20, "", 0, "Mid");
  create_container(ui, "Temp", 0, 0, 100, 100, 0, "");
  create_container(ui, "Mid2", 0, 0, 100, 100, 0, "Temp");
  create_input(ui, "Leaf2", 0, 0, 50, 20, "", 0, "Mid2");
  remove_object(ui, "Temp", 0);

  make_current(ui, obj("Leaf"));
  EXPECT_EQ(is_descendant(ui, "ContainerLeft"), 1);
  EXPECT_EQ(current_object(ui), obj("Leaf"));
  EXPECT_EQ(is_descendant(ui, "Leaf2"), 0);
  make_current(ui, obj("ContainerLeft"));
  EXPECT_EQ(is_descendant(ui, "ContainerLeft"), 0);

  make_current(ui, obj("Leaf2"));
  EXPECT_EQ(is_descendant(ui, "ContainerLeft"), 0);
  EXPECT_EQ(current_object(ui), obj("Leaf2"));

  // A name cycle ends instead of recursing for ever.
  obj("Mid")->parentName = "Leaf";
  make_current(ui, obj("Leaf"));
  EXPECT_EQ(is_descendant(ui, "Nowhere"), 0);
}

TEST_F(FrameworkTest, UserDataIsKeptPerObject) {
  create_input(ui, "A", 0, 0, 50, 20, "", 0, "");
  create_input(ui, "B", 0, 30, 50, 20, "", 0, "");
  set_user_data(ui, "A", 42);
  set_user_data(ui, "B", -7);
  EXPECT_EQ(obj("A")->userData, 42);
  EXPECT_EQ(obj("B")->userData, -7);
  EXPECT_EQ(current_object(ui), obj("B"));
  EXPECT_EQ(get_number(ui, "A"), 1);
  EXPECT_EQ(get_gadget(ui, "B"), obj("B")->gadget);
}

TEST_F(FrameworkTest, ObjectGivenWalksLeaveTheCurrentObjectAlone) {
  create_container(ui, "Box", 10, 10, 300, 300, 0, "");
  create_container(ui, "Child", 5, 5, 100, 100, 0, "Box");
  create_input(ui, "Leaf", 1, 1, 50, 20, "", 0, "Child");
  create_input(ui, "Other", 0, 0, 50, 20, "", 0, "");

  // Whatever is current, nothing below moves it; nullptr (no object current)
  // included.
  for (NamedObject* remembered : {obj("Other"), static_cast<NamedObject*>(nullptr)}) {
    make_current(ui, remembered);
    EXPECT_EQ(lookup_object(ui, "Leaf"), obj("Leaf"));
    EXPECT_EQ(lookup_object(ui, "Nobody"), nullptr);
    EXPECT_EQ(is_descendant_of(ui, *obj("Leaf"), "Box"), 1);
    EXPECT_EQ(is_descendant_of(ui, *obj("Other"), "Box"), 0);
    place_absolute(ui, *obj("Box"), -1, 40);
    EXPECT_EQ(obj("Leaf")->absY, 46);
    place_children(ui, *obj("Child"), 100, 200);
    EXPECT_EQ(obj("Leaf")->absX, 101);
    propagate_visibility(ui, "Box", 0, 0);
    EXPECT_EQ(obj("Leaf")->visible, 0);
    propagate_visibility(ui, "Box", 1, 0);
    EXPECT_EQ(current_object(ui), remembered);
  }
}
