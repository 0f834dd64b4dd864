// Registry of named objects and window records: registration, lookups and
// the current position they leave, window selection and the removals.
#include <QWidget>

#include "controls/controls.h"
#include "grid/grid.h"
#include "support/framework_fixtures.h"
#include "toolkit/tk_native.h"

using namespace zui;

using fwtest::FrameworkTest;

TEST_F(FrameworkTest, RegistrationRefusesDuplicatesAndNamesUntitledObjects) {
  ASSERT_NE(create_input(ui, "Name", 10, 10, 100, 20, "first", 0, ""), 0);
  const int32_t gadget = obj("Name")->gadget;
  EXPECT_EQ(create_input(ui, "Name", 50, 50, 10, 10, "second", 0, ""), 0);
  EXPECT_EQ(register_object(ui, "Name", Kind::Label, 0, 0, 1, 1, ""), 0);
  EXPECT_EQ(registry_size(), 1);
  EXPECT_EQ(obj("Name")->text, "first");
  EXPECT_EQ(obj("Name")->x, 10);
  EXPECT_EQ(obj("Name")->gadget, gadget);

  // Names are compared byte by byte: other case is another name.
  EXPECT_EQ(register_object(ui, "name", Kind::Label, 0, 0, 1, 1, ""), 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(register_object(ui, "", Kind::Label, 0, 0, 1, 1, ""), 1);
  EXPECT_EQ(current_object(ui)->name, "UNTITLED5");
  EXPECT_EQ(current_object(ui)->number, 5);
  EXPECT_EQ(order(), "Name,name,UNTITLED3,UNTITLED4,UNTITLED5");
  EXPECT_EQ(win("Main")->objectCount, 5);
  EXPECT_EQ(current_object(ui)->visible, 1);
  EXPECT_EQ(current_object(ui)->hidden, -1);
  EXPECT_EQ(current_object(ui)->window, win("Main")->handle);
}

TEST_F(FrameworkTest, WindowGroupsKeepRegistrationOrderNewestWindowFirst) {
  for (const char* n : {"A", "B", "C"}) register_object(ui, n, Kind::Label, 0, 0, 1, 1, "");
  ASSERT_NE(create_window(ui, "Second", 0, 0, 300, 200, "Second", fwtest::kHiddenWindow), 0);
  for (const char* n : {"X", "Y"}) register_object(ui, n, Kind::Label, 0, 0, 1, 1, "");
  EXPECT_EQ(order(), "X,Y,A,B,C");
  ASSERT_EQ(select_window(ui, "Main"), 1);
  register_object(ui, "D", Kind::Label, 0, 0, 1, 1, "");
  EXPECT_EQ(order(), "X,Y,A,B,C,D");
  EXPECT_EQ(win("Main")->firstObject, obj("A"));
  EXPECT_EQ(win("Main")->objectCount, 4);
  EXPECT_EQ(win("Second")->firstObject, obj("X"));
  EXPECT_EQ(win("Second")->objectCount, 2);
  EXPECT_EQ(obj("X")->window, win("Second")->handle);
  EXPECT_NE(win("Second")->handle, win("Main")->handle);
}

TEST_F(FrameworkTest, LookupModesAcrossWindowsAndTheCurrentObjectLeftBehind) {
  create_text(ui, "Alpha", 0, 0, 50, 20, "a", 0, "");
  create_text(ui, "Omega", 0, 30, 50, 20, "o", 0, "");
  create_window(ui, "Later", 0, 0, 300, 200, "Later", fwtest::kHiddenWindow);
  create_text(ui, "Beta", 0, 0, 50, 20, "b", 0, "");

  // From the later window, the earlier window's objects are found.
  EXPECT_EQ(find_object(ui, "Alpha", 0), 1);
  EXPECT_EQ(current_object(ui), obj("Alpha"));

  ASSERT_EQ(select_window(ui, "Main"), 1);
  // Beta lies before Main's group: mode 0 misses it, leaving the last object
  // of the registry current; mode 1 finds it.
  EXPECT_EQ(find_object(ui, "Beta", 0), -1);
  EXPECT_EQ(current_object(ui), obj("Omega"));
  EXPECT_EQ(find_object(ui, "Beta", 1), 1);
  EXPECT_EQ(current_object(ui), obj("Beta"));
  // ...and once it is current, mode 0 takes the fast path.
  EXPECT_EQ(find_object(ui, "Beta", 0), 1);

  EXPECT_EQ(find_object(ui, "alpha", 1), -1);
  EXPECT_EQ(find_object(ui, "", 1), -1);
  EXPECT_EQ(current_object(ui), obj("Omega"));

  const int32_t gadget = obj("Alpha")->gadget;
  ASSERT_NE(gadget, 0);
  EXPECT_EQ(find_object_by_gadget(ui, gadget, 0), 1);
  EXPECT_EQ(current_object(ui), obj("Alpha"));
  EXPECT_EQ(find_object_by_gadget(ui, 0, 1), -1);
  EXPECT_EQ(find_object_by_number(ui, obj("Beta")->number, 1), 1);
  EXPECT_EQ(current_object(ui), obj("Beta"));
  EXPECT_EQ(find_object_by_number(ui, 0, 1), -1);
  EXPECT_EQ(find_object_by_number(ui, 99, 1), -1);
  EXPECT_EQ(name_of_gadget(ui, gadget), "Alpha");
  EXPECT_EQ(name_of_number(ui, 99), "");
}

TEST_F(FrameworkTest, CreationLeavesTheNewObjectCurrentAndPlacesChildren) {
  ASSERT_NE(create_container(ui, "Box", 50, 60, 200, 100, 0, ""), 0);
  ASSERT_NE(create_input(ui, "Child", 5, 6, 80, 20, "", 0, "Box"), 0);
  EXPECT_EQ(current_object(ui), obj("Child"));
  EXPECT_EQ(obj("Child")->parentName, "Box");
  EXPECT_EQ(obj("Child")->absX, 55);
  EXPECT_EQ(obj("Child")->absY, 66);
  QWidget* box = tk_gadget_widget(obj("Box")->gadget);
  QWidget* child = tk_gadget_widget(obj("Child")->gadget);
  ASSERT_TRUE(box && child);
  EXPECT_TRUE(box->isAncestorOf(child));

  // A parent of another kind only offsets the records; the gadget list was
  // closed again after Child, so the next gadget is not inside Box.
  ASSERT_NE(create_input(ui, "Beside", 1, 2, 30, 20, "", 0, "Child"), 0);
  EXPECT_EQ(obj("Beside")->absX, 56);
  EXPECT_EQ(obj("Beside")->absY, 68);
  QWidget* beside = tk_gadget_widget(obj("Beside")->gadget);
  ASSERT_TRUE(beside);
  EXPECT_FALSE(box->isAncestorOf(beside));
  EXPECT_FALSE(child->isAncestorOf(beside));

  ASSERT_NE(create_input(ui, "Orphan", 7, 8, 30, 20, "", 0, "Ghost"), 0);
  EXPECT_EQ(obj("Orphan")->parentName, "");
  EXPECT_EQ(obj("Orphan")->absX, 7);
  EXPECT_EQ(obj("Orphan")->absY, 8);
}

TEST_F(FrameworkTest, ChildrenOfATabBarLieInsideItOrAreRefused) {
  const int32_t source = fwtest::make_strip(11, 19, 22);
  ASSERT_NE(create_tab_bar(ui, "Tabs", 50, 60, 300, source, 18, 0, ""), 0);
  ASSERT_NE(create_input(ui, "Find", 200, 1, 80, 20, "", 0, "Tabs"), 0);
  NamedObject* child = obj("Find");
  QWidget* bar = tk_gadget_widget(obj("Tabs")->gadget);
  QWidget* input = tk_gadget_widget(child->gadget);
  ASSERT_TRUE(bar && input);
  QWidget* client = tk_window_client(window);
  auto drawn_at_record = [&] {
    return input->mapTo(client, QPoint(0, 0)) == QPoint(child->absX, child->absY);
  };
  EXPECT_EQ(input->parentWidget(), bar);
  EXPECT_EQ(child->absX, 250);
  EXPECT_TRUE(drawn_at_record());

  show_object(ui, "Tabs", 0, 1);
  EXPECT_FALSE(input->isVisibleTo(client));
  move_object(ui, "Tabs", 70, 90, 1);
  EXPECT_EQ(child->absX, 270);
  EXPECT_EQ(child->absY, 91);
  EXPECT_TRUE(drawn_at_record());

  // A container kind whose gadget cannot hold gadgets (here it has none)
  // takes no children, and the gadget list stays the window's.
  ASSERT_EQ(register_object(ui, "Bare", Kind::TabBar, 0, 200, 300, 22, ""), 1);
  const int32_t before = registry_size();
  EXPECT_EQ(create_input(ui, "Lost", 5, 5, 80, 20, "", 0, "Bare"), 0);
  EXPECT_EQ(registry_size(), before);
  ASSERT_NE(create_input(ui, "After", 0, 300, 50, 20, "", 0, ""), 0);
  EXPECT_EQ(tk_gadget_widget(obj("After")->gadget)->parentWidget(), client);
  tk_free_image(source);
}

TEST_F(FrameworkTest, RemovingAComboWithItsListOpenLetsClicksThroughAgain) {
  create_combo(ui, "Open", 10, 10, 120, 150, "", 0, "");
  create_button(ui, "Button", 200, 10, 80, 20, "Go", 0, "");
  const int32_t combo = obj("Open")->gadget;
  const int32_t button = obj("Button")->gadget;
  auto click_button = [&] {
    dispatch_event(ui, 210, 15, TK_EVENT_GADGET, TK_TYPE_LEFT_CLICK, button, button);
    return event_code(ui);
  };
  dispatch_event(ui, 20, 20, TK_EVENT_GADGET, TK_TYPE_LIST_OPENED, combo, combo);
  ASSERT_EQ(win("Main")->openDropDown, obj("Open")->number);
  ASSERT_EQ(click_button(), Code::None);
  EXPECT_EQ(remove_object(ui, "Open", 0), 1);
  EXPECT_EQ(win("Main")->openDropDown, 0);
  EXPECT_EQ(click_button(), Code::LeftClick);
  EXPECT_EQ(event_object_name(ui), "Button");
}

TEST(FrameworkRegistry, ImplicitAutoRecordForLookupsWithoutWindow) {
  Ui ui;
  rewind_to_window(ui);
  ASSERT_NE(current_window(ui), nullptr);
  EXPECT_EQ(current_window(ui)->name, "AUTO");
  EXPECT_EQ(current_window(ui)->liveUpdate, 1);
  EXPECT_EQ(current_object(ui), nullptr);

  // The first object of a context without window record goes to the end;
  // the second lookup makes the implicit record, whose group starts at the
  // front of the registry.
  Ui fresh;
  EXPECT_EQ(register_object(fresh, "P", Kind::Label, 0, 0, 1, 1, ""), 1);
  EXPECT_EQ(fresh.firstWindow, nullptr);
  EXPECT_EQ(register_object(fresh, "Q", Kind::Label, 0, 0, 1, 1, ""), 1);
  ASSERT_NE(fresh.firstWindow, nullptr);
  EXPECT_EQ(fresh.firstWindow->name, "AUTO");
  EXPECT_EQ(fresh.firstWindow->firstObject->name, "Q");
  EXPECT_EQ(fresh.firstWindow->objectCount, 1);
  EXPECT_EQ(find_object(fresh, "P", 0), 1);
  EXPECT_EQ(find_object(fresh, "Q", 0), 1);
}

TEST_F(FrameworkTest, PositionBeforeAndRewind) {
  for (const char* n : {"A", "B", "C"}) register_object(ui, n, Kind::Label, 0, 0, 1, 1, "");
  position_before(ui, obj("B"));
  EXPECT_EQ(current_object(ui), obj("A"));
  EXPECT_EQ(next_object(ui), obj("B"));
  position_before(ui, obj("A"));
  EXPECT_EQ(current_object(ui), nullptr);
  EXPECT_EQ(next_object(ui), obj("A"));
  position_before(ui, nullptr);
  EXPECT_EQ(next_object(ui), obj("A"));

  create_window(ui, "Second", 0, 0, 100, 100, "", fwtest::kHiddenWindow);
  register_object(ui, "X", Kind::Label, 0, 0, 1, 1, "");
  select_window(ui, "Main");
  rewind_to_window(ui);
  EXPECT_EQ(next_object(ui), obj("A"));
  // Stepping past the end stays on the last object.
  make_current(ui, obj("C"));
  EXPECT_EQ(next_object(ui), nullptr);
  EXPECT_EQ(current_object(ui), obj("C"));
}

TEST_F(FrameworkTest, SelectWindowByNameAndHandle) {
  create_window(ui, "Second", 0, 0, 100, 100, "", fwtest::kHiddenWindow);
  EXPECT_EQ(select_window(ui, ""), -1);
  EXPECT_EQ(select_window(ui, "Nope"), -1);
  EXPECT_EQ(current_window(ui)->name, "Second");
  EXPECT_EQ(select_window(ui, "Main"), 1);
  EXPECT_EQ(current_window(ui)->name, "Main");
  EXPECT_EQ(select_window_by_handle(ui, win("Second")->handle), 1);
  EXPECT_EQ(current_window(ui)->name, "Second");
  EXPECT_EQ(select_window_by_handle(ui, 0), -1);
  EXPECT_EQ(get_window_number(ui, "Main"), window);
  EXPECT_EQ(get_window_number(ui, "Nope"), 0);

  // Closing the first record of the list leaves none current; the next
  // selection then takes the first record whatever the name.
  select_window(ui, "Main");
  close_window(ui, "Second");
  EXPECT_EQ(current_window(ui), nullptr);
  EXPECT_EQ(select_window(ui, "Nope"), 1);
  EXPECT_EQ(current_window(ui), win("Main"));
}

TEST_F(FrameworkTest, RecursiveRemovalTakesTheWholeSubtree) {
  const int32_t strip = fwtest::make_strip(4, 16, 16);
  create_container(ui, "Box", 0, 0, 300, 200, 0, "");
  create_input(ui, "In1", 5, 5, 50, 20, "", 0, "Box");
  create_container(ui, "Inner", 5, 40, 100, 100, 0, "Box");
  create_image_button_skinned(ui, "Deep", 2, 2, strip, "Inner");
  create_input(ui, "Keep", 400, 5, 50, 20, "", 0, "");
  std::vector<int32_t> gadgets;
  for (const char* n : {"Box", "In1", "Inner", "Deep"}) gadgets.push_back(obj(n)->gadget);

  EXPECT_EQ(remove_object(ui, "Ghost", 1), 0);
  EXPECT_EQ(remove_object(ui, "Box", 1), 1);
  EXPECT_EQ(order(), "Keep");
  EXPECT_EQ(win("Main")->objectCount, 1);
  EXPECT_EQ(win("Main")->firstObject, obj("Keep"));
  for (int32_t g : gadgets) EXPECT_EQ(tk_gadget_exists(g), 0);
  // The strip is the caller's and may be shown elsewhere.
  EXPECT_NE(tk_image_exists(strip), 0);

  // Without recursion the children stay, parent name and all.
  create_container(ui, "Box2", 0, 0, 300, 200, 0, "");
  create_input(ui, "In2", 5, 5, 50, 20, "", 0, "Box2");
  EXPECT_EQ(remove_object(ui, "Box2", 0), 1);
  ASSERT_NE(obj("In2"), nullptr);
  EXPECT_EQ(obj("In2")->parentName, "Box2");
  EXPECT_EQ(win("Main")->objectCount, 2);
  tk_free_image(strip);
}

TEST_F(FrameworkTest, AnOrphansParentNameIsRefusedInsideItsOwnSubtree) {
  create_container(ui, "Split", 0, 0, 300, 200, 0, "");
  create_container(ui, "Page", 0, 0, 200, 100, 0, "Split");
  create_container(ui, "Right", 0, 0, 100, 50, 0, "Page");
  remove_object(ui, "Split", 0);  // "Page" still names "Split" as its parent

  // Inside "Right" a new "Split" would be its own ancestor.
  EXPECT_EQ(create_combo(ui, "Split", 0, 0, 80, 20, "", 0, "Right"), 0);
  EXPECT_EQ(obj("Split"), nullptr);
  EXPECT_EQ(registry_size(), 2);
  EXPECT_EQ(win("Main")->objectCount, 2);

  // Outside the subtree the name is free, and the orphan is its child again.
  EXPECT_NE(create_container(ui, "Split", 0, 0, 300, 200, 0, ""), 0);
  ASSERT_EQ(find_object(ui, "Right", 0), 1);
  EXPECT_EQ(is_descendant(ui, "Split"), 1);

  // A generated name never repeats an ancestor's: the fifth object would be
  // UNTITLED5 inside UNTITLED5.
  create_container(ui, "UNTITLED5", 0, 0, 100, 50, 0, "");
  EXPECT_EQ(register_object(ui, "", Kind::Label, 0, 0, 1, 1, "UNTITLED5"), 0);
  EXPECT_EQ(register_object(ui, "", Kind::Label, 0, 0, 1, 1, ""), 1);
  EXPECT_EQ(current_object(ui)->name, "UNTITLED5");
}

TEST_F(FrameworkTest, FreeObjectMovesTheWindowsFirstObjectOn) {
  for (const char* n : {"A", "B", "C"}) create_input(ui, n, 0, 0, 50, 20, "", 0, "");
  add_item(ui, "A", "k", "shown", 0, 0, -1);
  const int32_t gadget = obj("A")->gadget;
  free_object(ui, "A");
  EXPECT_EQ(tk_gadget_exists(gadget), 0);
  EXPECT_EQ(win("Main")->firstObject, obj("B"));
  EXPECT_EQ(win("Main")->objectCount, 2);
  // The object before the removed one is current: none here, so the next
  // step yields the registry's first object.
  EXPECT_EQ(current_object(ui), nullptr);
  EXPECT_EQ(next_object(ui), obj("B"));

  free_object(ui, "Ghost");
  EXPECT_EQ(registry_size(), 2);
  free_object(ui, "C");
  EXPECT_EQ(current_object(ui), obj("B"));
  free_object(ui, "B");
  EXPECT_EQ(win("Main")->firstObject, nullptr);
  EXPECT_EQ(win("Main")->objectCount, 0);
  create_input(ui, "D", 0, 0, 50, 20, "", 0, "");
  EXPECT_EQ(win("Main")->firstObject, obj("D"));
}

TEST_F(FrameworkTest, RemoveWindowObjectsEmptiesOnlyThatWindow) {
  for (const char* n : {"A", "B"}) create_input(ui, n, 0, 0, 50, 20, "", 0, "");
  create_window(ui, "Second", 0, 0, 100, 100, "", fwtest::kHiddenWindow);
  for (const char* n : {"X", "Y"}) create_input(ui, n, 0, 0, 50, 20, "", 0, "");

  EXPECT_EQ(remove_window_objects(ui, "Unknown"), 0);
  EXPECT_EQ(remove_window_objects(ui, "Main"), 1);
  EXPECT_EQ(order(), "X,Y");
  ASSERT_NE(win("Main"), nullptr);
  EXPECT_EQ(win("Main")->objectCount, 0);
  EXPECT_EQ(win("Main")->firstObject, nullptr);
  EXPECT_EQ(win("Second")->objectCount, 2);
  EXPECT_EQ(remove_window_objects(ui, "Main"), 0);

  // The emptied window takes new objects again; a window without objects
  // starts its group at the front of the registry.
  create_input(ui, "C", 0, 0, 50, 20, "", 0, "");
  EXPECT_EQ(order(), "C,X,Y");
  EXPECT_EQ(win("Main")->firstObject, obj("C"));
}

TEST_F(FrameworkTest, ReusedNumbersNeverMixItemLists) {
  create_text(ui, "Caption", 0, 0, 50, 20, "", 0, "");
  create_combo(ui, "First", 0, 30, 100, 150, "", 0, "");
  add_item(ui, "First", "a", "Apple", 0, 0, -1);
  add_item(ui, "First", "b", "Banana", 0, 0, -1);
  remove_object(ui, "Caption", 0);
  create_combo(ui, "Second", 0, 60, 100, 150, "", 0, "");
  ASSERT_EQ(obj("Second")->number, obj("First")->number);

  add_item(ui, "Second", "x", "Xylophone", 0, 0, -1);
  EXPECT_EQ(obj("First")->itemData->count, 2);
  EXPECT_EQ(obj("Second")->itemData->count, 1);
  tk_set_gadget_state(obj("First")->gadget, 1);
  tk_set_gadget_state(obj("Second")->gadget, 0);
  EXPECT_EQ(selected_key(ui, "First"), "b");
  EXPECT_EQ(selected_key(ui, "Second"), "x");
  select_item(ui, "Second", "a", 1);
  EXPECT_EQ(obj("Second")->text, "");
  clear_items(ui, "Second");
  EXPECT_EQ(obj("First")->itemData->count, 2);
}

TEST_F(FrameworkTest, TheNameIndexFollowsRenamesRemovalsAndNamesRepeatedAcrossWindows) {
  create_text(ui, "A", 0, 0, 50, 20, "a", 0, "");
  create_text(ui, "B", 0, 30, 50, 20, "b", 0, "");
  set_attribute(ui, "A", "NAME", "C", 0);
  EXPECT_EQ(find_object(ui, "A", 0), -1);
  EXPECT_EQ(current_object(ui), ui.last);  // where a failed lookup always leaves it
  EXPECT_EQ(find_object(ui, "C", 0), 1);
  remove_object(ui, "B", 0);
  EXPECT_EQ(lookup_object(ui, "B"), nullptr);
  EXPECT_EQ(ui.byName.size(), 1u);

  // A later window's group comes first, so from "Main" its names are not
  // seen and may repeat; each lookup mode finds the one its walk reaches.
  create_window(ui, "Later", 0, 0, 300, 200, "Later", fwtest::kHiddenWindow);
  create_text(ui, "X", 0, 0, 50, 20, "later", 0, "");
  ASSERT_EQ(select_window(ui, "Main"), 1);
  make_current(ui, nullptr);
  ASSERT_EQ(register_object(ui, "X", Kind::Label, 0, 0, 1, 1, ""), 1);
  make_current(ui, nullptr);
  ASSERT_EQ(find_object(ui, "X", 0), 1);
  EXPECT_EQ(current_object(ui)->window, win("Main")->handle);
  make_current(ui, nullptr);
  ASSERT_EQ(find_object(ui, "X", 1), 1);
  EXPECT_EQ(current_object(ui)->window, win("Later")->handle);
}

TEST_F(FrameworkTest, ChildListsFollowTheHierarchyByName) {
  auto names = [&](const std::string& parent) {
    std::string out;
    if (const auto* list = children_of(ui, parent))
      for (const NamedObject* o : *list) out += o->name;
    return out;
  };
  create_container(ui, "P", 0, 0, 200, 100, 0, "");
  create_text(ui, "a", 5, 5, 50, 20, "", 0, "P");
  create_text(ui, "b", 5, 30, 50, 20, "", 0, "P");
  EXPECT_EQ(names("P"), "ab");

  set_attribute(ui, "P", "NAME", "Q", 0);  // a rename carries the children
  EXPECT_EQ(names("P"), "");
  EXPECT_EQ(names("Q"), "ab");
  move_object(ui, "Q", 40, 60, 1);
  EXPECT_EQ(obj("b")->absX, 45);
  EXPECT_EQ(obj("b")->absY, 90);

  remove_object(ui, "Q", 0);  // orphans keep naming their parent ...
  EXPECT_EQ(names("Q"), "ab");
  create_container(ui, "Q", 10, 10, 200, 100, 0, "");  // ... and a new "Q" adopts them
  move_object(ui, "Q", 100, 0, 1);
  EXPECT_EQ(obj("a")->absX, 105);
  remove_object(ui, "Q", 1);
  EXPECT_EQ(names("Q"), "");
  EXPECT_EQ(ui.count, 0);
}
