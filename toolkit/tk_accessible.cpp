// Screen readers and the keyboard on gadgets the toolkit draws nothing into
// itself: the accessible interfaces of described gadgets and of their cells
// or items, the keys such gadgets take, their focus mark, and announcements.
//
// Sections: attachments · parts (cells, headers, tab items) · described
// gadgets · factory · keyboard and focus mark · the tk_ calls.
#include "toolkit/tk_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QWidget>

#include <list>
#include <utility>

#include "toolkit/tk.h"
#include "toolkit/tk_internal.h"
#include "toolkit/tk_native.h"
#include "toolkit/tk_widgets.h"

namespace tk {

// ---- attachments ---------------------------------------------------------------
// What a gadget carries for screen readers and the keyboard lives in small
// objects parented to its widget, so it goes with the widget and the gadget
// classes stay as they are.

namespace {

const QString kDescriptionTag = QStringLiteral("tk-description");
const QString kKeysTag = QStringLiteral("tk-keys");

// The owner's callbacks for one gadget.
class Description : public QObject {
 public:
  Description(QWidget* w, const TkDescriber* d, void* owner, void* object)
      : QObject(w), describer(d), owner(owner), object(object) {
    setObjectName(kDescriptionTag);
  }
  TkAccessible describe() const {
    TkAccessible out;
    if (describer->describe) describer->describe(owner, object, out);
    return out;
  }
  TkAccessibleCell cell(int32_t column, int32_t row) const {
    TkAccessibleCell out;
    if (describer->describeCell) describer->describeCell(owner, object, column, row, out);
    return out;
  }

  const TkDescriber* describer;  // the owner's callbacks
  void* owner;                   // handed back to them
  void* object;                  // handed back to them
};

// Where the keys typed in a gadget go, and whether it holds a keyboard focus.
class Keys : public QObject {
 public:
  Keys(QWidget* w, int32_t target) : QObject(w), target(target) { setObjectName(kKeysTag); }

  int32_t target;         // gadget whose key events they become
  bool fromKeyboard = false;  // the focus came by Tab (image gadgets)
};

Description* description_of(const QObject* w) {
  return w ? w->findChild<Description*>(kDescriptionTag, Qt::FindDirectChildrenOnly) : nullptr;
}

Keys* keys_of(const QObject* w) {
  return w ? w->findChild<Keys*>(kKeysTag, Qt::FindDirectChildrenOnly) : nullptr;
}

bool is_image_gadget(QWidget* w) {
  GadgetOps* ops = ops_of(w);
  return ops && ops->widget() == w && ops->kind == GadgetKind::Image;
}

QAccessible::Role qt_role(int32_t role) {
  switch (role) {
    case TK_ROLE_PUSH_BUTTON: return QAccessible::Button;
    case TK_ROLE_CHECK_BOX: return QAccessible::CheckBox;
    case TK_ROLE_RADIO_BUTTON: return QAccessible::RadioButton;
    case TK_ROLE_PAGE_TAB_LIST: return QAccessible::PageTabList;
    case TK_ROLE_PAGE_TAB: return QAccessible::PageTab;
    case TK_ROLE_GROUPING: return QAccessible::Grouping;
    case TK_ROLE_TABLE: return QAccessible::Table;
    case TK_ROLE_TREE_TABLE: return QAccessible::Tree;
    case TK_ROLE_SPLITTER: return QAccessible::Splitter;
    case TK_ROLE_GRAPHIC: return QAccessible::Graphic;
    case TK_ROLE_PANE: return QAccessible::Pane;
    case TK_ROLE_PAGE: return QAccessible::PropertyPage;
    case TK_ROLE_CELL: return QAccessible::Cell;
    case TK_ROLE_COLUMN_HEADER: return QAccessible::ColumnHeader;
    case TK_ROLE_ROW_HEADER: return QAccessible::RowHeader;
    default: return QAccessible::Client;
  }
}

bool is_table(int32_t role) { return role == TK_ROLE_TABLE || role == TK_ROLE_TREE_TABLE; }

// Our state bits added to the platform's.
void add_states(QAccessible::State& s, int32_t bits) {
  if (bits & TK_STATE_PRESSED) s.pressed = true;
  if (bits & TK_STATE_CHECKED) s.checked = true;
  if (bits & TK_STATE_SELECTED) s.selected = true;
  if (bits & TK_STATE_EXPANDABLE) {
    s.expandable = true;
    s.expanded = (bits & TK_STATE_EXPANDED) != 0;
    s.collapsed = !s.expanded;
  }
  if (bits & TK_STATE_HIDDEN) s.invisible = true;
}

// The parts a described gadget has ahead of its child widgets: a table's
// cells row by row, a tab list's items.
int32_t part_count(const TkAccessible& d) {
  if (is_table(d.role)) return d.columns > 0 && d.rows > 0 ? d.columns * d.rows : 0;
  if (d.role == TK_ROLE_PAGE_TAB_LIST) return std::max(0, d.columns);
  return 0;
}

class GadgetAccessible;

// ---- parts (cells, headers, tab items) --------------------------------------------
// Made on demand and kept by their gadget's interface, a bounded number of
// them; they ask the owner afresh on every call, so a part past the current
// end is simply invalid. A table asked for a cell outside it answers with
// its one `outside` part: invalid, but a cell all the same, because screen
// reader bridges use the answer without checking it for null.

// How many part interfaces a gadget keeps: a reader walking a large table
// costs no more than this; the least recently asked for go first.
constexpr int kMaxParts = 512;

class PartAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  PartAccessible(QWidget* w, int32_t column, int32_t row, bool outside = false)
      : widget_(w), column_(column), row_(row), outside_(outside) {}

