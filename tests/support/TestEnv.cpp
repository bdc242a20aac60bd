#include "tests/support/TestEnv.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>

namespace quilla::test {
namespace {

std::filesystem::path& rootStorage() {
    static std::filesystem::path root;
    return root;
}

std::filesystem::path makeRoot() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/quilla-home-XXXXXX";
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    return pattern;
}

std::optional<std::string> currentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string makeHome(const std::filesystem::path& root, const char* sub) {
    auto path = root / sub;
    std::filesystem::create_directories(path);
    ::chmod(path.c_str(), 0700);
    return path.string();
}

} // namespace

void setUpTestRoot();
void tearDownTestRoot();

void setUpTestRoot() {
    auto root = makeRoot();
    rootStorage() = root;
    // Tests compare texts with their Chinese keys; the display tables have tests of their own.
    ::setenv("QUILLA_SHOW_L10N_KEYS", "1", 1);
    ::setenv("HOME", makeHome(root, "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", makeHome(root, "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", makeHome(root, "data").c_str(), 1);
    ::setenv("XDG_STATE_HOME", makeHome(root, "state").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", makeHome(root, "cache").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", makeHome(root, "runtime").c_str(), 1);
    ::setenv("TMPDIR", makeHome(root, "tmp").c_str(), 1);
}

void tearDownTestRoot() {
    std::error_code ec;
    if (!rootStorage().empty()) {
        std::filesystem::remove_all(rootStorage(), ec);
    }
}

const std::filesystem::path& testRoot() { return rootStorage(); }

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value)
    : name_(std::move(name)), old_(currentValue(name_)) {
    if (value) {
        ::setenv(name_.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

ScopedEnv::~ScopedEnv() {
    if (old_) {
        ::setenv(name_.c_str(), old_->c_str(), 1);
    } else {
        ::unsetenv(name_.c_str());
    }
}

ScopedHome::ScopedHome()
    : root_(makeRoot()), home_(makeHome(root_, "home")), homeEnv_("HOME", home_.string()),
      configEnv_("XDG_CONFIG_HOME", makeHome(root_, "config")), dataEnv_("XDG_DATA_HOME", makeHome(root_, "data")),
      stateEnv_("XDG_STATE_HOME", makeHome(root_, "state")), cacheEnv_("XDG_CACHE_HOME", makeHome(root_, "cache")),
      runtimeEnv_("XDG_RUNTIME_DIR", makeHome(root_, "runtime")) {}

ScopedHome::~ScopedHome() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

int runPython(const std::string& script, std::string* output) {
    const auto file = testRoot() / "tmp" / "script.py";
    if (FILE* f = std::fopen(file.c_str(), "w")) {
        std::fputs(script.c_str(), f);
        std::fclose(f);
    }
    const std::string command = "python3 '" + file.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return -1;
    }
    std::array<char, 4096> buffer{};
    std::string text;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe)) {
        text.append(buffer.data(), n);
    }
    const int status = ::pclose(pipe);
    if (output) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace quilla::test
