#pragma once

#include "app/cli/PerformCommand.h"

#include <sstream>
#include <string>
#include <vector>

namespace quilla::test {

/// What one in-process `quilla perform` left behind.
struct PerformRun {
    int status;
    std::string out;
    std::string err;
};

/// Runs `quilla perform WORDS…` in this process with `input` as its terminal.
inline PerformRun runPerform(std::vector<std::string> words, const std::string& input = {}) {
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    const int status = runPerformCommand(static_cast<int>(argv.size()), argv.data(), in, out, err);
    return {status, out.str(), err.str()};
}

} // namespace quilla::test
