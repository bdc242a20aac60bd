#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// What an open panel shows and allows; every field is fixed by the store that asks.
struct OpenPanelOptions {
    std::string title;              ///< window title
    std::string confirmButtonTitle; ///< text of the confirm button
    bool canChooseFiles = false;
    bool canChooseDirectories = false;
    bool canCreateDirectories = false;
    bool allowsMultipleSelection = false;
    std::optional<std::filesystem::path> startDirectory; ///< nothing: the chooser's own choice
    /// Glob patterns such as "*.desktop" offered as the chooser's filter; empty = any file.
    std::vector<std::string> nameFilters;
    /// Whether the user may switch the filter off (to pick a file the patterns do not cover).
    bool offersAllFiles = false;
};

/// The modal "add a shortcut" dialog: a message, an editable combo box and two buttons.
struct ShortcutPickerOptions {
    static constexpr int accessoryWidth = 320;
    static constexpr int accessoryHeight = 28;
    static constexpr int comboBoxWidth = 320;
    static constexpr int comboBoxHeight = 26;

    std::string messageText;
    std::string informativeText;
    std::string confirmButtonTitle; ///< first, default button
    std::string cancelButtonTitle;
    std::string placeholder;               ///< combo box placeholder
    std::vector<std::string> shortcutNames; ///< the combo box items; free text may be typed too
    std::string initialText;               ///< preset text: the first name, or empty
    std::filesystem::path shortcutsFolder;  ///< where shortcuts live; named (and openable) when none was found
};

/// What the user confirmed in the shortcut picker. The dialog has one field, so both hold its text.
struct ShortcutPickerAnswer {
    std::string name;
    std::string shortcutName;
};

/// The choosers the list stores need, behind one interface so the stores run without a display.
/// Each call is modal on the main thread and answers nothing when the user cancels.
class ListPrompts {
public:
    virtual ~ListPrompts() = default;

    /// A folder for a copy, move or quick-open list.
    virtual std::optional<std::filesystem::path> chooseFolder(const OpenPanelOptions& options) = 0;
    /// An application (a desktop entry file) for the open-with list.
    virtual std::optional<std::filesystem::path> chooseApplication(const OpenPanelOptions& options) = 0;
    /// A script file for a custom action.
    virtual std::optional<std::filesystem::path> chooseScriptFile(const OpenPanelOptions& options) = 0;
    /// A shortcut name, picked from the list or typed.
    virtual std::optional<ShortcutPickerAnswer> pickShortcut(const ShortcutPickerOptions& options) = 0;
};

} // namespace quilla
