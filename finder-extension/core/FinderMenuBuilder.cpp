#include "finder-extension/core/FinderMenuBuilder.h"

#include "shared/L10n.h"
#include "shared/LogText.h"

namespace quilla {
namespace {

constexpr long kPresetTagBase = 700000;

// Children that hand the choice of folder to the application stay enabled without a selection.
bool isAlwaysEnabledChild(const std::string& actionID) {
    return actionID == "copyFilesToPath" || actionID == "moveFilesToPath" || actionID == "copyFilesToFolder" ||
           actionID == "moveFilesToFolder";
}

} // namespace

FinderMenuItem makeSubmenuItem(const std::string& title, std::vector<FinderMenuItem> items) {
    FinderMenuItem item;
    item.title = title;
    item.submenu = std::make_shared<FinderMenu>(FinderMenu{title, std::move(items)});
    return item;
}

FinderMenuBuilder::FinderMenuBuilder(FinderSettingsSnapshot& settings, std::vector<std::string> selectedPaths,
                                     std::optional<std::string> targetedPath, FinderDiagnosticLines& diagnostics)
    : settings_(settings), selectedPaths_(std::move(selectedPaths)), targetedPath_(std::move(targetedPath)),
      diagnostics_(diagnostics) {}

std::vector<FinderMenuItem> FinderMenuBuilder::menuItems() {
    return settings_.menuSettings().layout == FinderMenuLayout::expanded ? expandedFeatureMenuItems()
                                                                         : featureMenuItems();
}

std::vector<FinderMenuItem> FinderMenuBuilder::featureMenuItems() {
    const auto& menuSettings = settings_.menuSettings();
    std::vector<FinderMenuItem> items;
    for (const auto feature : menuSettings.features) {
        if (feature == FinderFeature::customActions) {
            auto actions = customShortcutMenuItems();
            if (!actions.empty()) {
                items.push_back(makeSubmenuItem(title(feature), std::move(actions)));
            }
            continue;
        }
        const auto children = menuSettings.children(feature);
        if (children.empty()) {
            continue;
        }
        std::vector<FinderMenuItem> submenu;
        if (feature == FinderFeature::quickOpen) {
            submenu = quickOpenMenuItems(children);
        } else if (feature == FinderFeature::viewOptions) {
            submenu = finderViewPresetMenuItems(); // may be empty; the feature is still shown
        } else {
            appendChildItems(feature, children, submenu);
        }
        items.push_back(makeSubmenuItem(title(feature), std::move(submenu)));
    }
    return items;
}

std::vector<FinderMenuItem> FinderMenuBuilder::expandedFeatureMenuItems() {
    const auto& menuSettings = settings_.menuSettings();
    std::vector<FinderMenuItem> items;
    for (const auto feature : menuSettings.features) {
        auto featureItems = directMenuItems(feature, menuSettings.children(feature));
        if (featureItems.empty()) {
            continue;
        }
        items.reserve(items.size() + featureItems.size() + 1);
        if (!items.empty()) {
            items.push_back(FinderMenuItem::makeSeparator());
        }
        std::move(featureItems.begin(), featureItems.end(), std::back_inserter(items));
    }
    return items;
}

std::vector<FinderMenuItem> FinderMenuBuilder::directMenuItems(FinderFeature feature,
                                                               const std::vector<FinderFeatureChild>& children) {
    switch (feature) {
    case FinderFeature::quickOpen:
        return quickOpenMenuItems(children);
    case FinderFeature::viewOptions:
        return finderViewPresetMenuItems();
    case FinderFeature::customActions:
        return customShortcutMenuItems();
    default:
        break;
    }
    std::vector<FinderMenuItem> items;
    appendChildItems(feature, children, items);
    return items;
}

void FinderMenuBuilder::appendChildItems(FinderFeature feature, const std::vector<FinderFeatureChild>& children,
                                         std::vector<FinderMenuItem>& items) {
    for (const auto& child : children) {
        items.push_back(actionMenuItem(child));
    }
    if (feature == FinderFeature::openWith) {
        auto applications = openWithApplicationMenuItems();
        std::move(applications.begin(), applications.end(), std::back_inserter(items));
    }
    const std::optional<Kind> destinationKind = feature == FinderFeature::copyFile       ? std::optional(Kind::copy)
                                                : feature == FinderFeature::organizeFile ? std::optional(Kind::move)
                                                                                         : std::nullopt;
    if (destinationKind) {
        if (auto submenu = destinationSubmenuItem(*destinationKind)) {
            items.push_back(std::move(*submenu));
        }
    }
}

FinderMenuItem FinderMenuBuilder::actionMenuItem(const FinderFeatureChild& child) {
    const bool enabled = isAlwaysEnabledChild(child.actionID) || isEnabled(child.action);
    return contextMenuItem(child.title, child.actionID, child.action, {}, enabled);
}

FinderMenuItem FinderMenuBuilder::contextMenuItem(std::string title, std::string actionID, FinderFeatureAction action,
                                                  std::string destinationPath, bool enabled) {
    FinderMenuItem item;
    item.title = title;
    item.enabled = enabled;
    item.representedObject = FinderActionContext{std::move(actionID), std::move(title),          action,
                                                 selectedPaths_,       targetedPath_,             std::move(destinationPath),
                                                 {}};
    return item;
}

std::vector<FinderMenuItem> FinderMenuBuilder::quickOpenMenuItems(const std::vector<FinderFeatureChild>& children) {
    std::vector<FinderMenuItem> items;
    for (const auto& destination : settings_.destinations(Kind::quickOpen)) {
        items.push_back(
            contextMenuItem(destination.name, "quickOpenPath", FinderFeatureAction::openFolder(), destination.path, true));
    }
    // The fixed places reach the menu as destinations; only the two path prompts are children here.
    for (const auto& child : children) {
        if (child.actionID == "quickOpenClipboardPath" || child.actionID == "quickOpenTypedPath") {
            items.push_back(actionMenuItem(child));
        }
    }
    return items;
}

std::optional<FinderMenuItem> FinderMenuBuilder::destinationSubmenuItem(Kind kind) {
    const auto destinations =
        FinderCustomDestinationSettings::withoutBuiltInFileDestinations(settings_.destinations(kind), kind, settings_.places());
    if (destinations.empty()) {
        return std::nullopt; // the catalog's own children already cover the built-in folders
    }
    const bool copy = kind == Kind::copy;
    const std::string prefix = copy ? L10n::text<"复制到">() : L10n::text<"移动到">();
    const std::string actionID = copy ? "copyFilesToFolder" : "moveFilesToFolder";
    const auto action = copy ? FinderFeatureAction::copyToFolder() : FinderFeatureAction::moveToFolder();
    std::vector<FinderMenuItem> items;
    items.reserve(destinations.size());
    for (const auto& destination : destinations) {
        items.push_back(contextMenuItem(prefix + destination.name, actionID, action, destination.path, true));
    }
    return makeSubmenuItem(copy ? L10n::text<"复制到文件夹">() : L10n::text<"移动到文件夹">(), std::move(items));
}

std::vector<FinderMenuItem> FinderMenuBuilder::openWithApplicationMenuItems() {
    const bool enabled = isEnabled(FinderFeatureAction::openWithApplicationPath());
    std::vector<FinderMenuItem> items;
    for (const auto& destination : settings_.destinations(Kind::openApplication)) {
        auto item = contextMenuItem(destination.name, "openWithApplicationPath",
                                    FinderFeatureAction::openWithApplicationPath(), destination.path, enabled);
        item.identifier = "openWithApplicationPath__" + destination.id;
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<FinderMenuItem> FinderMenuBuilder::finderViewPresetMenuItems() {
    const auto& presets = settings_.presets();
    std::vector<std::string> summary;
    for (const auto& preset : presets) {
        summary.push_back(preset.name + ":" + preset.id);
    }
    diagnostics_.add("view preset menu presets=" + bracketedList(summary));
    std::vector<FinderMenuItem> items;
    for (std::size_t i = 0; i < presets.size(); ++i) {
        const auto& preset = presets[i];
        const auto actionID = preset.actionID();
        const long tag = kPresetTagBase + static_cast<long>(i);
        diagnostics_.add("view preset item title=" + preset.name + " actionID=" + actionID +
                         " tag=" + std::to_string(tag));
        FinderMenuItem item;
        item.title = preset.name;
        item.representedObject =
            FinderMenuDictionary{actionID, preset.name, selectedPaths_, targetedPath_.value_or(""), "", ""};
        item.identifier = actionID;
        item.tag = tag;
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<FinderMenuItem> FinderMenuBuilder::customShortcutMenuItems() {
    const bool enabled = isEnabled(FinderFeatureAction::requiresSelection());
    std::vector<FinderMenuItem> items;
    for (const auto& action : settings_.customActions()) {
        const auto actionID = action.actionID();
        auto item = contextMenuItem(action.name, actionID, FinderFeatureAction::requiresSelection(), {}, enabled);
        item.identifier = actionID;
        items.push_back(std::move(item));
    }
    return items;
}

bool FinderMenuBuilder::isEnabled(const FinderFeatureAction& action) const {
    return isActionEnabled(action, !selectedPaths_.empty(), targetedPath_.has_value());
}

} // namespace quilla
