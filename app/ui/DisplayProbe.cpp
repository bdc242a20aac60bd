#include "app/ui/DisplayProbe.h"

#include "shared/QuillaPaths.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace quilla {
namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// `abstractName` uses Linux's abstract socket namespace (a leading NUL), which X servers listen on
// besides the file in /tmp/.X11-unix.
bool socketAccepts(const std::string& path, bool abstractName) {
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const std::size_t offset = abstractName ? 1 : 0;
    if (path.size() + offset >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path + offset, path.data(), path.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
    ::close(fd);
    return connected;
}

} // namespace

bool DisplayProbe::x11DisplayAccepts(const std::string& display) {
    std::string rest = display;
    if (rest.rfind("unix:", 0) == 0) {
        rest = rest.substr(4);
    }
    if (rest.empty() || rest.front() != ':') {
        return !display.empty(); // a remote display: nothing cheap to try
    }
    const std::string number =
        rest.substr(1, rest.find('.') == std::string::npos ? std::string::npos : rest.find('.') - 1);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    const std::string socketPath = "/tmp/.X11-unix/X" + number;
    return socketAccepts(socketPath, true) || socketAccepts(socketPath, false);
}

std::optional<std::string> DisplayProbe::platformForSession() {
    if (!environment("QT_QPA_PLATFORM").empty()) {
        return std::nullopt;
    }
    const bool wayland =
        !environment("WAYLAND_DISPLAY").empty() || environment("XDG_SESSION_TYPE") == "wayland";
    if (!wayland || !x11DisplayAccepts(environment("DISPLAY"))) {
        return std::nullopt;
    }
    return "xcb";
}

bool DisplayProbe::available(std::string* description) {
    const auto describe = [&](std::string text) {
        if (description) {
            *description = std::move(text);
        }
    };
    if (const std::string platform = environment("QT_QPA_PLATFORM"); !platform.empty()) {
        describe("Qt platform " + platform);
        return true;
    }
    if (const std::string wayland = environment("WAYLAND_DISPLAY"); !wayland.empty()) {
        const auto runtime = paths::runtimeDir();
        const std::filesystem::path socket = wayland.front() == '/'
                                                 ? std::filesystem::path(wayland)
                                                 : runtime.value_or("/nonexistent") / wayland;
        std::error_code ec;
        if (std::filesystem::exists(socket, ec)) {
            describe("Wayland display " + wayland);
            return true;
        }
    }
    if (const std::string x11 = environment("DISPLAY"); !x11.empty()) {
        if (x11DisplayAccepts(x11)) {
            describe("X display " + x11);
            return true;
        }
        describe("X display " + x11 + " does not answer");
        return false;
    }
    describe("neither DISPLAY nor WAYLAND_DISPLAY is set");
    return false;
}

} // namespace quilla
