#pragma once

#include "app/core/platform/Workspace.h"

#include <ostream>

namespace quilla {

/// Opening things from the command line, without a GUI toolkit: files, folders and URLs through
/// `gio open` (else `xdg-open`), selections through the file manager's FileManager1 interface
/// (`gdbus`), applications through `gio launch`, and the first installed terminal started in the
/// folder. With `printOnly`, nothing is opened: each request is printed to `log` as a line
/// "open PATH", "reveal PATH…", "launch APP PATH…" or "terminal DIR".
class TerminalWorkspace final : public Workspace {
public:
    TerminalWorkspace(bool printOnly, std::ostream& log) : printOnly_(printOnly), log_(log) {}

    bool open(const std::filesystem::path& path, std::string* error = nullptr) override;
    bool revealItems(const std::vector<std::filesystem::path>& items, std::string* error = nullptr) override;
    bool openWithApplication(const std::filesystem::path& desktopEntry,
                             const std::vector<std::filesystem::path>& items, std::string* error = nullptr) override;
    bool openURL(const std::string& url, std::string* error = nullptr) override;
    bool openTerminal(const std::filesystem::path& directory, std::string* error = nullptr) override;

private:
    void print(const std::string& verb, const std::vector<std::string>& words);
    bool openTarget(const std::string& target, std::string* error);

    bool printOnly_;
    std::ostream& log_;
};

} // namespace quilla
