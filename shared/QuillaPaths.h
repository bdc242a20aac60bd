#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace quilla::paths {

namespace fs = std::filesystem;

// Every location the two deliverables use, answered in one place. The answers follow the
// XDG Base Directory rules (unset or relative variables mean the default) and are computed
// afresh on every call, so tests can point HOME and XDG_* at temporary folders.

/// The user's real home: $HOME, else the password database entry.
fs::path home();
fs::path configHome(); ///< $XDG_CONFIG_HOME or ~/.config
fs::path dataHome();   ///< $XDG_DATA_HOME or ~/.local/share
fs::path stateHome();  ///< $XDG_STATE_HOME or ~/.local/state
std::optional<fs::path> runtimeDir(); ///< $XDG_RUNTIME_DIR when set and absolute
fs::path tempDir();    ///< $TMPDIR or /tmp

/// The application's own settings folder ($XDG_CONFIG_HOME/quilla).
fs::path appSupportDir();
/// The folder the extension reads its settings copies from and keeps its queue and log in.
fs::path extensionSupportDir();
/// The primary action queue ($XDG_CONFIG_HOME/quilla/finder-extension/ActionQueue).
fs::path primaryQueueDir();
/// The fallback action queue ($XDG_RUNTIME_DIR/quilla-action-queue, else /tmp/quilla-action-queue-<uid>).
fs::path fallbackQueueDir();
/// Whether `dir` is a real folder (not a link) owned by this user and writable by nobody else.
bool isPrivateDirectory(const fs::path& dir);
/// The same test on the status of an open folder (`st_mode`, `st_uid`), for callers that hold it.
bool isPrivateDirectoryStatus(unsigned mode, unsigned owner);
/// Creates `dir` with mode 0700 when missing; true when it then passes isPrivateDirectory.
bool ensurePrivateDirectory(const fs::path& dir);

fs::path appActionLogPath(); ///< the application's diagnostic log
fs::path extensionLogPath(); ///< the extension's diagnostic log, FinderExtension.log in its folder

/// The user's custom shortcuts: executable files in $XDG_CONFIG_HOME/quilla/shortcuts.
fs::path shortcutsDir();
/// The XDG autostart folder ($XDG_CONFIG_HOME/autostart).
fs::path autostartDir();
/// The home trash ($XDG_DATA_HOME/Trash).
fs::path homeTrashDir();

enum class UserDir { desktop, downloads, documents, pictures, movies, music };
/// An XDG user folder from user-dirs.dirs (which may have localised names such as ~/桌面);
/// without an entry, ~/Desktop, ~/Downloads, ~/Documents, ~/Pictures, ~/Videos or ~/Music.
fs::path userDir(UserDir which);
/// The same, from the text of user-dirs.dirs (nothing: no such file), for callers that read it once.
fs::path userDir(UserDir which, const std::optional<std::string>& userDirsText);
/// Where the XDG user folders are listed ($XDG_CONFIG_HOME/user-dirs.dirs).
fs::path userDirsFile();
/// user-dirs.dirs larger than this is ignored.
inline constexpr std::size_t kMaxUserDirsBytes = 64 * 1024;

/// Where applications live: the desktop entries folder /usr/share/applications.
fs::path applicationsDir();
/// Removable-media mount roots of this user (/media/$USER, /run/media/$USER) that exist.
std::vector<fs::path> removableMediaRoots();

/// The login name of the current user.
std::string userName();

} // namespace quilla::paths
