#pragma once

#include "app/core/platform/LoginItem.h"

#include <filesystem>
#include <string>

namespace quilla {

/// The application's login item on XDG autostart: the desktop entry
/// $XDG_CONFIG_HOME/autostart/app.kelvarin.Quilla.desktop, which starts this executable, named by
/// its absolute path (the session's PATH need not hold it), with `--login-item`.
/// It counts as enabled while that file exists and is not marked Hidden=true.
class LaunchAtLoginController final : public LoginItem {
public:
    explicit LaunchAtLoginController(std::filesystem::path entryFile = defaultEntryFile(),
                                     std::filesystem::path executable = currentExecutable());

    /// The autostart entry for the current user.
    static std::filesystem::path defaultEntryFile();
    /// The `quilla` command of the running program (PrivateComponents::frontEnd); "quilla" when
    /// /proc/self/exe cannot be read.
    static std::filesystem::path currentExecutable();
    /// What the autostart entry holds for `executable`.
    static std::string entryText(const std::filesystem::path& executable);

    bool isEnabled() const override;
    /// Writes the autostart entry (atomically, replacing a Hidden copy).
    bool registerItem(std::string* error = nullptr) override;
    /// Deletes the autostart entry; an entry that is already gone counts as done.
    bool unregisterItem(std::string* error = nullptr) override;

    /// Turns the login item on or off; does nothing when it already is in that state.
    /// False with `error` filled when the change fails.
    bool setEnabled(bool enabled, std::string* error = nullptr);
    /// The same rule for any login item (the store uses it with whatever item it was given).
    static bool setEnabled(LoginItem& item, bool enabled, std::string* error = nullptr);

    /// Rewrites an enabled entry whose program no longer exists (the application was moved,
    /// reinstalled elsewhere, or an older entry relied on PATH) so that it starts this executable.
    /// True when the entry was rewritten; a missing, Hidden or working entry is left alone.
    bool repairStaleEntry();

    const std::filesystem::path& entryFile() const { return entryFile_; }
    const std::filesystem::path& executable() const { return executable_; }

private:
    std::filesystem::path entryFile_;
    std::filesystem::path executable_;
};

} // namespace quilla
