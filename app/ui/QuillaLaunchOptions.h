#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// What the `quilla` command line asks the application to be.
struct QuillaLaunchOptions {
    enum class Mode {
        standard, ///< with the display's clipboard and dialogs (falls back to windowless without a display)
        headless, ///< `--headless`: no window, no dialogs; the clipboard when a display exists
    };

    Mode mode = Mode::standard;
    bool loginItem = false;             ///< `--login-item`: started by the session at login
    bool help = false;                  ///< `--help` or `-h`
    bool version = false;               ///< `--version`: print the version and exit
    std::vector<std::string> urls;      ///< arguments with a URL scheme (e.g. quilla://…), in order
    std::vector<std::string> arguments; ///< every argument as given, for the login-start check

    /// Reads the arguments after the program name. Unknown options (including Qt's own, such as
    /// `-platform`) are left to Qt and ignored here.
    static QuillaLaunchOptions parse(const std::vector<std::string>& arguments);

    /// Whether `argument` is a URL to hand to the URL route ("scheme:" followed by anything).
    static bool looksLikeURL(const std::string& argument);

    /// The usage text printed for --help.
    static const char* usage();

    /// The line printed for --version: "quilla VERSION", plus " (build N)" when the build has one.
    static std::string versionLine();
};

} // namespace quilla
