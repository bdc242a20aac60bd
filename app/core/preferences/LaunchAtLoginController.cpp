#include "app/core/preferences/LaunchAtLoginController.h"

#include "app/core/DesktopEntry.h"
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

LaunchAtLoginController::LaunchAtLoginController(std::filesystem::path entryFile) : entryFile_(std::move(entryFile)) {}

std::filesystem::path LaunchAtLoginController::defaultEntryFile() {
    return paths::autostartDir() / "app.kelvarin.Quilla.desktop";
}

std::string LaunchAtLoginController::entryText() {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Quilla\n"
           "Exec=quilla --login-item\n"
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
    if (!writeFileAtomically(entryFile_, entryText())) {
        return fail(error, "cannot write " + entryFile_.string(), errno ? errno : EIO);
    }
    return true;
}

bool LaunchAtLoginController::unregisterItem(std::string* error) {
    if (::unlink(entryFile_.c_str()) != 0 && errno != ENOENT) {
        return fail(error, "cannot remove " + entryFile_.string(), errno);
    }
    return true;
}

bool LaunchAtLoginController::setEnabled(bool enabled, std::string* error) { return setEnabled(*this, enabled, error); }

bool LaunchAtLoginController::setEnabled(LoginItem& item, bool enabled, std::string* error) {
    if (item.isEnabled() == enabled) {
        return true;
    }
    return enabled ? item.registerItem(error) : item.unregisterItem(error);
}

} // namespace quilla
