#pragma once

#include "finder-extension/core/FinderCustomDestinationSettings.h"
#include "finder-extension/core/FinderDiagnosticLog.h"
#include "finder-extension/core/FinderMenuModel.h"
#include "finder-extension/core/FinderSettingsSnapshot.h"

#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// Builds the items of one context menu from the settings, for one selection and target: one
/// submenu per feature (collapsed) or every feature's items in place (expanded), with the user's
/// destinations, applications, view presets and custom actions.
class FinderMenuBuilder final {
public:
    FinderMenuBuilder(FinderSettingsSnapshot& settings, std::vector<std::string> selectedPaths,
                      std::optional<std::string> targetedPath, FinderDiagnosticLines& diagnostics);

    /// The top-level items for the settings' layout (before any grouping under "Quilla").
    std::vector<FinderMenuItem> menuItems();

private:
    using Kind = FinderCustomDestinationKind;

    std::vector<FinderMenuItem> featureMenuItems();
    std::vector<FinderMenuItem> expandedFeatureMenuItems();
    std::vector<FinderMenuItem> directMenuItems(FinderFeature feature, const std::vector<FinderFeatureChild>& children);
    void appendChildItems(FinderFeature feature, const std::vector<FinderFeatureChild>& children,
                          std::vector<FinderMenuItem>& items);

    FinderMenuItem actionMenuItem(const FinderFeatureChild& child);
    FinderMenuItem contextMenuItem(std::string title, std::string actionID, FinderFeatureAction action,
                                   std::string destinationPath, bool enabled);
    std::vector<FinderMenuItem> quickOpenMenuItems(const std::vector<FinderFeatureChild>& children);
    std::optional<FinderMenuItem> destinationSubmenuItem(Kind kind);
    std::vector<FinderMenuItem> openWithApplicationMenuItems();
    std::vector<FinderMenuItem> finderViewPresetMenuItems();
    std::vector<FinderMenuItem> customShortcutMenuItems();
    bool isEnabled(const FinderFeatureAction& action) const;

    FinderSettingsSnapshot& settings_;
    FinderSelectedPaths selectedPaths_;
    std::optional<std::string> targetedPath_;
    FinderDiagnosticLines& diagnostics_;
};

/// An item that opens a submenu of the same title.
FinderMenuItem makeSubmenuItem(const std::string& title, std::vector<FinderMenuItem> items);

} // namespace quilla
