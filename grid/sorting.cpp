// Sorting a grid's rows by one column.
//
// Sections: order of two cells · the tree's sibling groups · moving the rows ·
// by name · the caption click.
//
// Whole rows move: their cells, their row records and, for a tree row, its
// children, which stay directly under it and are sorted among themselves.
// The cursor and the selection's other corner stay on the data rows they
// were on.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "grid/grid_internal.h"

namespace {

// ---- order of two cells --------------------------------------------------------------
// A cell that is wholly a number (surrounding blanks allowed) sorts by its
// value, before every text; texts sort by their bytes, which for UTF-8 is
// the order of the code points.
struct SortKey {
  bool numeric = false;     // the text is a number
  double value = 0;         // that number
  uint64_t prefix = 0;      // a text's first 8 bytes, big-endian, zero-padded
  size_t length = 0;        // its length
  const std::string* text;  // the cell's text
};

SortKey sort_key(const std::string& text) {
  SortKey key{false, 0, 0, text.size(), &text};
  // Most comparisons end in the first bytes; keeping them in the key spares
  // a visit to the cell for each.
  for (size_t i = 0; i < 8; ++i)
    key.prefix = (key.prefix << 8) | (i < text.size() ? static_cast<unsigned char>(text[i]) : 0u);
  const char* first = text.data();
  const char* last = first + text.size();
  while (first < last && (*first == ' ' || *first == '\t')) ++first;
  while (last > first && (last[-1] == ' ' || last[-1] == '\t')) --last;
  if (first < last && *first == '+') ++first;
  if (first == last) return key;
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  // "nan" and "inf" stay texts: a NaN would break the order.
  if (error == std::errc() && end == last && std::isfinite(value)) {
    key.numeric = true;
    key.value = value;
  }
  return key;
}

bool key_less(const SortKey& a, const SortKey& b) {
  if (a.numeric != b.numeric) return a.numeric;
  if (a.numeric) return a.value < b.value;
  if (a.prefix != b.prefix) return a.prefix < b.prefix;
  // Equal first bytes: texts that end within them differ by length only.
  if (a.length <= 8 && b.length <= 8) return a.length < b.length;
  return *a.text < *b.text;
}

// ---- the tree's sibling groups --------------------------------------------------------
// A row's subtree is the row and the rows after it that lie deeper; its
// siblings are the subtrees that follow it within its parent's subtree.
struct SortJob {
  const GridRecord& grid;
  int32_t column;                 // the column sorted by
  bool descending;                // largest first
  std::vector<SortKey> keys;      // one per row
  std::vector<int32_t> subtreeEnd;  // one past each row's subtree
  std::vector<int32_t> order;     // new position -> old row
};

void find_subtrees(SortJob& job) {
  const RowList& rows = job.grid.rows;
  const int32_t n = static_cast<int32_t>(rows.size());
  job.subtreeEnd.assign(static_cast<size_t>(n), n);
  // Rows whose subtree is still open, shallowest first.
  std::vector<int32_t> open;
  for (int32_t r = 0; r < n; ++r) {
    while (!open.empty() && rows[static_cast<size_t>(open.back())].level >= rows[static_cast<size_t>(r)].level) {
      job.subtreeEnd[static_cast<size_t>(open.back())] = r;
      open.pop_back();
    }
    open.push_back(r);
  }
}

// Appends the rows of [begin, end) to job.order: its sibling subtrees in
// sorted order, each head followed by its own children sorted the same way.
// A child lies deeper than its parent, so the depth of the calls is bounded
// by the number of levels.
void sort_range(SortJob& job, int32_t begin, int32_t end) {
  std::vector<int32_t> heads;
  for (int32_t r = begin; r < end; r = job.subtreeEnd[static_cast<size_t>(r)]) heads.push_back(r);
  std::stable_sort(heads.begin(), heads.end(), [&job](int32_t a, int32_t b) {
    const SortKey& ka = job.keys[static_cast<size_t>(a)];
    const SortKey& kb = job.keys[static_cast<size_t>(b)];
    return job.descending ? key_less(kb, ka) : key_less(ka, kb);
  });
  for (int32_t head : heads) {
    job.order.push_back(head);
    const int32_t childrenEnd = job.subtreeEnd[static_cast<size_t>(head)];
    if (head + 1 < childrenEnd) sort_range(job, head + 1, childrenEnd);
  }
}

// ---- moving the rows -----------------------------------------------------------------
void apply_order(GridRecord& g, const std::vector<int32_t>& order) {
  const size_t n = order.size();
  const size_t columns = static_cast<size_t>(g.columnCount);
  std::vector<int32_t> newPosition(n);
  for (size_t i = 0; i < n; ++i) newPosition[static_cast<size_t>(order[i])] = static_cast<int32_t>(i);

  // The rows move in place, cycle by cycle of the permutation, so a large
  // grid is not held twice while it is sorted.
  std::vector<bool> placed(n, false);
  std::vector<CellRecord> held(columns);
  for (size_t start = 0; start < n; ++start) {
    if (placed[start] || static_cast<size_t>(order[start]) == start) continue;
    RowRecord heldRow = std::move(g.rows[start]);
    for (size_t c = 0; c < columns; ++c) held[c] = std::move(g.cells[start * columns + c]);
    size_t at = start;
    for (;;) {
      const size_t from = static_cast<size_t>(order[at]);
      placed[at] = true;
      if (from == start) break;
      g.rows[at] = std::move(g.rows[from]);
      for (size_t c = 0; c < columns; ++c)
        g.cells[at * columns + c] = std::move(g.cells[from * columns + c]);
      at = from;
    }
    g.rows[at] = std::move(heldRow);
    for (size_t c = 0; c < columns; ++c) g.cells[at * columns + c] = std::move(held[c]);
  }
  // A row's PARENT names a row index, which moved with the rows.
  for (RowRecord& row : g.rows) {
    if (row.parent >= 0 && static_cast<size_t>(row.parent) < n)
      row.parent = newPosition[static_cast<size_t>(row.parent)];
  }

  for (int32_t* rowField : {&g.cursorRow, &g.selectionEndRow}) {
    if (*rowField >= 0 && static_cast<size_t>(*rowField) < n)
      *rowField = newPosition[static_cast<size_t>(*rowField)];
  }

  // Which rows are shown where has changed: every remembered walk is void.
  ++g.layoutGeneration;
  g.levelStackValid = false;
  g.walkAnchor = RowWalkAnchor{};
  g.rowRangeGeneration = 0;
}

}  // namespace

