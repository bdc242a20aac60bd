#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

class FinderSettingsFileCache;

/// A view preset as the menu shows it; the modes are passed on to the application uninterpreted.
struct FinderViewPresetSetting {
    std::string id;
    std::string name;
    std::string viewMode;
    std::string sortMode;

    /// The action ID its menu item queues: "finderViewPreset__" followed by the ID.
    std::string actionID() const;

    bool operator==(const FinderViewPresetSetting&) const = default;
};

/// The extension's read-only view of FinderViewPresets.plist.
class FinderViewPresetSettings final {
public:
    static constexpr std::string_view kActionIDPrefix = "finderViewPreset__";

    static std::filesystem::path settingsFilePath();

    /// The presets, reading the file now.
    static std::vector<FinderViewPresetSetting> presets();
    /// The same, reusing the last parse while the file is unchanged.
    static std::shared_ptr<const std::vector<FinderViewPresetSetting>> presets(FinderSettingsFileCache& cache);

    /// The presets a file's bytes hold: the defaults when the file is missing, damaged or not an
    /// array of string dictionaries; otherwise its complete entries (possibly none) with clean names.
    static std::vector<FinderViewPresetSetting> parse(const std::optional<std::string>& bytes);

    /// "列表 · 最近修改", "图标 · 按名称", "分栏 · 按名称".
    static std::vector<FinderViewPresetSetting> defaultPresets();

    /// Drops the number copies of a preset name were given ("图标 · 按名称 2" becomes "图标 · 按名称").
    static std::string normalizeAutoNumberedName(const std::string& name);
};

} // namespace quilla
