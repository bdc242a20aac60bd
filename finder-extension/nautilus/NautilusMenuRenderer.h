#pragma once

#include "finder-extension/core/FinderMenuModel.h"
#include "finder-extension/nautilus/GLibPointers.h"
#include "finder-extension/nautilus/NautilusMenuRegistry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "finder-extension/nautilus/NautilusApi.h"

namespace quilla {

/// Turns one menu model into GNOME Files menu items: label, name, sensitivity and submenus (the
/// only properties Files 43 shows). Separators are dropped, since Files has none, and so are
/// submenus with nothing to run in them.
class NautilusMenuRenderer final {
public:
    /// Items are named `namePrefix` + their position ("QuillaFile_2_0"), unique within the menu and
    /// the same for the same menu shape. Actionable items carry `generation` and their index as
    /// data under `idKey`, and nothing else: no signal handler, no pointer.
    NautilusMenuRenderer(std::string namePrefix, std::uint32_t generation, GQuark idKey);

    using ItemPtr = GObjectPtr<NautilusMenuItem>;

    /// The top-level items of `menu`.
    std::vector<ItemPtr> render(const FinderMenu& menu) { return renderItems(menu, namePrefix_); }
    /// The items as the list Files expects, one reference each for Files.
    static GList* toList(std::vector<ItemPtr> items) noexcept;
    /// The actionable items rendered so far, in the order of their indexes; they point into the
    /// menu given to `render`.
    std::vector<const FinderMenuItem*> takeActionableItems() { return std::move(actionableItems_); }

    /// The ID a rendered actionable item carries under `idKey`; nothing for other items.
    static std::optional<NautilusMenuItemID> itemID(NautilusMenuItem* item, GQuark idKey);

private:
    std::vector<ItemPtr> renderItems(const FinderMenu& menu, const std::string& namePath);
    ItemPtr renderItem(const FinderMenuItem& item, const std::string& name);
    void attachSubmenu(NautilusMenuItem* item, const FinderMenu& submenu, const std::string& name);
    void makeActionable(NautilusMenuItem* item, const FinderMenuItem& model);

    std::string namePrefix_;
    std::uint32_t generation_;
    GQuark idKey_;
    std::vector<const FinderMenuItem*> actionableItems_;
};

} // namespace quilla
