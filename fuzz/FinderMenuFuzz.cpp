// The menu is built inside the file manager's process on every right-click: whatever the settings
// files, the user's folder list and the selection hold, a menu comes back (an exception here would
// only be logged, so it counts as a fault too), and every title can be shown.
#include "finder-extension/core/FinderCustomDestinationSettings.h"
#include "finder-extension/core/FinderCustomShortcutActionSettings.h"
#include "finder-extension/core/FinderFeatureSettings.h"
#include "finder-extension/core/FinderMenuBuilder.h"
#include "finder-extension/core/FinderSettingsFileCache.h"
#include "finder-extension/core/FinderSettingsSnapshot.h"
#include "finder-extension/core/FinderViewPresetSettings.h"
#include "fuzz/FuzzSupport.h"
#include "shared/QuillaPaths.h"
#include "shared/XmlText.h"

#include <fstream>
#include <sstream>

using namespace quilla;

namespace {

/// The files one input stands for, in the order of its parts; the last part is the selection.
std::vector<std::filesystem::path> inputFiles() {
    return {FinderFeatureSettings::settingsFilePath(), FinderCustomDestinationSettings::settingsFilePath(),
            FinderCustomShortcutActionSettings::settingsFilePath(),
            FinderViewPresetSettings::settingsFilePath(), paths::userDirsFile()};
}

/// Writes each non-empty part as its file and removes the others.
void writeFiles(const std::vector<std::filesystem::path>& files, const std::vector<std::string_view>& parts) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::error_code ignored;
        std::filesystem::remove(files[i], ignored);
        if (!parts[i].empty()) {
            std::filesystem::create_directories(files[i].parent_path());
            std::ofstream(files[i], std::ios::binary)
                .write(parts[i].data(), static_cast<std::streamsize>(parts[i].size()));
        }
    }
}

/// The selection part: the target on its first line (none when empty), then one selected path a line.
std::pair<std::optional<std::string>, std::vector<std::string>> selection(std::string_view part) {
    std::istringstream lines{std::string(part)};
    std::string target;
    std::getline(lines, target);
    std::vector<std::string> selected;
    for (std::string line; std::getline(lines, line);) {
        selected.push_back(line);
    }
    return {target.empty() ? std::nullopt : std::optional(target), selected};
}

void requireShowable(const std::vector<FinderMenuItem>& items) {
    for (const auto& item : items) {
        fuzz::require(isXmlSafeText(item.title), "menu titles are valid text");
        if (item.submenu) {
            requireShowable(item.submenu->items);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::useScratchHome();
    static const auto files = inputFiles();
    const auto parts = fuzz::splitParts(fuzz::bytesOf(data, size), files.size() + 1);
    writeFiles(files, parts);
    auto [target, selected] = selection(parts.back());

    // A new cache each time: files rewritten within one clock tick must not be taken for unchanged.
    FinderSettingsFileCache cache;
    FinderSettingsSnapshot settings(cache);
    if (settings.menuSettings().features.empty()) {
        return 0; // the host shows one disabled item without building anything
    }
    FinderDiagnosticLines diagnostics;
    requireShowable(
        FinderMenuBuilder(settings, std::move(selected), std::move(target), diagnostics).menuItems());
    return 0;
}
