#include "app/core/preferences/LaunchAtLoginController.h"

#include "app/core/DesktopEntry.h"
#include "app/core/PrivateComponents.h"
#include "app/core/preferences/DesktopExecLine.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"

#include <cerrno>
#include <system_error>
#include <unistd.h>

namespace quilla {
namespace {

bool fail(std::string* error, const std::string& what, int code) {
    if (error) {
        *error = what + ": " + std::error_code(code, std::system_category()).message();
    }
    return false;
}

} // namespace

LaunchAtLoginController::LaunchAtLoginController(std::filesystem::path entryFile,
                                                 std::filesystem::path executable)
    : entryFile_(std::move(entryFile)), executable_(std::move(executable)) {}

std::filesystem::path LaunchAtLoginController::defaultEntryFile() {
    return paths::autostartDir() / "app.kelvarin.Quilla.desktop";
}

std::filesystem::path LaunchAtLoginController::currentExecutable() {
    // The application runs from lib/quilla/; the entry names the command users know.
    const auto self = PrivateComponents::runningExecutable();
    return self ? PrivateComponents::frontEnd(*self) : std::filesystem::path("quilla");
}

std::string LaunchAtLoginController::entryText(const std::filesystem::path& executable) {
    const auto exec = DesktopExecLine::quoteArgument(executable.string()) + " --login-item";
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Quilla\n"
           "Exec=" +
           DesktopExecLine::escapeForFile(exec) +
           "\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool LaunchAtLoginController::isEnabled() const {
    // An unreadable or damaged file would not be started by the session either.
    const auto entry = DesktopEntry::read(entryFile_);
    return entry && !entry->hidden;
}

bool LaunchAtLoginController::registerItem(std::string* error) {
    errno = 0;
    if (!writeFileAtomically(entryFile_, entryText(executable_))) {
        return fail(error, "cannot write " + entryFile_.string(), errno ? errno : EIO);
    }
    return true;
}

bool LaunchAtLoginController::repairStaleEntry() {
    const auto entry = DesktopEntry::read(entryFile_);
    if (!entry || entry->hidden) {
        return false;
    }
    const auto program = DesktopExecLine::program(entry->exec);
    std::error_code ec;
    // A bare name depended on the session's PATH, which is what left older entries starting nothing.
    if (program && std::filesystem::path(*program).is_absolute() &&
        std::filesystem::is_regular_file(*program, ec) && ::access(program->c_str(), X_OK) == 0) {
        return false;
    }
    return registerItem();
}

bool LaunchAtLoginController::unregisterItem(std::string* error) {
    if (::unlink(entryFile_.c_str()) != 0 && errno != ENOENT) {
        return fail(error, "cannot remove " + entryFile_.string(), errno);
    }
    return true;
}

bool LaunchAtLoginController::setEnabled(bool enabled, std::string* error) {
    return setEnabled(*this, enabled, error);
}

bool LaunchAtLoginController::setEnabled(LoginItem& item, bool enabled, std::string* error) {
    if (item.isEnabled() == enabled) {
        return true;
    }
    return enabled ? item.registerItem(error) : item.unregisterItem(error);
}

} // namespace quilla
