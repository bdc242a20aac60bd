#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quilla {

/// Opening things on the desktop. Every call returns false (with `error` filled when given)
/// instead of throwing; callers decide whether a failure matters.
class Workspace {
public:
    virtual ~Workspace() = default;
    /// Opens a folder in a file-manager window, or a file with its default application.
    virtual bool open(const std::filesystem::path& path, std::string* error = nullptr) = 0;
    /// Shows a file-manager window with these items selected.
    virtual bool revealItems(const std::vector<std::filesystem::path>& items, std::string* error = nullptr) = 0;
    /// Launches the application of a desktop entry with the items (field codes honoured).
    virtual bool openWithApplication(const std::filesystem::path& desktopEntry,
                                     const std::vector<std::filesystem::path>& items,
                                     std::string* error = nullptr) = 0;
    /// Opens a URL (mailto:, https:, …) with the desktop's handler.
    virtual bool openURL(const std::string& url, std::string* error = nullptr) = 0;
    /// Starts the desktop's terminal in `directory`; false when no terminal is installed.
    virtual bool openTerminal(const std::filesystem::path& directory, std::string* error = nullptr) = 0;
};

} // namespace quilla