  bool isValid() const override {
    const Description* d = description_of(widget_);
    if (!d || outside_) return false;
    const TkAccessible g = d->describe();
    if (row_ == -1) return column_ >= 0 && column_ < g.columns;
    if (column_ == -1) return row_ >= 0 && row_ < g.rows;
    const int32_t rows = is_table(g.role) ? g.rows : 1;  // a tab list has one row
    return column_ >= 0 && column_ < g.columns && row_ >= 0 && row_ < rows;
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return widget_ ? widget_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override {
    return widget_ ? QAccessible::queryAccessibleInterface(widget_) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name && t != QAccessible::Value) return {};
    return qs(cell().text);
  }
  void setText(QAccessible::Text, const QString&) override {}
  // On the screen, as screen readers place their highlight; empty while
  // the part is not shown.
  QRect rect() const override {
    const TkAccessibleCell c = cell();
    if (!widget_ || c.width <= 0 || c.height <= 0) return {};
    return {widget_->mapToGlobal(QPoint(c.x, c.y)), QSize(c.width, c.height)};
  }
  QAccessible::Role role() const override { return qt_role(cell().role); }
  QAccessible::State state() const override {
    QAccessible::State s;
    const TkAccessibleCell c = cell();
    add_states(s, c.states);
    if (row_ >= 0 && column_ >= 0) {
      s.selectable = true;
      s.focusable = true;
      s.focused = (c.states & TK_STATE_CURRENT) && widget_ && widget_->hasFocus();
      s.active = (c.states & TK_STATE_CURRENT) != 0;
    }
    return s;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableCellInterface && (outside_ || (row_ >= 0 && column_ >= 0)) && inTable())
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  // QAccessibleTableCellInterface
  bool isSelected() const override { return (cell().states & TK_STATE_SELECTED) != 0; }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override;
  int columnIndex() const override { return column_; }
  int rowIndex() const override { return row_; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  TkAccessibleCell cell() const {
    const Description* d = description_of(widget_);
    return d && !outside_ ? d->cell(column_, row_) : TkAccessibleCell{};
  }
  bool inTable() const {
    const Description* d = description_of(widget_);
    return d && is_table(d->describe().role);
  }

  QPointer<QWidget> widget_;
  int32_t column_;
  int32_t row_;
  bool outside_;  // the answer for cells outside the table: never valid
};

// ---- described gadgets ------------------------------------------------------------

class GadgetAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit GadgetAccessible(QWidget* w) : QAccessibleWidget(w) {}
  ~GadgetAccessible() override {
    for (const auto& [key, id] : recent_) QAccessible::deleteAccessibleInterface(id);
    if (outside_) QAccessible::deleteAccessibleInterface(outside_);
  }

  TkAccessible describe() const {
    const Description* d = description_of(widget());
    return d ? d->describe() : TkAccessible{};
  }
  TkAccessibleCell cell(int32_t column, int32_t row) const {
    const Description* d = description_of(widget());
    return d ? d->cell(column, row) : TkAccessibleCell{};
  }

