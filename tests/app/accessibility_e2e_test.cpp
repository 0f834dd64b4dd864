// The demo screen as a screen reader reads it through Qt's accessibility,
// and as a keyboard user walks it with Tab, Space, Return and the arrows.
#include <QAccessible>
#include <QSet>

#include "support/app_fixtures.h"
#include "toolkit/tk_accessible.h"

using namespace zui;

namespace {

// What a screen reader calls an object: its name, or else the label it is
// labelled by (a combo box's name is its value).
QString spoken_name(QAccessibleInterface* iface) {
  if (!iface->text(QAccessible::Name).isEmpty()) return iface->text(QAccessible::Name);
  for (const auto& [other, relation] : iface->relations(QAccessible::Labelled))
    if (other && !other->text(QAccessible::Name).isEmpty()) return other->text(QAccessible::Name);
  return {};
}

// Kinds a keyboard user works: Tab reaches every one that is shown and enabled.
bool is_control(int8_t kind) {
  switch (kind) {
    case Kind::PushButton: case Kind::ImageButton: case Kind::Input: case Kind::Combo:
    case Kind::List: case Kind::Tree: case Kind::Date: case Kind::CheckBox:
    case Kind::TabBar: case Kind::SkinnedButton: case Kind::Grid: case Kind::StretchButton:
      return true;
    default:
      return false;
  }
}

}  // namespace

class ScreenReader : public DemoScreen {
 protected:
  QAccessibleInterface* iface(const std::string& name) {
    QWidget* w = widget(name);
    return w ? QAccessible::queryAccessibleInterface(w) : nullptr;
  }
  std::string focused_object() {
    const int32_t g = tk_focused_gadget();
    if (g <= 0 || find_object_by_gadget(app.ui, g, 0) != 1) return {};
    return current_object(app.ui)->name;
  }
  // Tab until the named object holds the focus; false when a round misses it.
  bool tab_to(const std::string& name) {
    for (int i = 0; i < 80 && focused_object() != name; ++i) key(Qt::Key_Tab);
    return focused_object() == name;
  }
  void show_grid_page() {
    click("PanelVersionData", tab_middle("PanelVersionData", 1), 8);
    settle(100);
    park_mouse();
    settle(60);
  }
};

TEST_F(ScreenReader, EveryShownObjectHasARoleAndAName) {
  int checked = 0;
  for (NamedObject* o = app.ui.first; o; o = o->next) {
    if (o->gadget == 0 || !shown(o->name)) continue;
    QAccessibleInterface* a = iface(o->name);
    ASSERT_NE(a, nullptr) << o->name;
    EXPECT_NE(a->role(), QAccessible::Client) << o->name;
    EXPECT_NE(a->role(), QAccessible::NoRole) << o->name;
    EXPECT_FALSE(spoken_name(a).isEmpty()) << o->name;
    ++checked;
  }
  EXPECT_GT(checked, 40);

  // A table of the kinds and names a screen reader meets.
  const struct {
    const char* object;
    QAccessible::Role role;
    const char* name;
  } expected[] = {
      {"ButtonHeadExpCol", QAccessible::Button, "collapse / expand head area"},
      {"PanelHead", QAccessible::PageTabList, "show the case data, the customer data or the head texts"},
      {"FrameVersionGeneral", QAccessible::Grouping, "Version General"},
      {"ContainerHeadPanelCase", QAccessible::PropertyPage, "Case Data"},
      {"InputHeadCaseNo", QAccessible::EditableText, "Case No."},
      {"SideTreeCases", QAccessible::Tree, "SideTreeCases"},
      {"GridVersionCalc", QAccessible::Table, "GridVersionCalc"},
      {"SplitterSideMain", QAccessible::Splitter, "SplitterSideMain"},
      {"ImageIconbarBack", QAccessible::Graphic, "ImageIconbarBack"},
  };
  for (const auto& e : expected) {
    QAccessibleInterface* a = iface(e.object);
    ASSERT_NE(a, nullptr) << e.object;
    EXPECT_EQ(a->role(), e.role) << e.object;
    EXPECT_EQ(a->text(QAccessible::Name).toStdString(), e.name) << e.object;
  }
  QAccessibleInterface* tabs = iface("PanelHead");
  ASSERT_GE(tabs->childCount(), 3);
  EXPECT_EQ(tabs->child(0)->role(), QAccessible::PageTab);
  EXPECT_EQ(tabs->child(0)->text(QAccessible::Name), "Case Data");
  EXPECT_TRUE(tabs->child(0)->state().selected);
  EXPECT_TRUE(iface("ButtonHeadExpCol")->state().expanded);
}

TEST_F(ScreenReader, GridsReportTheirCellsAndHeaders) {
  for (const char* name : {"GridVersionConfig", "GridVersionCalc", "SideTreeCases"}) {
    QAccessibleTableInterface* table = iface(name)->tableInterface();
    ASSERT_NE(table, nullptr) << name;
    const GridRecord& g = grid(name);
    ASSERT_EQ(table->rowCount(), g.rowCount) << name;
    ASSERT_EQ(table->columnCount(), g.columnCount) << name;
    EXPECT_EQ(iface(name)->childCount(), g.rowCount * g.columnCount) << name;
    for (int r = 0; r < g.rowCount; ++r)
      for (int c = 0; c < g.columnCount; ++c)
        EXPECT_EQ(table->cellAt(r, c)->text(QAccessible::Name).toStdString(),
                  get_cell_text(app.ui, name, c, r))
            << name << " " << c << "," << r;
    for (int c = 0; c < g.columnCount; ++c)
      EXPECT_EQ(table->columnDescription(c).toStdString(), g.columns[c].caption) << name;
  }
  // The tree rows: the first row of the configuration grid opens and closes.
  QAccessibleInterface* head = iface("GridVersionConfig")->tableInterface()->cellAt(0, 0);
  EXPECT_TRUE(head->state().expandable);
  QAccessibleTableCellInterface* cell = head->tableCellInterface();
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->rowIndex(), 0);
  EXPECT_EQ(cell->columnHeaderCells().value(0)->text(QAccessible::Name), "entity");
}

