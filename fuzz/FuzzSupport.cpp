#include "fuzz/FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace quilla::fuzz {

std::vector<std::string_view> splitParts(std::string_view input, std::size_t count) {
    std::vector<std::string_view> parts;
    while (parts.size() + 1 < count) {
        const auto end = input.find(kPartSeparator);
        if (end == std::string_view::npos) {
            break;
        }
        parts.push_back(input.substr(0, end));
        input.remove_prefix(end + kPartSeparator.size());
    }
    parts.push_back(input);
    parts.resize(count);
    return parts;
}

namespace {

std::filesystem::path makeScratchHome() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp == '/' ? tmp : "/tmp") + "/quilla-fuzz-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    const std::filesystem::path home = pattern;
    const std::pair<const char*, const char*> folders[] = {
        {"HOME", ""},
        {"XDG_CONFIG_HOME", "/.config"},
        {"XDG_DATA_HOME", "/.local/share"},
        {"XDG_STATE_HOME", "/.local/state"},
        {"XDG_CACHE_HOME", "/.cache"},
        {"XDG_RUNTIME_DIR", "/run"},
        // No system applications: reading them on every input would only slow the run down.
        {"XDG_DATA_DIRS", "/system-data"},
    };
    for (const auto& [name, suffix] : folders) {
        const auto path = home.string() + suffix;
        std::filesystem::create_directories(path);
        ::setenv(name, path.c_str(), 1);
    }
    std::filesystem::permissions(home / "run", std::filesystem::perms::owner_all);
    return home;
}

// Never destroyed, so the exit handler can still read it.
const std::filesystem::path* scratchHome = nullptr;

void removeScratchHome() {
    std::error_code ignored;
    std::filesystem::remove_all(*scratchHome, ignored);
}

} // namespace

const std::filesystem::path& useScratchHome() {
    if (!scratchHome) {
        scratchHome = new std::filesystem::path(makeScratchHome());
        std::atexit(removeScratchHome);
    }
    return *scratchHome;
}

void require(bool holds, std::string_view property) {
    if (!holds) {
        std::fprintf(stderr, "fuzz property violated: %.*s\n", static_cast<int>(property.size()),
                     property.data());
        std::abort();
    }
}

} // namespace quilla::fuzz
