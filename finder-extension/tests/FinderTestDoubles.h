#pragma once

#include "finder-extension/core/FinderMenuModel.h"
#include "finder-extension/core/FinderSelectionHost.h"
#include "finder-extension/core/FinderSync.h"
#include "finder-extension/core/FinderSystemLog.h"
#include "finder-extension/core/QuillaActionQueuedNotifier.h"
#include "finder-extension/core/QuillaAppLauncher.h"
#include "shared/FileIO.h"
#include "shared/PropertyList.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TestEnv.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quilla::test {

class RecordingSystemLog final : public FinderSystemLog {
public:
    void log(Level, std::string_view, std::string_view message) noexcept override { messages.emplace_back(message); }
    std::vector<std::string> messages;
};

class CountingNotifier final : public QuillaActionQueuedNotifier {
public:
    void postActionQueued() noexcept override { ++posts; }
    int posts = 0;
};

class FakeLauncher final : public QuillaAppLauncher {
public:
    bool isApplicationRunning() noexcept override { return running; }
    void startApplication(Completion completion) noexcept override {
        ++starts;
        completion(startError);
    }
    bool running = false;
    int starts = 0;
    std::optional<std::string> startError;
};

/// A fresh home with the extension's settings folder, a host and the fakes wired into a FinderSync.
struct ExtensionFixture {
    ScopedHome home;
    ScopedEnv dataDirs{"XDG_DATA_DIRS", (home.home() / "system-data").string()};
    FinderSelectionHost host;
    RecordingSystemLog systemLog;
    CountingNotifier notifier;
    FakeLauncher launcher;
    std::unique_ptr<FinderSync> sync = std::make_unique<FinderSync>(host, FinderSync::Services{systemLog, notifier, launcher});

    static std::filesystem::path settingsPath(std::string_view fileName) {
        return paths::extensionSupportDir() / fileName;
    }
    static void writeSettings(std::string_view fileName, const plist::Value& root) {
        writeFileAtomically(settingsPath(fileName), plist::toXML(root));
    }
    static void writeRaw(std::string_view fileName, std::string_view bytes) {
        writeFileAtomically(settingsPath(fileName), bytes);
    }
    FinderMenu menu(std::vector<std::string> selection = {}, std::optional<std::string> target = std::nullopt) {
        host.setSelection(std::move(selection), std::move(target));
        return sync->menu(FinderMenuKind::contextualMenuForItems);
    }
};

inline std::vector<std::string> titles(const FinderMenu& menu) {
    std::vector<std::string> result;
    for (const auto& item : menu.items) {
        result.push_back(item.separator ? "---" : item.title);
    }
    return result;
}

inline const FinderMenuItem* itemTitled(const FinderMenu& menu, std::string_view title) {
    for (const auto& item : menu.items) {
        if (!item.separator && item.title == title) {
            return &item;
        }
    }
    return nullptr;
}

inline plist::Value destinationEntry(const std::string& id, const std::string& name, const std::string& path) {
    return plist::Dict{{"id", id}, {"name", name}, {"path", path}};
}

} // namespace quilla::test
