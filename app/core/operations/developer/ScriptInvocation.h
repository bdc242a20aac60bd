#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace quilla {

/// The program that runs a user's script file and its arguments.
struct ScriptInvocation {
    std::filesystem::path program;
    std::vector<std::string> arguments;

    bool operator==(const ScriptInvocation&) const = default;
};

/// How a script file is run, checked in this order: an executable file runs itself with the
/// input paths; ".py" (any case) runs with /usr/bin/python3, ".bash" with /bin/bash, anything
/// else with /bin/zsh (or /bin/sh where zsh is not installed), each given the script path and
/// then the input paths. An ".applescript" file cannot run here and fails with commandFailed.
ScriptInvocation scriptInvocation(const std::filesystem::path& script, const std::vector<std::filesystem::path>& inputs);

} // namespace quilla
