#include "finder-extension/nautilus/tests/RenderedMenuItem.h"

namespace quilla::test {
namespace {

struct ItemProperties {
    std::string name;
    std::string label;
    bool sensitive = false;
    NautilusMenu* menu = nullptr; // one reference
};

ItemProperties readItem(NautilusMenuItem* item) {
    char* name = nullptr;
    char* label = nullptr;
    gboolean sensitive = FALSE;
    NautilusMenu* menu = nullptr;
    g_object_get(item, "name", &name, "label", &label, "sensitive", &sensitive, "menu", &menu, nullptr);
    ItemProperties properties{name ? name : "", label ? label : "", sensitive != FALSE, menu};
    g_free(name);
    g_free(label);
    return properties;
}

// The items of a submenu, borrowed: the menu keeps them alive.
std::vector<NautilusMenuItem*> borrowedItems(NautilusMenu* menu) {
    std::vector<NautilusMenuItem*> items;
    GList* list = nautilus_menu_get_items(menu);
    for (GList* node = list; node; node = node->next) {
        items.push_back(NAUTILUS_MENU_ITEM(node->data));
    }
    g_list_free_full(list, g_object_unref);
    return items;
}

// Walks the tree, depth first; `visit` sees each item, then its submenu, then the submenu's
// items. The walk holds no reference of its own while visiting: owners keep everything alive.
void walk(const std::vector<NautilusMenuItem*>& items,
          const std::function<void(NautilusMenuItem*, const ItemProperties&)>& visit,
          const std::function<void(NautilusMenu*)>& visitMenu) {
    for (NautilusMenuItem* item : items) {
        auto properties = readItem(item);
        if (properties.menu) {
            g_object_unref(properties.menu); // the item still holds it
        }
        visit(item, properties);
        if (properties.menu) {
            visitMenu(properties.menu);
            walk(borrowedItems(properties.menu), visit, visitMenu);
        }
    }
}

void walk(GList* items, const std::function<void(NautilusMenuItem*, const ItemProperties&)>& visit,
          const std::function<void(NautilusMenu*)>& visitMenu) {
    std::vector<NautilusMenuItem*> topLevel;
    for (GList* node = items; node; node = node->next) {
        topLevel.push_back(NAUTILUS_MENU_ITEM(node->data));
    }
    walk(topLevel, visit, visitMenu);
}

} // namespace

std::vector<RenderedMenuItem> describeItems(GList* items) {
    std::vector<RenderedMenuItem> result;
    for (GList* node = items; node; node = node->next) {
        const auto properties = readItem(NAUTILUS_MENU_ITEM(node->data));
        RenderedMenuItem item{properties.label, properties.sensitive, std::nullopt};
        if (properties.menu) {
            GList* children = nautilus_menu_get_items(properties.menu);
            item.submenu = describeItems(children);
            g_list_free_full(children, g_object_unref);
            g_object_unref(properties.menu);
        }
        result.push_back(std::move(item));
    }
    return result;
}

std::vector<RenderedMenuItem> expectedItems(const FinderMenu& menu) {
    std::vector<RenderedMenuItem> result;
    for (const auto& item : menu.items) {
        if (item.separator || (item.submenu && !item.canRun())) {
            continue;
        }
        RenderedMenuItem rendered{item.title, item.enabled, std::nullopt};
        if (item.submenu) {
            rendered.submenu = expectedItems(*item.submenu);
        }
        result.push_back(std::move(rendered));
    }
    return result;
}

std::vector<std::string> itemNames(GList* items) {
    std::vector<std::string> names;
    walk(
        items, [&](NautilusMenuItem*, const ItemProperties& properties) { names.push_back(properties.name); },
        [](NautilusMenu*) {});
    return names;
}

NautilusMenuItem* findItem(GList* items, const std::string& label) {
    NautilusMenuItem* found = nullptr;
    walk(
        items,
        [&](NautilusMenuItem* item, const ItemProperties& properties) {
            if (!found && properties.label == label) {
                found = item;
            }
        },
        [](NautilusMenu*) {});
    return found;
}

void forEachObject(GList* items, const std::function<void(GObject*)>& visit) {
    walk(
        items, [&](NautilusMenuItem* item, const ItemProperties&) { visit(G_OBJECT(item)); },
        [&](NautilusMenu* menu) { visit(G_OBJECT(menu)); });
}

void PrintTo(const RenderedMenuItem& item, std::ostream* out) {
    *out << "{\"" << item.label << "\"" << (item.sensitive ? "" : " [disabled]");
    if (item.submenu) {
        *out << " [";
        for (const auto& child : *item.submenu) {
            PrintTo(child, out);
        }
        *out << "]";
    }
    *out << "}";
}

} // namespace quilla::test
