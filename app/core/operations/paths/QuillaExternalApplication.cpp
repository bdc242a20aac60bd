#include "app/core/operations/paths/QuillaExternalApplication.h"

#include "app/core/DesktopEntry.h"
#include "app/core/operations/paths/ExecutableSearch.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"

namespace quilla {
namespace {

// Inside a quoted Exec argument ", `, $ and \ need a backslash, and the value's own string
// escaping doubles every backslash again; % starts a field code and is doubled.
std::optional<std::string> quotedExecArgument(const std::string& argument) {
    std::string text = "\"";
    for (const char c : argument) {
        if (c == '\n' || c == '\r') {
            return std::nullopt;
        }
        if (c == '\\') {
            text += "\\\\\\\\";
        } else if (c == '"' || c == '`' || c == '$') {
            text += "\\\\";
            text += c;
        } else if (c == '%') {
            text += "%%";
        } else {
            text += c;
        }
    }
    return text + "\"";
}

} // namespace

const std::array<QuillaExternalApplication, 2>& QuillaExternalApplication::all() {
    static constexpr std::array<QuillaExternalApplication, 2> kApplications{{
        {"openInVSCode", "code.desktop", "code", "Visual Studio Code"},
        {"openInCursor", "cursor.desktop", "cursor", "Cursor"},
    }};
    return kApplications;
}

std::optional<std::filesystem::path> QuillaExternalApplication::installedURL() const {
    if (auto entry = DesktopEntry::find(desktopFileID)) {
        return entry->path;
    }
    const auto program = ExecutableSearch::find(executableName);
    if (!program) {
        return std::nullopt;
    }
    // The workspace starts applications from desktop entries, so a program found only on PATH
    // gets a small entry of its own.
    const auto text = launcherEntryText(name, *program);
    const auto launcher = paths::stateHome() / "quilla" / "launchers" / desktopFileID;
    if (!text || !writeFileAtomically(launcher, *text)) {
        return std::nullopt;
    }
    return launcher;
}

std::optional<std::string> QuillaExternalApplication::launcherEntryText(std::string_view name,
                                                                        const std::filesystem::path& program) {
    const auto exec = quotedExecArgument(program.string());
    if (!exec) {
        return std::nullopt;
    }
    return "[Desktop Entry]\nType=Application\nName=" + std::string(name) + "\nExec=" + *exec +
           " %F\nTerminal=false\nNoDisplay=true\n";
}

} // namespace quilla
