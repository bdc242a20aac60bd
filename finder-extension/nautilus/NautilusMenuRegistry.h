#pragma once

#include "finder-extension/core/FinderMenuModel.h"
#include "finder-extension/nautilus/NautilusFileSelection.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace quilla {

/// The only thing a rendered Nautilus item carries: which menu it came from and which of that
/// menu's actionable items it is. Files never frees submenu items, so they must stay this small.
struct NautilusMenuItemID {
    std::uint32_t generation = 0;
    std::uint32_t index = 0;

    bool operator==(const NautilusMenuItemID&) const = default;

    /// The ID as one non-zero integer, for a GObject data pointer.
    std::uint64_t packed() const { return (std::uint64_t{generation} << 32) | index; }
    static NautilusMenuItemID unpacked(std::uint64_t value) {
        return {static_cast<std::uint32_t>(value >> 32), static_cast<std::uint32_t>(value)};
    }
};

/// The provider's memory of the menus it handed to Files, bounded to the last few: the menu model,
/// its actionable items in rendering order, and the selection it was built for. Files asks for a
/// new menu on every selection change, so older menus are forgotten as new ones arrive.
class NautilusMenuRegistry final {
public:
    /// Menus remembered at most. Files builds two per selection change (items and background),
    /// so this covers the menu on screen even when a rebuild slips in before the click.
    static constexpr std::size_t capacity = 8;

    struct Menu {
        std::shared_ptr<const FinderMenu> model;
        std::vector<const FinderMenuItem*> actionableItems; ///< point into `model`
        NautilusFileSelection selection;
    };

    /// A clicked item found again: the item and the menu it belongs to.
    struct Found {
        const FinderMenuItem& item;
        const Menu& menu;
    };

    /// Lets go of the selection the items of `menu` share in their contexts and dictionaries, so
    /// that a remembered menu holds its selection once, in `selection`. Nothing is lost, because
    /// the click handler takes the host's selection (set to the menu's) before an item's own, and
    /// the two are the same.
    static void dropSelectionCopies(FinderMenu& menu);

    /// A fresh generation number for the next menu (never 0).
    std::uint32_t nextGeneration();
    /// Remembers `menu` under `generation`, forgetting the oldest menu beyond the capacity.
    void add(std::uint32_t generation, Menu menu);
    /// The item `id` stands for, if its menu is still remembered.
    std::optional<Found> find(NautilusMenuItemID id) const;
    /// Number of menus remembered.
    std::size_t size() const { return menus_.size(); }

private:
    std::uint32_t lastGeneration_ = 0;
    std::deque<std::pair<std::uint32_t, Menu>> menus_;
};

} // namespace quilla
