#pragma once

#include "finder-extension/core/FinderMenuSettings.h"
#include "shared/PropertyList.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace quilla {

class FinderSettingsFileCache;

/// The extension's read-only view of FeatureSettings.plist: whatever the file holds (or lacks) is
/// repaired with the catalog defaults, so a missing, old or damaged file still gives a usable menu.
class FinderFeatureSettings final {
public:
    /// The extension's copy of the feature settings.
    static std::filesystem::path settingsFilePath();

    /// Reads the file now and derives the menu settings from it.
    static FinderMenuSettings menu();
    /// The same, reusing the last derivation while the file is unchanged.
    static std::shared_ptr<const FinderMenuSettings> menu(FinderSettingsFileCache& cache);

    /// The menu settings a file's bytes stand for (nothing: no usable file).
    static FinderMenuSettings menuSettings(const std::optional<std::string>& bytes);
    /// The menu settings a parsed property list stands for (nullptr: no usable file).
    static FinderMenuSettings menuSettings(const plist::Value* root);

    /// The settings without any file: the default-enabled features in default order.
    static FinderMenuSettings defaultMenuSettings();
};

} // namespace quilla
