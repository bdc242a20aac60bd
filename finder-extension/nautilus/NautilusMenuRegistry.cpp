#include "finder-extension/nautilus/NautilusMenuRegistry.h"

#include <algorithm>
#include <type_traits>
#include <variant>

namespace quilla {

void NautilusMenuRegistry::dropSelectionCopies(FinderMenu& menu) {
    for (auto& item : menu.items) {
        std::visit(
            [](auto& object) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(object)>, std::monostate>) {
                    object.selectedPaths = {}; // lets go of the menu's shared copy
                }
            },
            item.representedObject);
        if (item.submenu) {
            dropSelectionCopies(*item.submenu);
        }
    }
}

std::uint32_t NautilusMenuRegistry::nextGeneration() {
    ++lastGeneration_;
    if (lastGeneration_ == 0) {
        lastGeneration_ = 1;
    }
    return lastGeneration_;
}

void NautilusMenuRegistry::add(std::uint32_t generation, Menu menu) {
    menus_.emplace_back(generation, std::move(menu));
    while (menus_.size() > capacity) {
        menus_.pop_front();
    }
}

std::optional<NautilusMenuRegistry::Found> NautilusMenuRegistry::find(NautilusMenuItemID id) const {
    const auto entry = std::find_if(menus_.begin(), menus_.end(),
                                    [&](const auto& candidate) { return candidate.first == id.generation; });
    if (entry == menus_.end() || id.index >= entry->second.actionableItems.size()) {
        return std::nullopt;
    }
    return Found{*entry->second.actionableItems[id.index], entry->second};
}

} // namespace quilla
