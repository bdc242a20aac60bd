#pragma once

#include "app/core/platform/Workspace.h"

#include <optional>
#include <string_view>

namespace quilla {

/// Opening things on a freedesktop desktop: folders through the file manager's
/// org.freedesktop.FileManager1 interface (ShowFolders, ShowItems) on the session bus, files and
/// URLs through `xdg-open` (GIO's default applications when it is missing), applications from
/// their desktop entries (GIO), and the desktop's terminal in a folder. The applications folder opens
/// as GNOME Shell's application grid where the shell answers (org.gnome.Shell.ShowApplications). Safe to call
/// from any thread; nothing here waits for a started program.
class LinuxWorkspace final : public Workspace {
public:
    /// A terminal program to start and its arguments; it is started in `directory`.
    struct TerminalCommand {
        std::filesystem::path program;
        std::vector<std::string> arguments;
    };

    bool open(const std::filesystem::path& path, std::string* error = nullptr) override;
    bool revealItems(const std::vector<std::filesystem::path>& items, std::string* error = nullptr) override;
    bool openWithApplication(const std::filesystem::path& desktopEntry,
                             const std::vector<std::filesystem::path>& items,
                             std::string* error = nullptr) override;
    bool openURL(const std::string& url, std::string* error = nullptr) override;
    bool openTerminal(const std::filesystem::path& directory, std::string* error = nullptr) override;

    /// The first installed of x-terminal-emulator, gnome-terminal, kgx, konsole and xterm along
    /// `searchPath` (a PATH value), with the option that makes it open in `directory` where the
    /// program needs one besides the working directory. Nothing when none is installed.
    static std::optional<TerminalCommand> terminalCommand(const std::filesystem::path& directory,
                                                          std::string_view searchPath);

private:
    /// Asks GNOME Shell to show its application grid; false when no shell answered it.
    static bool showApplicationGrid();
    /// Calls a FileManager1 method with the items' URIs; false when no file manager answered it.
    static bool callFileManager(const char* method, const std::vector<std::filesystem::path>& items);
    static bool startDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                              const std::optional<std::filesystem::path>& directory, std::string* error);
    static bool xdgOpen(const std::string& target, std::string* error);
};

} // namespace quilla
