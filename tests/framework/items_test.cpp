// Item lists: keys beside display texts, positions kept in step with the
// gadget, selection by key, removal and clearing.
#include "support/framework_fixtures.h"

using namespace zui;

using fwtest::FrameworkTest;

namespace {

std::string keys(NamedObject* o) {
  std::string s;
  for (const ItemEntry& e : o->itemData->entries) s += e.key;
  return s;
}

}  // namespace

TEST_F(FrameworkTest, ComboSelectsTheEntryOfItsCreationKey) {
  create_combo(ui, "ComboHeadCaseType", 0, 0, 150, 120, "I", 0, "");
  const int32_t g = obj("ComboHeadCaseType")->gadget;
  add_item(ui, "ComboHeadCaseType", "I", "Inquiry", 0, 0, -1);
  EXPECT_EQ(tk_get_gadget_state(g), 0);
  EXPECT_EQ(tk_get_gadget_text(g), "Inquiry");
  add_item(ui, "ComboHeadCaseType", "R", "Request", 0, 0, -1);
  add_item(ui, "ComboHeadCaseType", "S", "Service", 0, 0, -1);
  EXPECT_EQ(tk_get_gadget_state(g), 0);
  EXPECT_EQ(selected_key(ui, "ComboHeadCaseType"), "I");

  select_item(ui, "ComboHeadCaseType", "R", 0);
  EXPECT_EQ(obj("ComboHeadCaseType")->text, "Request");
  EXPECT_EQ(tk_get_gadget_text(g), "Request");
  EXPECT_EQ(selected_key(ui, "ComboHeadCaseType"), "R");
  select_item(ui, "ComboHeadCaseType", "Z", 1);
  EXPECT_EQ(obj("ComboHeadCaseType")->text, "Request");

  // A key matched by an entry inserted in front selects that entry.
  create_list(ui, "List", 200, 0, 150, 120, "B", 0, "");
  add_item(ui, "List", "A", "Alpha", 0, 0, -1);
  add_item(ui, "List", "C", "Gamma", 0, 0, -1);
  add_item(ui, "List", "B", "Beta", 0, 0, 1);
  EXPECT_EQ(keys(obj("List")), "ABC");
  EXPECT_EQ(selected_key(ui, "List"), "B");
}

TEST_F(FrameworkTest, PositionsCountWithinTheObjectsOwnEntries) {
  create_list(ui, "First", 0, 0, 150, 120, "", 0, "");
  create_list(ui, "Second", 200, 0, 150, 120, "", 0, "");
  add_item(ui, "First", "a", "a", 0, 0, -1);
  add_item(ui, "First", "b", "b", 0, 0, -1);
  add_item(ui, "Second", "x", "x", 0, 0, -1);
  add_item(ui, "First", "c", "c", 0, 0, -1);
  EXPECT_EQ(keys(obj("First")), "abc");
  add_item(ui, "First", "0", "0", 0, 0, 0);
  add_item(ui, "First", "z", "z", 0, 0, 99);
  EXPECT_EQ(keys(obj("First")), "0abcz");
  EXPECT_EQ(obj("First")->itemData->count, 5);
  EXPECT_EQ(keys(obj("Second")), "x");

  // The gadget holds the same order: selecting index i there yields key i.
  const int32_t g = obj("First")->gadget;
  const std::string expected = "0abcz";
  for (int i = 0; i < 5; ++i) {
    tk_set_gadget_state(g, i);
    EXPECT_EQ(selected_key(ui, "First"), expected.substr(i, 1));
  }
  tk_set_gadget_state(g, -1);
  EXPECT_EQ(selected_key(ui, "First"), "");
}

TEST_F(FrameworkTest, RemoveItemKeepsRecordAndGadgetInStep) {
  create_list(ui, "List", 0, 0, 150, 120, "", 0, "");
  for (const char* k : {"a", "b", "c", "d"}) add_item(ui, "List", k, k, 0, 0, -1);
  const int32_t g = obj("List")->gadget;

  remove_item(ui, "List", 42);  // beyond the entries: the last one goes
  EXPECT_EQ(keys(obj("List")), "abc");
  remove_item(ui, "List", 0);
  EXPECT_EQ(keys(obj("List")), "bc");
  EXPECT_EQ(obj("List")->itemData->count, 2);
  tk_set_gadget_state(g, 1);
  EXPECT_EQ(tk_get_gadget_text(g), "c");
  EXPECT_EQ(selected_key(ui, "List"), "c");
  remove_item(ui, "List", -1);
  remove_item(ui, "List", 0);
  EXPECT_EQ(obj("List")->itemData->count, 0);
  remove_item(ui, "List", 0);  // nothing left: nothing happens
  EXPECT_EQ(obj("List")->itemData->count, 0);
  add_item(ui, "List", "n", "n", 0, 0, -1);
  EXPECT_EQ(keys(obj("List")), "n");
}

TEST_F(FrameworkTest, ClearItemsEmptiesListsAndTabBars) {
  create_combo(ui, "Combo", 0, 0, 150, 120, "", 0, "");
  for (const char* k : {"a", "b"}) add_item(ui, "Combo", k, k, 0, 0, -1);
  clear_items(ui, "Combo");
  EXPECT_EQ(obj("Combo")->itemData->count, 0);
  EXPECT_TRUE(obj("Combo")->itemData->entries.empty());
  // The gadget keeps its items; the record no longer names them.
  tk_set_gadget_state(obj("Combo")->gadget, 0);
  EXPECT_EQ(selected_key(ui, "Combo"), "");
  add_item(ui, "Combo", "c", "c", 0, 0, -1);
  EXPECT_EQ(keys(obj("Combo")), "c");

  const int32_t source = fwtest::make_strip(9, 18, 22);
  create_tab_bar(ui, "Tabs", 0, 200, 400, source, 18, 0, "");
  add_tab(ui, "Tabs", "A", "A", "", 0);
  add_tab(ui, "Tabs", "B", "B", "", 0);
  clear_items(ui, "Tabs");
  EXPECT_EQ(tab_bar_record(*obj("Tabs"))->tabCount, 0);
  EXPECT_TRUE(tab_bar_record(*obj("Tabs"))->tabs.empty());
  add_tab(ui, "Tabs", "C", "C", "", 0);
  EXPECT_EQ(obj("Tabs")->text, "C");
  EXPECT_EQ(tab_bar_record(*obj("Tabs"))->tabCount, 1);
  tk_free_image(source);
}

TEST_F(FrameworkTest, ItemListsOnlyWhereTheKindHasOne) {
  create_input(ui, "Input", 0, 0, 100, 20, "k", 0, "");
  add_item(ui, "Input", "k", "Shown", 0, 0, -1);
  EXPECT_EQ(obj("Input")->itemData->count, 1);
  // Data only: the input's own text stays.
  EXPECT_EQ(tk_get_gadget_text(obj("Input")->gadget), "k");

  create_text(ui, "Label", 0, 30, 100, 20, "x", 0, "");
  add_item(ui, "Label", "k", "d", 0, 0, -1);
  remove_item(ui, "Label", 0);
  clear_items(ui, "Label");
  EXPECT_FALSE(obj("Label")->itemData);
  EXPECT_EQ(selected_key(ui, "Label"), "");
}
