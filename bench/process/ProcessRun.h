#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quilla::bench {

/// What one whole command cost: wall time from fork to reaped, and the CPU time (user + system)
/// the kernel charged to it and its children.
struct ProcessTimes {
    double wallSeconds = 0;
    double cpuSeconds = 0;
};

/// A command line run as a user runs it: its standard input from `input` (nothing when empty),
/// its output kept in `output` (discarded when empty), its errors in `errors`.
struct ProcessCommand {
    std::vector<std::string> argv;
    std::filesystem::path input;
    std::filesystem::path output;
    std::filesystem::path errors;
};

/// Starts the command (fork, exec through PATH) without waiting; the child's id.
pid_t startProcess(const ProcessCommand& command);

/// Waits for the child; its CPU time, and its exit status in `status` (as waitpid gives it).
double reapProcess(pid_t pid, int& status);

/// Runs the command to its end. Throws std::runtime_error, with the command's errors, when it
/// does not exit with status 0.
ProcessTimes runProcess(const ProcessCommand& command);

/// Whether a program of that name is on PATH.
bool onPath(const std::string& program);

/// One side of a pair: the command, what must be in place before it (untimed), and what to undo
/// after it (untimed).
struct PairSide {
    ProcessCommand command;
    std::function<void()> prepare = [] {};
    std::function<void()> cleanUp = [] {};
};

/// The medians of a paired comparison: each side's, and of the ratios first / second taken pair
/// by pair (runs of one pair share the machine's load of the moment).
struct PairedMedians {
    ProcessTimes first;
    ProcessTimes second;
    double wallRatio = 0;
    double cpuRatio = 0;
};

/// Times one run of each side in turn, `pairs` times, after one untimed warm-up pair.
PairedMedians runPairs(const PairSide& first, const PairSide& second, int pairs);

double median(std::vector<double> values);

} // namespace quilla::bench
