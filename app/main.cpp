// The `quilla` command. `quilla perform …` runs one action on the terminal, in this small program
// that links neither the GUI toolkit nor the image libraries, so that it starts in a few
// milliseconds. Anything else becomes the application itself (lib/quilla/quilla), which starts
// the settings window and tray, or hands its arguments to the running instance.
#include "app/cli/PerformCommand.h"
#include "app/core/PrivateComponents.h"
#include "shared/L10n.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc > 1 && std::string_view(argv[1]) == "perform") {
        // While TZ is unset, glibc checks /etc/localtime again at every local-time conversion
        // (ZIP extraction makes one per entry); a process this short takes the zone once.
        ::setenv("TZ", ":/etc/localtime", 0);
        return quilla::runPerformCommand(argc - 2, argv + 2, std::cin, std::cout, std::cerr);
    }
    const auto application = quilla::PrivateComponents::locate("quilla");
    if (application) {
        ::execv(application->c_str(), argv);
    }
    const std::string detail =
        application ? application->string() + ": " + std::strerror(errno) : std::string("lib/quilla/quilla");
    std::cerr << quilla::L10n::format<"无法启动 Quilla：%@">(detail) << '\n';
    return 127;
}
