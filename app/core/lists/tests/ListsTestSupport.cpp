#include "app/core/lists/tests/ListsTestSupport.h"

#include "shared/FileIO.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

namespace quilla::test {

std::optional<std::filesystem::path> FakeListPrompts::chooseFolder(const OpenPanelOptions& options) {
    asked.push_back("folder");
    panels.push_back(options);
    return folderAnswer;
}

std::optional<std::filesystem::path> FakeListPrompts::chooseApplication(const OpenPanelOptions& options) {
    asked.push_back("application");
    panels.push_back(options);
    return applicationAnswer;
}

std::optional<std::filesystem::path> FakeListPrompts::chooseScriptFile(const OpenPanelOptions& options) {
    asked.push_back("script");
    panels.push_back(options);
    return scriptAnswer;
}

std::optional<ShortcutPickerAnswer> FakeListPrompts::pickShortcut(const ShortcutPickerOptions& options) {
    asked.push_back("shortcut");
    pickers.push_back(options);
    return shortcutAnswer;
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    ASSERT_TRUE(writeFileAtomically(path, bytes)) << path;
}

plist::Value entries(const std::vector<std::vector<std::pair<std::string, std::string>>>& items) {
    plist::Array array;
    for (const auto& item : items) {
        plist::Dict dict;
        for (const auto& [key, value] : item) {
            dict.insert_or_assign(key, value);
        }
        array.emplace_back(std::move(dict));
    }
    return plist::Value(std::move(array));
}

std::vector<std::filesystem::path> keptAside(const std::filesystem::path& path) {
    std::vector<std::filesystem::path> result;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path(), ec)) {
        if (entry.path().filename().string().starts_with(path.filename().string() + ".bad-")) {
            result.push_back(entry.path());
        }
    }
    return result;
}

std::string pythonOutput(const std::filesystem::path& path, const std::string& script) {
    std::string output;
    const int status = runPython("import plistlib\npath = '" + path.string() + "'\n" + script, &output);
    return status == 0 ? output : "python failed (" + std::to_string(status) + "): " + output;
}

std::string desktopEntryText(std::string_view name, std::string_view extra) {
    return "[Desktop Entry]\nType=Application\nName=" + std::string(name) + "\nExec=true %F\n" + std::string(extra);
}

} // namespace quilla::test
