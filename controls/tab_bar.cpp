// Skinned tab bars: the layout of the tabs, composing the bar from its
// eleven skin pieces, and clicks (tab selection, page switching, scrolling).
//
// Sections: layout · drawing · page buttons · clicks · the kind's hooks.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "controls/button_looks.h"
#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "controls/tab_bar_geometry.h"
#include "framework/framework.h"
#include "toolkit/tk.h"
#include "toolkit/tk_image_owner.h"

namespace zui {

// ---- layout ----------------------------------------------------------------

int32_t equal_tab_width(int32_t barWidth, int32_t pieceWidth,
                        const std::vector<int32_t>& captionWidths) {
  const int32_t w = barWidth / 3;
  for (int32_t tw : captionWidths)
    if (tw + 2 * pieceWidth > w) return 0;
  return w;
}

TabBarLayout layout_tab_bar(const TabBarRecord& bar, const std::string& selectedKey,
                            int32_t barWidth, int32_t equalWidth) {
  TabBarLayout L;
  L.pieceWidth = bar.pieceWidth;
  L.barWidth = barWidth;
  // A piece width of 0 or less would never advance the drawing position.
  if (L.pieceWidth <= 0) return L;
  L.valid = true;
  const int32_t p = L.pieceWidth;
  const int32_t count = int32_t(bar.tabs.size());
  const int32_t firstShown = std::max<int32_t>(0, bar.firstVisibleTab);

  int32_t x = 0;
  bool previousSelected = false;
  L.firstWalked = firstShown;
  L.walkedEnd = firstShown;
  for (int32_t i = firstShown; i < count; ++i) {
    const int32_t width = equalWidth > 0 ? equalWidth : bar.tabs[size_t(i)].width;
    L.walkedEnd = i + 1;
    if (x + width > barWidth) {
      // The previous tab gets its right end; the rest is reached by scrolling.
      L.overflow = true;
      L.overflowCapX = x;
      L.overflowCapSelected = previousSelected;
      x += p;
      break;
    }
    TabSlot s;
    s.index = i;
    s.x = x;
    s.width = width;
    s.selected = bar.tabs[size_t(i)].key == selectedKey;
    s.first = i == firstShown;
    s.textOrigin = s.first ? x : x - p / 2;
    x += p;
    s.fills = std::max<int32_t>(0, width / p - 1);
    x += s.fills * p;
    if (i == count - 1) {
      s.capX = x;
      x += p;
    }
    s.end = x;
    previousSelected = s.selected;
    L.slots.push_back(s);
  }
  L.fillerX = x;
  L.arrows = bar.firstVisibleTab >= 1 || L.overflow;
  return L;
}

int32_t tab_at(const TabBarLayout& layout, int32_t rx) {
  if (!layout.valid) return -1;
  const int32_t W = layout.barWidth;
  if (layout.arrows && rx >= W - kTabArrowsZone && rx <= W) return -1;
  int32_t hit = -1;
  // Shared edges go to the later tab, whose junction piece is drawn there.
  for (const TabSlot& s : layout.slots)
    if (s.x <= rx && rx <= s.end) hit = s.index;
  return hit;
}

// ---- drawing ---------------------------------------------------------------

int32_t draw_tab_bar(Ui& ui, NamedObject& o) {
  TabBarRecord* record = tab_bar_record(o);
  if (!o.canvas || !record || drawing_owed(ui, o)) return 0;
  CanvasRecord& c = *o.canvas;
  TabBarRecord& bar = *record;
  if (!tk_image_exists(c.sourceImage) || !tk_image_exists(c.canvasImage)) return 0;
  const int32_t p = bar.pieceWidth;
  if (p <= 0 || o.width <= 0 || o.height <= 0) return 0;

  tk_resize_image(c.canvasImage, o.width, o.height);
  const int32_t W = tk_image_width(c.canvasImage);
  tk_start_drawing(tk_image_output(c.canvasImage));
  use_skin_text_settings(ui, o);

  // The pieces live only while the bar is composed.
  std::array<TkImage, kTabPieceCount> piece;
  for (int n = 0; n < kTabPieceCount; ++n) {
    const TabPieceRect r = tab_piece_rect(TabPiece(n), p);
    piece[size_t(n)].reset(cut_image(c.sourceImage, r.x, 0, r.w, kTabRowHeight));
  }
  auto draw_piece = [&](TabPiece n, int32_t x) {
    if (const int32_t image = piece[size_t(n)].get()) tk_draw_image(tk_image_handle(image), x, 0);
  };

  int32_t equalWidth = 0;
  if (bar.equalWidths == 1) {
    std::vector<int32_t> captionWidths;
    captionWidths.reserve(bar.tabs.size());
    for (const TabEntry& t : bar.tabs) captionWidths.push_back(tk_text_width(t.caption));
    equalWidth = equal_tab_width(W, p, captionWidths);
  }

  const TabBarLayout L = layout_tab_bar(bar, o.text, W, equalWidth);
  // The walked tabs keep the equal width; clicks use the stored widths.
  if (equalWidth > 0)
    for (int32_t i = L.firstWalked; i < L.walkedEnd; ++i) bar.tabs[size_t(i)].width = int16_t(equalWidth);
  bool previousSelected = false;
  for (const TabSlot& s : L.slots) {
    TabPiece left;
    if (s.first)
      left = s.selected ? TabPiece::LeftFirstSelected : TabPiece::LeftFirst;
    else if (s.selected)
      left = TabPiece::JunctionToSelected;
    else
      left = previousSelected ? TabPiece::JunctionFromSelected : TabPiece::Junction;
    draw_piece(left, s.x);
    for (int32_t k = 0; k < s.fills; ++k)
      draw_piece(s.selected ? TabPiece::FillSelected : TabPiece::Fill, s.x + p * (k + 1));
    if (s.capX >= 0) draw_piece(s.selected ? TabPiece::RightEndSelected : TabPiece::RightEnd, s.capX);

    const std::string& caption = bar.tabs[size_t(s.index)].caption;
    const int32_t tw = tk_text_width(caption);
    const int32_t th = tk_text_height(caption);
    const int32_t span = s.index > 0 ? s.width + p : s.width + p / 2;
    tk_draw_text(s.textOrigin + (span - tw) / 2, (21 - th) / 2, caption);
    previousSelected = s.selected;
  }
  if (L.overflowCapX >= 0)
    draw_piece(L.overflowCapSelected ? TabPiece::RightEndSelected : TabPiece::RightEnd,
               L.overflowCapX);
  for (int32_t x = L.fillerX; x < W; x += p) draw_piece(TabPiece::Filler, x);
  if (L.arrows) draw_piece(TabPiece::Arrows, W - kTabArrowsZone);

  tk_stop_drawing();
  show_in_gadget(o.gadget, c.canvasImage);
  return 0;
}

// ---- page buttons ----------------------------------------------------------

void reset_page_buttons(Ui& ui, NamedObject& bar, const std::string& pageName) {
  for (NamedObject* o = window_walk_start(ui); o; o = o->next) {
    if (o->window != bar.window || o->hidden >= HiddenFlag::ByName) continue;
    if (!has_image_strip(*o)) continue;
    if (is_descendant_of(ui, *o, pageName) != 1) continue;
    button_leave(ui, *o, 1);
    if (o->gadget && tk_gadget_exists(o->gadget)) {
      tk_hide_gadget(o->gadget, 1);
      tk_hide_gadget(o->gadget, 0);
    }
  }
}

// ---- clicks ----------------------------------------------------------------

void tab_bar_click(Ui& ui, NamedObject& o, int32_t mouseX, int32_t mouseY) {
  TabBarRecord* record = tab_bar_record(o);
  if (!record) return;
  const int32_t rx = mouseX - o.absX;
  const int32_t ry = mouseY - o.absY;
  if (ry < 0 || ry > kTabRowHeight) return;

  TabBarRecord& bar = *record;
  const std::string oldKey = o.text;
  const int32_t W =
      o.canvas && tk_image_exists(o.canvas->canvasImage) ? tk_image_width(o.canvas->canvasImage)
                                                           : o.width;
  const TabBarLayout L = layout_tab_bar(bar, o.text, W);
  if (!L.valid) return;

  const int32_t hit = tab_at(L, rx);
  if (hit >= 0) {
    o.text = bar.tabs[size_t(hit)].key;
    bar.selectedIndex = int8_t(hit);
    if (WindowRecord* win = window_of(ui, o)) win->eventCode = Code::TabSelected;
  }

  const int32_t count = int32_t(bar.tabs.size());
  if (rx >= W - kTabArrowsZone && rx <= W) {
    if (ry >= 12 && ry <= 19)
      bar.firstVisibleTab = int8_t(std::max<int32_t>(0, bar.firstVisibleTab - 1));
    else if (ry >= 3 && ry <= 10 && L.overflow)
      bar.firstVisibleTab = int8_t(std::min<int32_t>(bar.firstVisibleTab + 1, count - 1));
  }

  if (o.text != oldKey && hit >= 0) show_page(ui, o, hit);
  draw_tab_bar(ui, o);
}

// ---- the kind's hooks ------------------------------------------------------
namespace {

// The dispatched window is the current one: a hit reports code 91 there.
void on_press(Ui& ui, WindowRecord&, NamedObject& o, const ToolkitEvent& e) {
  tab_bar_click(ui, o, e.mouseX, e.mouseY);
}

// The bar's text keeps the selected key (its drawing and its clicks compare
// tab keys against it); by name it reads as the selected index.
bool text_get(Ui&, NamedObject& o, std::string& out) {
  const TabBarRecord* bar = tab_bar_record(o);
  if (!bar) return false;
  out = std::to_string(bar->selectedIndex);
  return true;
}

void clear_tabs(Ui&, NamedObject& o) {
  TabBarRecord* bar = tab_bar_record(o);
  if (!bar) return;
  bar->tabs.clear();
  bar->tabCount = 0;
  bar->firstVisibleTab = 0;
}

// A page shared with the selected tab is not hidden.
void hidden_pages(const NamedObject& o, std::vector<std::string>& out) {
  const TabBarRecord* bar = tab_bar_record(o);
  if (!bar) return;
  const int32_t selected = bar->selectedIndex;
  const std::string shown =
      selected >= 0 && selected < int32_t(bar->tabs.size()) ? bar->tabs[size_t(selected)].pageName
                                                            : "";
  for (const TabEntry& tab : bar->tabs)
    if (!tab.pageName.empty() && tab.pageName != shown) out.push_back(tab.pageName);
}

// The selected tab's caption wins when several tabs show the page.
void page_caption(const NamedObject& o, const std::string& page, std::string& caption) {
  const TabBarRecord* bar = tab_bar_record(o);
  if (!bar) return;
  for (size_t i = 0; i < bar->tabs.size(); ++i) {
    if (bar->tabs[i].pageName != page) continue;
    if (caption.empty() || int(i) == bar->selectedIndex) caption = bar->tabs[i].caption;
  }
}

void renamed(NamedObject& o, const std::string& oldName, const std::string& newName) {
  TabBarRecord* bar = tab_bar_record(o);
  if (!bar) return;
  for (TabEntry& tab : bar->tabs) {
    if (tab.barName == oldName) tab.barName = newName;
    if (tab.pageName == oldName) tab.pageName = newName;
  }
}

}  // namespace

void add_tab_bar_hooks(KindBehaviour& k) {
  k.draw = [](Ui& ui, NamedObject& o) { draw_tab_bar(ui, o); };
  k.press = on_press;
  k.textGet = text_get;
  k.valueInRecord = true;
  k.clearItems = clear_tabs;
  k.hiddenPages = hidden_pages;
  k.pageCaption = page_caption;
  k.renamed = renamed;
}

}  // namespace zui