TEST_F(ScreenReader, StatesFollowClicks) {
  click("ButtonHeadExpCol", 8, 8);
  settle();
  EXPECT_TRUE(iface("ButtonHeadExpCol")->state().collapsed);
  EXPECT_FALSE(iface("ButtonHeadExpCol")->state().expanded);

  click("PanelVersionData", tab_middle("PanelVersionData", 1), 8);
  settle(100);
  QAccessibleInterface* tabs = iface("PanelVersionData");
  EXPECT_FALSE(tabs->child(0)->state().selected);
  EXPECT_TRUE(tabs->child(1)->state().selected);

  click_cell("GridVersionCalc", 1, 2);
  settle(60);
  QAccessibleTableInterface* table = iface("GridVersionCalc")->tableInterface();
  EXPECT_TRUE(table->cellAt(2, 1)->state().selected);
  EXPECT_FALSE(table->cellAt(0, 0)->state().selected);
  ASSERT_EQ(table->selectedCellCount(), 1);
  EXPECT_EQ(table->selectedCells().value(0), table->cellAt(2, 1));
  // The reader's highlight lies where the click landed.
  const auto [dx, dy] = cell_offset("GridVersionCalc", 1, 2);
  EXPECT_TRUE(table->cellAt(2, 1)->rect().contains(widget("GridVersionCalc")->mapToGlobal(QPoint(dx, dy))))
      << table->cellAt(2, 1)->rect().x() << "," << table->cellAt(2, 1)->rect().y();
}

TEST_F(ScreenReader, TabWalkVisitsEveryEnabledControlOnce) {
  tk_activate_window(app.state.mainWindow);
  settle(60);
  QSet<QString> expected;
  for (NamedObject* o = app.ui.first; o; o = o->next)
    if (is_control(o->kind) && o->gadget != 0 && shown(o->name) && o->disabled == 0)
      expected.insert(QString::fromStdString(o->name));

  std::vector<std::string> walk;
  for (int i = 0; i < 100; ++i) {
    key(Qt::Key_Tab);
    const std::string now = focused_object();
    if (!walk.empty() && now == walk.front()) break;
    walk.push_back(now);
  }
  QSet<QString> visited;
  for (const std::string& name : walk) {
    EXPECT_FALSE(visited.contains(QString::fromStdString(name))) << name << " twice";
    visited.insert(QString::fromStdString(name));
  }
  EXPECT_EQ(visited, expected);
  // Shift+Tab walks back.
  key(Qt::Key_Backtab);
  EXPECT_EQ(focused_object(), walk.back());
}

TEST_F(ScreenReader, KeysWorkTheFocusedControl) {
  tk_activate_window(app.state.mainWindow);
  // Space presses a focused button: the head area collapses, with the mark
  // of the keyboard focus on the button.
  ASSERT_TRUE(tab_to("ButtonHeadExpCol"));
  EXPECT_EQ(tk_has_keyboard_focus(gadget("ButtonHeadExpCol")), 1);
  key(Qt::Key_Space);
  settle();
  EXPECT_TRUE(saw(Code::LeftClick, "ButtonHeadExpCol"));
  EXPECT_FALSE(shown("ContainerHead"));
  key(Qt::Key_Return);
  settle();
  EXPECT_TRUE(shown("ContainerHead"));

  // Right switches a focused tab bar.
  ASSERT_TRUE(tab_to("PanelVersionData"));
  key(Qt::Key_Right);
  settle(100);
  EXPECT_TRUE(saw(Code::TabSelected, "PanelVersionData"));
  EXPECT_TRUE(shown("GridVersionConfig"));

  // A focused grid takes its keys wherever the mouse is.
  ASSERT_TRUE(tab_to("GridVersionCalc"));
  const int row = grid("GridVersionCalc").cursorRow;
  key(Qt::Key_Down);
  settle(60);
  EXPECT_TRUE(saw(Code::GridCursor, "GridVersionCalc"));
  EXPECT_EQ(grid("GridVersionCalc").cursorRow, row + 1);
  key(Qt::Key_End, Qt::ControlModifier);
  settle(60);
  EXPECT_EQ(grid("GridVersionCalc").cursorRow, grid("GridVersionCalc").rowCount - 1);
  // Return edits the comment cell and Return again commits it, back on the grid.
  ASSERT_TRUE(tab_to("GridVersionConfig"));
  for (int i = 0; i < 3; ++i) key(Qt::Key_Right);
  key(Qt::Key_Down);
  settle(60);
  const int32_t column = grid("GridVersionConfig").cursorColumn;
  const int32_t editedRow = grid("GridVersionConfig").cursorRow;
  const std::string before = get_cell_text(app.ui, "GridVersionConfig", column, editedRow);
  ASSERT_EQ(column, 3);
  key(Qt::Key_Return);
  settle(100);
  ASSERT_TRUE(saw(Code::GridEditorOpened, "GridVersionConfig"));
  type(" typed");
  key(Qt::Key_Return);
  settle(100);
  EXPECT_TRUE(saw(Code::GridCommit, "GridVersionConfig"));
  EXPECT_EQ(get_cell_text(app.ui, "GridVersionConfig", column, editedRow), before + " typed");
  EXPECT_EQ(focused_object(), "GridVersionConfig");
}
