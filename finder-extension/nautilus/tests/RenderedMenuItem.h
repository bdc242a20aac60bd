#pragma once

#include "finder-extension/core/FinderMenuModel.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "finder-extension/nautilus/NautilusApi.h"

namespace quilla::test {

/// What Files shows of one menu item, read back from the Nautilus objects.
struct RenderedMenuItem {
    std::string label;
    bool sensitive = false;
    std::optional<std::vector<RenderedMenuItem>> submenu;

    bool operator==(const RenderedMenuItem&) const = default;
};

/// The shown tree of a list of Nautilus items.
std::vector<RenderedMenuItem> describeItems(GList* items);
/// What the menu model should look like once rendered: separators gone, the rest as is.
std::vector<RenderedMenuItem> expectedItems(const FinderMenu& menu);

/// The names of all items of the tree, depth first.
std::vector<std::string> itemNames(GList* items);
/// The first item of the tree (depth first) whose label is `label`; borrowed.
NautilusMenuItem* findItem(GList* items, const std::string& label);
/// Calls `visit` for every item of the tree, depth first, and for every submenu object, holding no
/// reference of its own meanwhile (so reference counts show the owners only).
void forEachObject(GList* items, const std::function<void(GObject*)>& visit);

void PrintTo(const RenderedMenuItem& item, std::ostream* out);

} // namespace quilla::test
