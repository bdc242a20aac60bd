#include "finder-extension/nautilus/NautilusMenuRenderer.h"

#include <cstdint>

namespace quilla {
namespace {

static_assert(sizeof(gpointer) >= sizeof(std::uint64_t), "item IDs are stored as a pointer-sized integer");

} // namespace

NautilusMenuRenderer::NautilusMenuRenderer(std::string namePrefix, std::uint32_t generation, GQuark idKey)
    : namePrefix_(std::move(namePrefix)), generation_(generation), idKey_(idKey) {}

GList* NautilusMenuRenderer::toList(std::vector<ItemPtr> items) noexcept {
    GList* list = nullptr;
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        list = g_list_prepend(list, item->release());
    }
    return list;
}

std::optional<NautilusMenuItemID> NautilusMenuRenderer::itemID(NautilusMenuItem* item, GQuark idKey) {
    const auto packed = reinterpret_cast<std::uintptr_t>(g_object_get_qdata(G_OBJECT(item), idKey));
    if (packed == 0) {
        return std::nullopt;
    }
    return NautilusMenuItemID::unpacked(packed);
}

std::vector<NautilusMenuRenderer::ItemPtr> NautilusMenuRenderer::renderItems(const FinderMenu& menu,
                                                                             const std::string& namePath) {
    std::vector<ItemPtr> items;
    items.reserve(menu.items.size());
    for (const auto& item : menu.items) {
        // Files has no separators; a submenu none of whose items can run for this right-click is
        // noise there (the model and the diagnostics keep it).
        if (item.separator || (item.submenu && !item.canRun())) {
            continue;
        }
        // The position among the shown items names the item: unique, and unchanged as long as
        // the menu keeps its shape.
        items.push_back(renderItem(item, namePath + "_" + std::to_string(items.size())));
    }
    return items;
}

NautilusMenuRenderer::ItemPtr NautilusMenuRenderer::renderItem(const FinderMenuItem& model,
                                                               const std::string& name) {
    ItemPtr item(nautilus_menu_item_new(name.c_str(), model.title.c_str(), nullptr, nullptr));
    g_object_set(item.get(), "sensitive", model.enabled ? TRUE : FALSE, nullptr);
    if (model.submenu) {
        attachSubmenu(item.get(), *model.submenu, name);
    } else {
        makeActionable(item.get(), model);
    }
    return item;
}

void NautilusMenuRenderer::attachSubmenu(NautilusMenuItem* item, const FinderMenu& submenu,
                                         const std::string& name) {
    const GObjectPtr<NautilusMenu> menu(nautilus_menu_new());
    // append_item and set_submenu take their own references; ours go when the pointers do.
    for (const auto& child : renderItems(submenu, name)) {
        nautilus_menu_append_item(menu.get(), child.get());
    }
    nautilus_menu_item_set_submenu(item, menu.get());
}

void NautilusMenuRenderer::makeActionable(NautilusMenuItem* item, const FinderMenuItem& model) {
    const NautilusMenuItemID id{generation_, static_cast<std::uint32_t>(actionableItems_.size())};
    actionableItems_.push_back(&model);
    g_object_set_qdata(G_OBJECT(item), idKey_,
                       reinterpret_cast<gpointer>(static_cast<std::uintptr_t>(id.packed())));
}

} // namespace quilla
