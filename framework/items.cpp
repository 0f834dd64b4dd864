// Item lists of list-type widgets: entries with a key and a display text.
//
// Sections: helpers · adding and removing · selection.
//
// Each object keeps its entries in its own ItemListRecord, so entries of two
// objects can never mix, not even when an object number is reused after a
// removal. Combo boxes, list boxes and trees mirror their entries in the
// gadget at the same positions.
#include <string>

#include "framework/framework.h"
#include "framework/kinds.h"
#include "toolkit/tk.h"

namespace zui {

// ---- helpers ---------------------------------------------------------------
namespace {

// The named object's item list, nullptr when unknown or without one; the
// object is current afterwards when it exists.
ItemListRecord* item_list(Ui& ui, const std::string& name) {
  if (find_object(ui, name, 0) != 1) return nullptr;
  return current_object(ui)->itemData.get();
}

bool mirrors_gadget(int8_t kind) {
  return kind == Kind::Combo || kind == Kind::List || kind == Kind::Tree;
}

}  // namespace

// ---- adding and removing ---------------------------------------------------

int32_t add_item(Ui& ui, const std::string& name, const std::string& key,
                 const std::string& display, int32_t image, int8_t level, int32_t position) {
  ItemListRecord* items = item_list(ui, name);
  if (!items) return 0;
  NamedObject* o = current_object(ui);

  // A position outside the object's entries appends.
  const bool inside = position >= 0 && position < items->count;
  const int32_t index = inside ? position : items->count;
  ItemEntry entry;
  entry.owner = o->number;
  entry.key = key;
  entry.display = display;
  entry.image = image;
  items->entries.insert(items->entries.begin() + index, entry);
  ++items->count;

  if (mirrors_gadget(o->kind)) {
    const int32_t bitmap = tk_image_exists(image) ? tk_image_handle(image) : 0;
    tk_add_gadget_item(o->gadget, inside ? position : -1, display, bitmap, level);
    // The key given at creation selects its entry as soon as it is added.
    if (o->text == key) {
      tk_set_gadget_text(o->gadget, display);
      tk_set_gadget_state(o->gadget, index);
    }
  }
  return 0;
}

int32_t remove_item(Ui& ui, const std::string& name, int32_t position) {
  ItemListRecord* items = item_list(ui, name);
  if (!items || items->count == 0) return 0;
  NamedObject* o = current_object(ui);
  // A position beyond the entries removes the last one.
  const int32_t index = position >= 0 && position < items->count ? position : items->count - 1;
  const int32_t image = items->entries[index].image;
  if (tk_image_exists(image)) tk_free_image(image);
  items->entries.erase(items->entries.begin() + index);
  --items->count;
  tk_remove_gadget_item(o->gadget, index);
  return 0;
}

int32_t clear_items(Ui& ui, const std::string& name) {
  if (find_object(ui, name, 0) != 1) return 0;
  NamedObject* o = current_object(ui);
  if (ItemListRecord* items = o->itemData.get()) {
    for (ItemEntry& e : items->entries)
      if (tk_image_exists(e.image)) tk_free_image(e.image);
    items->entries.clear();
    items->count = 0;
    // The gadget's own items are left alone.
  } else if (auto clear = kind_behaviour(ui, o->kind).clearItems) {
    clear(ui, *o);
  }
  return 0;
}

// ---- selection -------------------------------------------------------------

std::string selected_key(Ui& ui, const std::string& name) {
  ItemListRecord* items = item_list(ui, name);
  if (!items) return {};
  const int32_t state = tk_get_gadget_state(current_object(ui)->gadget);
  if (state < 0 || state >= items->count) return {};
  return items->entries[state].key;
}

int32_t select_item(Ui& ui, const std::string& name, const std::string& key, int8_t force) {
  ItemListRecord* items = item_list(ui, name);
  if (!items) return 0;
  for (const ItemEntry& e : items->entries) {
    if (e.key == key) {
      const std::string display = e.display;  // set_text may touch the list
      set_text(ui, *current_object(ui), display, force);
      break;
    }
  }
  return 0;
}

}  // namespace zui