// ---- by name ----------------------------------------------------------------------------

bool sort_grid_rows(GridRecord& g, int32_t column, int8_t order) {
  if (column < 0 || column >= g.columnCount) return false;
  if (order != SortOrder::Ascending && order != SortOrder::Descending) return false;
  const size_t n = g.rows.size();
  if (g.source || g.cells.size() != n * static_cast<size_t>(g.columnCount)) return false;

  SortJob job{g, column, order == SortOrder::Descending, {}, {}, {}};
  job.keys.reserve(n);
  for (size_t r = 0; r < n; ++r) job.keys.push_back(sort_key(g.cells[r * static_cast<size_t>(g.columnCount) + static_cast<size_t>(column)].text));
  find_subtrees(job);
  job.order.reserve(n);
  sort_range(job, 0, static_cast<int32_t>(n));
  apply_order(g, job.order);
  g.sortColumn = static_cast<int16_t>(column);
  g.sortOrder = order;
  return true;
}

int32_t set_grid_sortable(Ui& ui, const std::string& grid, int8_t sortable) {
  NamedObject* obj = find_grid(ui, grid);
  if (!obj) return 0;
  grid_record(*obj)->sortable = sortable == 1 ? 1 : 0;
  return 1;
}

int32_t sort_grid(Ui& ui, const std::string& grid, int16_t column, int8_t order, int8_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  if (!obj) return 0;
  GridRecord& g = *grid_record(*obj);
  // An open editor commits into its cell before that cell moves.
  if (editor_is_open(g)) close_editor(ui, *obj, 0);
  if (!sort_grid_rows(g, column, order)) return 0;
  if (redraw == 1) redraw_grid(ui, *obj);
  return 1;
}

bool order_grid_record_rows(GridRecord& g, const std::vector<int32_t>& order) {
  const size_t n = g.rows.size();
  if (g.source || order.size() != n || g.cells.size() != n * static_cast<size_t>(g.columnCount)) return false;
  std::vector<bool> seen(n, false);
  for (int32_t r : order) {
    if (r < 0 || static_cast<size_t>(r) >= n || seen[static_cast<size_t>(r)]) return false;
    seen[static_cast<size_t>(r)] = true;
  }
  apply_order(g, order);
  g.sortColumn = -1;
  g.sortOrder = SortOrder::None;
  return true;
}

int32_t order_grid_rows(Ui& ui, const std::string& grid, const std::vector<int32_t>& order,
                        int8_t redraw) {
  NamedObject* obj = find_grid(ui, grid);
  if (!obj) return 0;
  GridRecord& g = *grid_record(*obj);
  if (editor_is_open(g)) close_editor(ui, *obj, 0);
  if (!order_grid_record_rows(g, order)) return 0;
  if (redraw == 1) redraw_grid(ui, *obj);
  return 1;
}

// ---- the caption click ------------------------------------------------------------------

bool sort_on_caption_click(Ui& ui, NamedObject& grid, const GridLayout& layout, int32_t rx) {
  GridRecord* g = grid_record(grid);
  // A source grid reports the click: its program sorts off the window's thread.
  if (!g || g->sortable != 1 || g->source) return false;
  for (const GridColumnSlot& c : layout.columns) {
    if (c.x <= rx && rx <= c.x + c.width) {
      // The same caption again turns the order round; another starts ascending.
      const int8_t order = g->sortColumn == c.column && g->sortOrder == SortOrder::Ascending
                               ? SortOrder::Descending
                               : SortOrder::Ascending;
      if (editor_is_open(*g)) close_editor(ui, grid, 0);
      if (!sort_grid_rows(*g, c.column, order)) return false;
      render_grid(ui, grid);
      return true;
    }
  }
  return false;
}