  // The interface of one part: the one made before while it is kept.
  QAccessibleInterface* part(int32_t column, int32_t row) const {
    const qint64 key = (qint64(row + 1) << 32) | quint32(column + 1);
    if (auto it = parts_.constFind(key); it != parts_.constEnd()) {
      recent_.splice(recent_.end(), recent_, *it);  // asked for again: kept longest
      if (QAccessibleInterface* kept = QAccessible::accessibleInterface((*it)->second)) return kept;
      recent_.erase(*it);
      parts_.erase(it);
    }
    if (parts_.size() >= kMaxParts) {
      // A reader still holding the forgotten part finds it gone, as with a
      // row that was deleted.
      parts_.remove(recent_.front().first);
      QAccessible::deleteAccessibleInterface(recent_.front().second);
      recent_.pop_front();
    }
    auto* p = new PartAccessible(widget(), column, row);
    recent_.emplace_back(key, QAccessible::registerAccessibleInterface(p));
    parts_.insert(key, std::prev(recent_.end()));
    return p;
  }
  // The answer for a cell outside the table.
  QAccessibleInterface* outside() const {
    if (QAccessibleInterface* made = outside_ ? QAccessible::accessibleInterface(outside_) : nullptr)
      return made;
    auto* p = new PartAccessible(widget(), -1, -1, true);
    outside_ = QAccessible::registerAccessibleInterface(p);
    return p;
  }
  // The part at a child index, nullptr beyond the parts.
  QAccessibleInterface* partAt(const TkAccessible& d, int index) const {
    if (index < 0 || index >= part_count(d)) return nullptr;
    if (is_table(d.role)) return part(index % d.columns, index / d.columns);
    return part(index, 0);
  }

  QAccessible::Role role() const override { return qt_role(describe().role); }
  QString text(QAccessible::Text t) const override {
    if (t != QAccessible::Name) return QAccessibleWidget::text(t);
    const TkAccessible d = describe();
    if (!d.name.empty()) return qs(d.name);
    const QString tip = widget()->accessibleDescription();
    return tip.isEmpty() ? qs(d.fallbackName) : tip;
  }
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    const TkAccessible d = describe();
    add_states(s, d.states);
    if (d.role == TK_ROLE_CHECK_BOX || d.role == TK_ROLE_RADIO_BUTTON) s.checkable = true;
    return s;
  }
  int childCount() const override {
    return part_count(describe()) + QAccessibleWidget::childCount();
  }
  QAccessibleInterface* child(int index) const override {
    const TkAccessible d = describe();
    const int parts = part_count(d);
    return index < parts ? partAt(d, index) : QAccessibleWidget::child(index - parts);
  }
  int indexOfChild(const QAccessibleInterface* c) const override {
    const TkAccessible d = describe();
    if (auto* cell = c ? const_cast<QAccessibleInterface*>(c)->tableCellInterface() : nullptr;
        cell && c->parent() == this)
      return c->isValid() ? cell->rowIndex() * d.columns + cell->columnIndex() : -1;
    if (c && !c->object() && c->parent() == this && d.role == TK_ROLE_PAGE_TAB_LIST) {
      for (int i = 0; i < part_count(d); ++i)
        if (partAt(d, i) == c) return i;
    }
    const int i = QAccessibleWidget::indexOfChild(c);
    return i < 0 ? i : i + part_count(d);
  }
  QAccessibleInterface* focusChild() const override {
    const TkAccessible d = describe();
    if (is_table(d.role) && widget()->hasFocus() && d.selectionColumn >= 0 && d.selectionRow >= 0)
      return part(d.selectionColumn, d.selectionRow);
    return QAccessibleWidget::focusChild();
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableInterface && is_table(describe().role))
      return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  // A button is pressed as Space would press it.
  QStringList actionNames() const override {
    const int32_t role = describe().role;
    if (role == TK_ROLE_PUSH_BUTTON || role == TK_ROLE_CHECK_BOX || role == TK_ROLE_RADIO_BUTTON)
      return {pressAction()};
    return QAccessibleWidget::actionNames();
  }
  void doAction(const QString& name) override {
    GadgetOps* ops = ops_of(widget());
    if (name == pressAction() && ops && actionNames().contains(name))
      // A press action types Space.
      post_event(TK_EVENT_GADGET, ops->windowNumber, ops->number, TK_TYPE_KEY + TK_KEY_SPACE);
    else
      QAccessibleWidget::doAction(name);
  }

