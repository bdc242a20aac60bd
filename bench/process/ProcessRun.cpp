#include "bench/process/ProcessRun.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quilla::bench {
namespace {

void redirect(int fd, const fs::path& path, int flags) {
    const int opened = ::open(path.empty() ? "/dev/null" : path.c_str(), flags, 0600);
    if (opened < 0 || ::dup2(opened, fd) < 0) {
        ::_exit(126);
    }
    ::close(opened);
}

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

std::string commandLine(const ProcessCommand& command) {
    std::string line;
    for (const auto& word : command.argv) {
        line += (line.empty() ? "" : " ") + word;
    }
    return line;
}

std::string contents(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

pid_t startProcess(const ProcessCommand& command) {
    std::vector<char*> argv;
    for (const auto& word : command.argv) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        redirect(0, command.input, O_RDONLY);
        redirect(1, command.output, O_WRONLY | O_CREAT | O_TRUNC);
        redirect(2, command.errors, O_WRONLY | O_CREAT | O_TRUNC);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

double reapProcess(pid_t pid, int& status) {
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            throw std::runtime_error("wait4 failed");
        }
    }
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

ProcessTimes runProcess(const ProcessCommand& command) {
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    const double cpu = reapProcess(startProcess(command), status);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(commandLine(command) + " failed (status " + std::to_string(status) +
                                 "): " + (command.errors.empty() ? "" : contents(command.errors)));
    }
    return {wall.count(), cpu};
}

bool onPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin:/bin");
    for (std::string folder; std::getline(folders, folder, ':');) {
        if (!folder.empty() && ::access((fs::path(folder) / program).c_str(), X_OK) == 0) {
            return true;
        }
    }
    return false;
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

PairedMedians runPairs(const PairSide& first, const PairSide& second, int pairs) {
    const auto once = [](const PairSide& side) {
        side.prepare();
        const auto times = runProcess(side.command);
        side.cleanUp();
        return times;
    };
    once(first);
    once(second);
    std::vector<double> firstWall, firstCPU, secondWall, secondCPU, wallRatios, cpuRatios;
    for (int pair = 0; pair < pairs; ++pair) {
        const auto a = once(first);
        const auto b = once(second);
        firstWall.push_back(a.wallSeconds);
        firstCPU.push_back(a.cpuSeconds);
        secondWall.push_back(b.wallSeconds);
        secondCPU.push_back(b.cpuSeconds);
        wallRatios.push_back(a.wallSeconds / b.wallSeconds);
        // A tiny command can be charged no CPU tick at all; such a pair says nothing about CPU.
        if (b.cpuSeconds > 0) {
            cpuRatios.push_back(a.cpuSeconds / b.cpuSeconds);
        }
    }
    return {{median(firstWall), median(firstCPU)},
            {median(secondWall), median(secondCPU)},
            median(wallRatios),
            median(cpuRatios)};
}

} // namespace quilla::bench
