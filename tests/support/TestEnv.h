#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quilla::test {

/// The throwaway home the test main created for this process (HOME, XDG_* and TMPDIR below it).
const std::filesystem::path& testRoot();

/// Sets an environment variable for the current scope and restores the old value afterwards.
class ScopedEnv final {
public:
    ScopedEnv(std::string name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

/// Points HOME and every XDG folder at fresh folders below a new temporary root for the scope;
/// used by tests that need an empty home of their own.
class ScopedHome final {
public:
    ScopedHome();
    ~ScopedHome();
    const std::filesystem::path& home() const { return home_; }

private:
    std::filesystem::path root_;
    std::filesystem::path home_;
    ScopedEnv homeEnv_, configEnv_, dataEnv_, stateEnv_, cacheEnv_, runtimeEnv_;
};

/// Python 3 is there to read our files with an independent parser (plistlib, zipfile).
int runPython(const std::string& script, std::string* output = nullptr);

} // namespace quilla::test