  // QAccessibleTableInterface: the selection is one rectangle of cells.
  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    const TkAccessible d = describe();
    if (row < 0 || row >= d.rows || column < 0 || column >= d.columns) return outside();
    return part(column, row);
  }
  // The selected cells, as many as the parts kept allow (so that every one
  // handed out is still alive when the list arrives).
  int selectedCellCount() const override { return int(selectedCells().size()); }
  QList<QAccessibleInterface*> selectedCells() const override {
    const Selection s = selection();
    QList<QAccessibleInterface*> out;
    for (int r = s.top; s.valid && r <= s.bottom && out.size() < kMaxParts; ++r)
      for (int c = s.left; c <= s.right && out.size() < kMaxParts; ++c) out.push_back(part(c, r));
    return out;
  }
  QString columnDescription(int column) const override { return qs(cell(column, -1).text); }
  QString rowDescription(int row) const override { return qs(cell(-1, row).text); }
  int selectedColumnCount() const override { return int(selectedColumns().size()); }
  int selectedRowCount() const override { return int(selectedRows().size()); }
  int columnCount() const override { return describe().columns; }
  int rowCount() const override { return describe().rows; }
  QList<int> selectedColumns() const override {
    const Selection s = selection();
    QList<int> out;
    if (s.valid && s.top == 0 && s.bottom == describe().rows - 1)
      for (int c = s.left; c <= s.right; ++c) out.push_back(c);
    return out;
  }
  QList<int> selectedRows() const override {
    const Selection s = selection();
    QList<int> out;
    if (s.valid && s.left == 0 && s.right == describe().columns - 1)
      for (int r = s.top; r <= s.bottom; ++r) out.push_back(r);
    return out;
  }
  bool isColumnSelected(int column) const override { return selectedColumns().contains(column); }
  bool isRowSelected(int row) const override { return selectedRows().contains(row); }
  // The selection follows the cursor, which only the keys and the mouse move.
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override {}

 private:
  struct Selection {
    bool valid = false;
    int left = 0, top = 0, right = 0, bottom = 0;
  };
  Selection selection() const {
    const TkAccessible d = describe();
    Selection s;
    if (d.selectionColumn < 0 || d.selectionRow < 0 || d.selectionEndColumn < 0 ||
        d.selectionEndRow < 0)
      return s;
    s.left = std::min(d.selectionColumn, d.selectionEndColumn);
    s.right = std::min(std::max(d.selectionColumn, d.selectionEndColumn), d.columns - 1);
    s.top = std::min(d.selectionRow, d.selectionEndRow);
    s.bottom = std::min(std::max(d.selectionRow, d.selectionEndRow), d.rows - 1);
    s.valid = s.left <= s.right && s.top <= s.bottom;
    return s;
  }

  // Part interfaces kept, the least recently asked for first, and where
  // each (row, column) key stands in that order.
  using Recent = std::list<std::pair<qint64, QAccessible::Id>>;
  mutable Recent recent_;
  mutable QHash<qint64, Recent::iterator> parts_;
  mutable QAccessible::Id outside_ = 0;  // the outside part, 0 until asked for
};

QList<QAccessibleInterface*> PartAccessible::columnHeaderCells() const {
  auto* table = widget_ ? dynamic_cast<GadgetAccessible*>(parent()) : nullptr;
  if (!table) return {};
  return {table->part(column_, -1)};
}

QList<QAccessibleInterface*> PartAccessible::rowHeaderCells() const {
  auto* table = widget_ ? dynamic_cast<GadgetAccessible*>(parent()) : nullptr;
  if (!table || table->cell(-1, row_).text.empty()) return {};
  return {table->part(-1, row_)};
}

// ---- factory ------------------------------------------------------------------------

QAccessibleInterface* describe_factory(const QString&, QObject* object) {
  if (!object || !object->isWidgetType() || !description_of(object)) return nullptr;
  return new GadgetAccessible(static_cast<QWidget*>(object));
}

// ---- keyboard and focus mark ----------------------------------------------------------

