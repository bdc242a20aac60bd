#include "app/ui/QuillaLaunchOptions.h"

#include "app/core/preferences/AppVersion.h"

#include <algorithm>
#include <cctype>

namespace quilla {

bool QuillaLaunchOptions::looksLikeURL(const std::string& argument) {
    // RFC 3986 scheme: a letter, then letters, digits, "+", "-" or "."; at least two characters so
    // that nothing resembling a drive letter or a path counts.
    const auto colon = argument.find(':');
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(argument[0]))) {
        return false;
    }
    return std::all_of(argument.begin(), argument.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
}

QuillaLaunchOptions QuillaLaunchOptions::parse(const std::vector<std::string>& arguments) {
    QuillaLaunchOptions options;
    options.arguments = arguments;
    for (const auto& argument : arguments) {
        if (argument == "--headless") {
            options.mode = Mode::headless;
        } else if (argument == "--login-item") {
            options.loginItem = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (!argument.empty() && argument.front() != '-' && looksLikeURL(argument)) {
            options.urls.push_back(argument);
        }
    }
    return options;
}

const char* QuillaLaunchOptions::usage() {
    return "usage: quilla [--headless] [--login-item] [--version] [URL]\n"
           "       quilla perform ACTION_ID [--selected PATH]... [--target DIR] [--destination PATH]\n"
           "                      [--preset ID] [--print-opens]\n"
           "  --headless    run without any window or dialog (the clipboard is used when a display exists)\n"
           "  --login-item  started by the session at login: stay in the background\n"
           "  --version     print the version and exit\n"
           "A second start hands a reopen (or the URL) to the running application and exits.\n";
}

std::string QuillaLaunchOptions::versionLine() {
    std::string line = "quilla " + AppVersion::shortVersion();
    if (const auto build = AppVersion::build(); build != "Unknown") {
        line += " (build " + build + ")";
    }
    return line;
}

} // namespace quilla
