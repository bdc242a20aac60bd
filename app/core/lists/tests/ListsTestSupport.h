#pragma once

#include "app/core/lists/ListPrompts.h"
#include "shared/PropertyList.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla::test {

/// Answers every chooser with a preset answer and records what each one was asked to show.
class FakeListPrompts final : public ListPrompts {
public:
    std::optional<std::filesystem::path> folderAnswer;
    std::optional<std::filesystem::path> applicationAnswer;
    std::optional<std::filesystem::path> scriptAnswer;
    std::optional<ShortcutPickerAnswer> shortcutAnswer;

    std::vector<std::string> asked; ///< "folder", "application", "script" or "shortcut", in call order
    std::vector<OpenPanelOptions> panels;
    std::vector<ShortcutPickerOptions> pickers;

    std::optional<std::filesystem::path> chooseFolder(const OpenPanelOptions& options) override;
    std::optional<std::filesystem::path> chooseApplication(const OpenPanelOptions& options) override;
    std::optional<std::filesystem::path> chooseScriptFile(const OpenPanelOptions& options) override;
    std::optional<ShortcutPickerAnswer> pickShortcut(const ShortcutPickerOptions& options) override;
};

/// Writes `bytes` as a file, creating its folders; fails the test when it cannot.
void writeFile(const std::filesystem::path& path, std::string_view bytes);

/// An array of string dictionaries, each given as key/value pairs.
plist::Value entries(const std::vector<std::vector<std::pair<std::string, std::string>>>& items);

/// Files kept aside beside `path` (NAME.bad-…).
std::vector<std::filesystem::path> keptAside(const std::filesystem::path& path);

/// Runs a Python script that gets `path` as the variable `path`; its output, or the failure.
std::string pythonOutput(const std::filesystem::path& path, const std::string& script);

/// A desktop entry text with this name.
std::string desktopEntryText(std::string_view name, std::string_view extra = {});

} // namespace quilla::test