// The key code of a key the framework's controls answer, 0 for any other:
// Return and Escape, and on an image gadget also Space, the arrows, Page Up,
// Page Down, Home and End (with or without Shift) and Ctrl+Home, Ctrl+End.
int32_t control_key(const QKeyEvent* e, bool imageGadget) {
  const int32_t vk = virtual_key(e->key());
  const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
  if (mods & Qt::AltModifier) return 0;
  if (mods & Qt::ControlModifier)
    return imageGadget && !(mods & Qt::ShiftModifier) && (vk == TK_KEY_HOME || vk == TK_KEY_END) ? vk | TK_CONTROL : 0;
  const bool returnOrEscape = vk == TK_KEY_RETURN || vk == TK_KEY_ESCAPE;
  // Page Up, Page Down, End and Home lie just below Left.
  const bool spaceOrArrow = vk == TK_KEY_SPACE || (vk >= TK_KEY_PAGE_UP && vk <= TK_KEY_DOWN);
  if (!returnOrEscape && !(imageGadget && spaceOrArrow)) return 0;
  return (mods & Qt::ShiftModifier) ? vk | TK_SHIFT : vk;
}

// Focus from the keyboard, keys and the mark of an image gadget; Return and
// Escape of any other gadget.
class KeyFilter : public QObject {
 public:
  explicit KeyFilter(QObject* parent) : QObject(parent) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    auto* w = static_cast<QWidget*>(watched);
    Keys* keys = keys_of(w);
    if (!keys) return false;
    const bool image = is_image_gadget(w);
    switch (e->type()) {
      case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        keys->fromKeyboard = image && (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason);
        // Only a keyboard focus is news: a click reports itself.
        if (keys->fromKeyboard) {
          if (GadgetOps* ops = ops_of(w)) post_event(TK_EVENT_GADGET, ops->windowNumber, ops->number, TK_TYPE_FOCUS);
          w->update();
        }
        return false;
      }
      case QEvent::FocusOut:
        if (keys->fromKeyboard) w->update();
        keys->fromKeyboard = false;
        return false;
      case QEvent::KeyPress: {
        if (image && !keys->fromKeyboard) return false;
        const int32_t code = control_key(static_cast<QKeyEvent*>(e), image);
        GadgetOps* ops = ops_of(w);
        if (code == 0 || !ops) return false;
        post_event(TK_EVENT_GADGET, ops->windowNumber, keys->target, TK_TYPE_KEY + code);
        return true;
      }
      default:
        return false;
    }
  }
};

// The widget itself when it takes its keys now, else nullptr.
Keys* active_keys(QWidget* w) {
  Keys* keys = keys_of(w);
  if (!keys || keys->target == 0) return nullptr;
  return !is_image_gadget(w) || keys->fromKeyboard ? keys : nullptr;
}

}  // namespace

void install_accessible_factory() { QAccessible::installFactory(describe_factory); }

bool takes_own_key(QObject* watched, const QKeyEvent* e) {
  if (!watched->isWidgetType()) return false;
  auto* w = static_cast<QWidget*>(watched);
  return active_keys(w) && control_key(e, is_image_gadget(w)) != 0;
}

void paint_focus_mark(QWidget& w, QPainter& p) {
  if (!w.hasFocus() || !active_keys(&w)) return;
  // A blue ring, two pixels wide, with a dotted light edge inside: it shows
  // on every skin colour and over any picture.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x1E, 0x5A, 0xC8), 2));
  p.drawRect(QRectF(w.rect()).adjusted(1, 1, -1, -1));
  p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 1, Qt::DotLine));
  p.drawRect(w.rect().adjusted(2, 2, -3, -3));
}

}  // namespace tk

using namespace tk;

// ---- the tk_ calls ------------------------------------------------------------------------

int32_t tk_describe_gadget(int32_t gadget, const TkDescriber* describer, void* owner, void* object) {
  QWidget* w = tk_gadget_widget(gadget);
  if (!w) return 0;
  delete description_of(w);
  if (!describer) return 1;
  new Description(w, describer, owner, object);
  // An interface Qt made before the description (a widget disabled or shown
  // while it was being created) would hide it; a listening reader drops
  // what it cached of it and learns of the new one.
  QAccessibleInterface* old = QAccessible::queryAccessibleInterface(w);
  if (old && !dynamic_cast<GadgetAccessible*>(old)) {
    QAccessibleEvent gone(old, QAccessible::ObjectDestroyed);
    QAccessible::updateAccessibility(&gone);
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
    QAccessibleEvent made(w, QAccessible::ObjectCreated);
    QAccessible::updateAccessibility(&made);
  }
  return 1;
}

