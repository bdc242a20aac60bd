#pragma once

#include "finder-extension/core/FinderActionContext.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace quilla {

/// The view-preset items carry a string dictionary instead of a context ("actionID", "title",
/// "selectedPaths", "targetedPath", "destinationPath", "presetID").
struct FinderMenuDictionary {
    std::string actionID;
    std::string title;
    FinderSelectedPaths selectedPaths;
    std::string targetedPath;
    std::string destinationPath;
    std::string presetID;

    bool operator==(const FinderMenuDictionary&) const = default;
};

/// One item of a context menu, as the hosts render it. Items that only open a submenu and
/// separators carry no represented object.
struct FinderMenuItem {
    using RepresentedObject = std::variant<std::monostate, FinderActionContext, FinderMenuDictionary>;

    std::string title;
    bool enabled = true;
    bool separator = false;
    std::optional<std::string> identifier;
    std::optional<long> tag;
    RepresentedObject representedObject;
    std::shared_ptr<struct FinderMenu> submenu;

    static FinderMenuItem makeSeparator() {
        FinderMenuItem item;
        item.separator = true;
        return item;
    }
    /// The action ID of the represented object, if it has one.
    std::optional<std::string> actionID() const;
    /// Whether choosing this item can do something: an enabled item that is no submenu, or a
    /// submenu holding such an item at any depth.
    bool canRun() const;
};

/// A menu: a title and its items in order.
struct FinderMenu {
    std::string title;
    std::vector<FinderMenuItem> items;
};

} // namespace quilla
