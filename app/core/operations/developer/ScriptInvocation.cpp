#include "app/core/operations/developer/ScriptInvocation.h"

#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "shared/L10n.h"

#include <algorithm>
#include <unistd.h>

namespace quilla {
namespace fs = std::filesystem;
namespace {

bool isExecutableFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

std::string lowerCased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return text;
}

fs::path interpreterFor(const fs::path& script) {
    const auto extension = lowerCased(executor::splitLastExtension(script.filename().string()).second);
    if (extension == "py") {
        return "/usr/bin/python3";
    }
    if (extension == "applescript") {
        throw FinderActionExecutionError::commandFailed(L10n::text<"AppleScript 脚本无法在 Linux 上运行：">() +
                                                        script.string());
    }
    if (extension == "bash") {
        return "/bin/bash";
    }
    return isExecutableFile("/bin/zsh") ? fs::path("/bin/zsh") : fs::path("/bin/sh");
}

} // namespace

ScriptInvocation scriptInvocation(const fs::path& script, const std::vector<fs::path>& inputs) {
    std::vector<std::string> inputArguments;
    for (const auto& input : inputs) {
        inputArguments.push_back(input.string());
    }
    if (isExecutableFile(script)) {
        return {script, inputArguments};
    }
    ScriptInvocation invocation{interpreterFor(script), {script.string()}};
    invocation.arguments.insert(invocation.arguments.end(), inputArguments.begin(), inputArguments.end());
    return invocation;
}

} // namespace quilla
