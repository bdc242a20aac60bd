#include "app/cli/PerformCommand.h"

#include "app/cli/TerminalFinderScripting.h"
#include "app/cli/TerminalPasteboard.h"
#include "app/cli/TerminalPrompts.h"
#include "app/cli/TerminalWorkspace.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/platform/FreedesktopTrash.h"
#include "app/core/preferences/AppPreferencesPersistence.h"

#include <optional>
#include <string_view>

namespace quilla {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUsage =
    "usage: quilla perform ACTION_ID [--selected PATH]... [--target DIR] [--destination PATH] "
    "[--preset ID] [--print-opens]\n";

struct PerformOptions {
    ActionRequest request;
    bool printOpens = false;
};

/// Paths from the command line are relative to the working folder; the executor wants them whole.
fs::path absolutePath(std::string_view text) {
    std::error_code ec;
    auto path = fs::absolute(fs::path(text), ec);
    return ec ? fs::path(text) : path;
}

/// The parsed command line; nothing (with the reason on `err`) when it is malformed.
std::optional<PerformOptions> parse(int argc, char** argv, std::ostream& err) {
    PerformOptions options;
    std::optional<std::string> actionID;
    for (int i = 0; i < argc; ++i) {
        const std::string_view word = argv[i];
        const bool hasValue = i + 1 < argc;
        auto value = [&]() { return std::string_view(argv[++i]); };
        if (word == "--print-opens") {
            options.printOpens = true;
        } else if (word == "--selected" && hasValue) {
            options.request.selectedPaths.push_back(absolutePath(value()));
        } else if (word == "--target" && hasValue) {
            options.request.targetedPath = absolutePath(value());
        } else if (word == "--destination" && hasValue) {
            options.request.destinationPath = absolutePath(value());
        } else if (word == "--preset" && hasValue) {
            options.request.presetID = std::string(value());
        } else if (!word.starts_with("--") && !actionID) {
            actionID = std::string(word);
        } else {
            err << "quilla perform: unexpected argument '" << word << "'\n";
            return std::nullopt;
        }
    }
    if (!actionID) {
        err << "quilla perform: missing ACTION_ID\n";
        return std::nullopt;
    }
    options.request.actionID = std::move(*actionID);
    return options;
}

} // namespace

int runPerformCommand(int argc, char** argv, std::istream& in, std::ostream& out, std::ostream& err) {
    const auto options = parse(argc, argv, err);
    if (!options) {
        err << kUsage;
        return 2;
    }
    TerminalPasteboard pasteboard;
    TerminalWorkspace workspace(options->printOpens, err);
    TerminalPrompts prompts(in, err);
    TerminalFinderScripting finderScripting;
    FreedesktopTrash trash;
    const ExecutorContext context{pasteboard, workspace,
                                  prompts,    finderScripting,
                                  trash,      [] { return AppPreferencesPersistence::load(); }};
    int status = 0;
    ActionResult result;
    std::string failure;
    try {
        result = FinderActionExecutor(context).perform(options->request);
    } catch (const std::exception& error) {
        failure = errorDescription(error);
        status = 1;
    }
    // What reached the clipboard is printed even when a later step failed: it did happen.
    if (const auto& text = pasteboard.text()) {
        out << *text << '\n';
    }
    for (const auto& item : result) {
        out << item.string() << '\n';
    }
    out << std::flush;
    if (status != 0) {
        err << failure << '\n';
    }
    return status;
}

} // namespace quilla