int32_t tk_set_gadget_label(int32_t label, int32_t gadget) {
  auto* text = qobject_cast<QLabel*>(tk_gadget_widget(label));
  QWidget* w = tk_gadget_widget(gadget);
  if (!text || !w) return 0;
  text->setBuddy(w);
  return 1;
}

int32_t tk_set_gadget_keys(int32_t gadget, int32_t target) {
  QWidget* w = tk_gadget_widget(gadget);
  if (!w) return 0;
  Keys* keys = keys_of(w);
  if (!keys) {
    keys = new Keys(w, target);
    w->installEventFilter(new KeyFilter(w));
  }
  keys->target = target;
  if (is_image_gadget(w)) w->setFocusPolicy(target != 0 ? Qt::StrongFocus : Qt::ClickFocus);
  return 1;
}

int32_t tk_keyboard_focus(int32_t gadget) {
  QWidget* w = tk_gadget_widget(gadget);
  if (!w) return 0;
  if (!w->window()->isActiveWindow()) w->window()->activateWindow();
  w->setFocus(Qt::TabFocusReason);
  return 1;
}

int32_t tk_has_keyboard_focus(int32_t gadget) {
  QWidget* w = tk_gadget_widget(gadget);
  return w && w->hasFocus() && active_keys(w) ? 1 : 0;
}

int32_t tk_announce(int32_t gadget, int32_t change, int32_t column, int32_t row) {
  if (!QAccessible::isActive()) return 0;
  QWidget* w = tk_gadget_widget(gadget);
  auto* iface = w ? dynamic_cast<GadgetAccessible*>(QAccessible::queryAccessibleInterface(w)) : nullptr;
  if (!iface) return 0;
  QAccessible::State selected;  // what moving the cursor or the shown tab changes
  selected.selected = selected.active = true;
  QAccessible::State opened;  // what opening or closing a tree row changes
  opened.expanded = opened.collapsed = true;
  switch (change) {
    case TK_CHANGE_NAME: {
      QAccessibleEvent event(w, QAccessible::NameChanged);
      QAccessible::updateAccessibility(&event);
      break;
    }
    case TK_CHANGE_STATE:
      return tk_announce_states(gadget, TK_STATE_PRESSED | TK_STATE_CHECKED | TK_STATE_EXPANDED);
    case TK_CHANGE_CURRENT: {
      const TkAccessible d = iface->describe();
      QAccessibleInterface* part =
          is_table(d.role) ? iface->cellAt(row, column) : iface->partAt(d, column);
      if (!part || !part->isValid()) break;
      QAccessibleStateChangeEvent now(part, selected);
      QAccessible::updateAccessibility(&now);
      QAccessibleEvent selection(part, QAccessible::Selection);
      QAccessible::updateAccessibility(&selection);
      if (w->hasFocus()) {
        QAccessibleEvent focus(part, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
      }
      break;
    }
    case TK_CHANGE_ROWS: {
      QAccessibleTableModelChangeEvent event(w, QAccessibleTableModelChangeEvent::ModelReset);
      QAccessible::updateAccessibility(&event);
      QAccessibleInterface* part = row >= 0 ? iface->cellAt(row, std::max(column, 0)) : nullptr;
      if (part && part->isValid()) {
        QAccessibleStateChangeEvent state(part, opened);
        QAccessible::updateAccessibility(&state);
      }
      break;
    }
    default:
      return 0;
  }
  return 1;
}

int32_t tk_announce_states(int32_t gadget, int32_t states) {
  if (!QAccessible::isActive()) return 0;
  QWidget* w = tk_gadget_widget(gadget);
  if (!w || !dynamic_cast<GadgetAccessible*>(QAccessible::queryAccessibleInterface(w))) return 0;
  // Readers hear one state per event, so each changed one goes on its own.
  for (int32_t bit : {TK_STATE_CHECKED, TK_STATE_EXPANDED, TK_STATE_PRESSED, TK_STATE_SELECTED}) {
    if (!(states & bit)) continue;
    QAccessible::State changed;
    if (bit == TK_STATE_CHECKED) changed.checked = true;
    if (bit == TK_STATE_EXPANDED) changed.expanded = changed.collapsed = true;
    if (bit == TK_STATE_PRESSED) changed.pressed = true;
    if (bit == TK_STATE_SELECTED) changed.selected = true;
    QAccessibleStateChangeEvent event(w, changed);
    QAccessible::updateAccessibility(&event);
  }
  return 1;
}
