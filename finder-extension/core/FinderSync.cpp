#include "finder-extension/core/FinderSync.h"

#include "finder-extension/core/FinderMenuBuilder.h"
#include "finder-extension/core/FinderMonitoredDirectories.h"
#include "finder-extension/core/FinderSettingsSnapshot.h"
#include "shared/L10n.h"
#include "shared/LogText.h"

namespace quilla {
namespace {

constexpr std::string_view kCategory = "FinderSync";

std::string boolText(bool value) { return value ? "true" : "false"; }

FinderMenuItem disabledItem(std::string title) {
    FinderMenuItem item;
    item.title = std::move(title);
    item.enabled = false;
    return item;
}

} // namespace

FinderSync::FinderSync(FinderSyncHost& host, Services services)
    : host_(host), services_(services), log_(services.systemLog),
      handler_(host, log_, services.notifier, services.launcher, cache_) {
    refreshMonitoredDirectories("started");
}

FinderMenu FinderSync::menu(FinderMenuKind kind) noexcept {
    try {
        return buildMenu(kind);
    } catch (const std::exception& error) {
        log_.append(std::string("menu failed: ") + error.what());
    } catch (...) {
        log_.append("menu failed");
    }
    return FinderMenu{};
}

FinderMenu FinderSync::buildMenu(FinderMenuKind kind) {
    FinderMenu menu{L10n::text<"Quilla">(), {}};
    auto selection = host_.selectedItemPaths();
    auto target = host_.targetedPath();
    FinderSettingsSnapshot settings(cache_);
    const auto& menuSettings = settings.menuSettings();
    const auto kindNumber = std::to_string(static_cast<unsigned long>(kind));
    const std::string layout(rawValue(menuSettings.layout));
    services_.systemLog.log(FinderSystemLog::Level::info, kCategory,
                            "Menu requested. kind=" + kindNumber + ", selected=" + std::to_string(selection.size()) +
                                ", targeted=" + target.value_or("nil") +
                                ", features=" + std::to_string(menuSettings.features.size()) +
                                ", grouped=" + boolText(menuSettings.groupsFeaturesUnderQuilla) + ", layout=" + layout);
    FinderDiagnosticLines diagnostics;
    diagnostics.add("menu kind=" + kindNumber + " selected=" + bracketedList(selection, kLoggedPathsAtMost) +
                    " target=" + target.value_or("nil") +
                    " grouped=" + boolText(menuSettings.groupsFeaturesUnderQuilla) + " layout=" + layout);
    if (menuSettings.features.empty()) {
        menu.items.push_back(disabledItem(L10n::text<"没有已启用功能">()));
        log_.append(diagnostics.lines());
        return menu;
    }
    auto items = FinderMenuBuilder(settings, std::move(selection), std::move(target), diagnostics).menuItems();
    if (menuSettings.groupsFeaturesUnderQuilla) {
        diagnostics.add("menu grouped under Quilla topLevel=1 submenuItems=" + std::to_string(items.size()));
        menu.items.push_back(makeSubmenuItem(L10n::text<"Quilla">(), std::move(items)));
    } else {
        diagnostics.add("menu topLevel=" + std::to_string(items.size()));
        menu.items = std::move(items);
    }
    log_.append(diagnostics.lines());
    return menu;
}

std::optional<std::filesystem::path> FinderSync::performFeatureChild(const FinderMenuItem& item) noexcept {
    return handler_.performFeatureChild(item);
}

void FinderSync::handleSettingsChanged(const std::map<std::string, std::string>& userInfo,
                                       const std::optional<std::string>& object) noexcept {
    try {
        std::string reason = "unknown";
        if (const auto it = userInfo.find("reason"); it != userInfo.end()) {
            reason = it->second;
        } else if (object && !object->empty()) {
            reason = *object;
        }
        log_.append("settings changed notification reason=" + reason);
        refreshMonitoredDirectories("settings-changed:" + reason);
    } catch (...) {
    }
}

void FinderSync::refreshMonitoredDirectories(std::string_view reason) noexcept {
    try {
        const auto directories = monitoredDirectoryPaths();
        host_.setDirectoryPaths(directories);
        services_.systemLog.log(FinderSystemLog::Level::info, kCategory,
                                "FinderSync refreshed directories. reason=" + std::string(reason) +
                                    ", count=" + std::to_string(directories.size()));
    } catch (...) {
    }
}

std::vector<std::string> FinderSync::monitoredDirectoryPaths() {
    const auto set = FinderMonitoredDirectories::monitoredDirectoryPaths();
    return {set.begin(), set.end()};
}

} // namespace quilla
