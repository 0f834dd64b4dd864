// Not yet built: placeholder bodies so that every layer links.
#pragma GCC diagnostic ignored "-Wunused-parameter"
#include "framework/framework.h"

int32_t add_item(Ui& ui, const std::string& name, const std::string& key, const std::string& display, int32_t image, int8_t level, int32_t position) { return {}; }
int32_t remove_item(Ui& ui, const std::string& name, int32_t position) { return {}; }
int32_t clear_items(Ui& ui, const std::string& name) { return {}; }
std::string selected_key(Ui& ui, const std::string& name) { return {}; }
