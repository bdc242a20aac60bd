#include "finder-extension/cli/QuillaFinderCommand.h"

#include "finder-extension/cli/FinderMenuPrinter.h"
#include "finder-extension/cli/StandardErrorSystemLog.h"
#include "finder-extension/core/FinderSelectionHost.h"
#include "finder-extension/core/FinderSync.h"
#include "finder-extension/dbus/DBusActionQueuedNotifier.h"
#include "finder-extension/dbus/DBusQuillaAppLauncher.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <optional>
#include <stdexcept>

namespace quilla {
namespace {

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string command;
    std::string itemPath;
    std::vector<std::string> selected;
    std::optional<std::string> target;
    unsigned long kind = 0;
    bool json = false;
    bool withoutContext = false;
};

// File managers hand over absolute paths; relative ones are taken from the working folder.
std::string absolutePath(const std::string& path) {
    return std::filesystem::absolute(std::filesystem::path(path)).string();
}

unsigned long kindNumber(const std::string& text) {
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > 3) {
        throw UsageError("--kind takes 0, 1, 2 or 3");
    }
    return value;
}

Options parse(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        throw UsageError("missing command");
    }
    Options options;
    options.command = arguments[0];
    if (options.command != "menu" && options.command != "click" && options.command != "directories") {
        throw UsageError("unknown command: " + options.command);
    }
    std::size_t i = 1;
    if (options.command == "click") {
        if (arguments.size() < 2) {
            throw UsageError("click needs the titles of the item, separated by \" > \"");
        }
        options.itemPath = arguments[i++];
    }
    const auto value = [&](const std::string& flag) -> const std::string& {
        if (i + 1 >= arguments.size()) {
            throw UsageError(flag + " needs a value");
        }
        return arguments[++i];
    };
    const bool takesSelection = options.command != "directories";
    for (; i < arguments.size(); ++i) {
        const std::string& flag = arguments[i];
        if (takesSelection && flag == "--selected") {
            options.selected.push_back(absolutePath(value(flag)));
        } else if (takesSelection && flag == "--target") {
            options.target = absolutePath(value(flag));
        } else if (options.command == "menu" && flag == "--kind") {
            options.kind = kindNumber(value(flag));
        } else if (options.command == "menu" && flag == "--json") {
            options.json = true;
        } else if (options.command == "click" && flag == "--without-context") {
            options.withoutContext = true;
        } else {
            throw UsageError("unexpected argument: " + flag);
        }
    }
    return options;
}

std::vector<std::string> splitTitles(const std::string& path) {
    constexpr std::string_view separator = " > ";
    std::vector<std::string> titles;
    std::size_t start = 0;
    for (auto at = path.find(separator); at != std::string::npos; at = path.find(separator, start)) {
        titles.push_back(path.substr(start, at - start));
        start = at + separator.size();
    }
    titles.push_back(path.substr(start));
    return titles;
}

/// The items along `titles`, outermost first; empty when a title is missing on its level.
std::vector<const FinderMenuItem*> findItemPath(const FinderMenu& menu,
                                                const std::vector<std::string>& titles) {
    std::vector<const FinderMenuItem*> path;
    const FinderMenu* level = &menu;
    for (const auto& title : titles) {
        if (!level) {
            return {};
        }
        const auto it =
            std::find_if(level->items.begin(), level->items.end(),
                         [&](const FinderMenuItem& item) { return !item.separator && item.title == title; });
        if (it == level->items.end()) {
            return {};
        }
        path.push_back(&*it);
        level = it->submenu.get();
    }
    return path;
}

int runWith(const Options& options, std::ostream& out) {
    if (options.command == "directories") {
        for (const auto& path : FinderSync::monitoredDirectoryPaths()) {
            out << path << '\n';
        }
        return 0;
    }
    StandardErrorSystemLog systemLog;
    DBusActionQueuedNotifier notifier;
    DBusQuillaAppLauncher launcher(DBusQuillaAppLauncher::Mode::waitForStart);
    FinderSelectionHost host(options.selected, options.target);
    FinderSync sync(host, {systemLog, notifier, launcher});
    const auto menu = sync.menu(static_cast<FinderMenuKind>(options.kind));
    if (options.command == "menu") {
        out << (options.json ? FinderMenuPrinter::json(menu) : FinderMenuPrinter::text(menu));
        return 0;
    }
    const auto itemPath = findItemPath(menu, splitTitles(options.itemPath));
    if (itemPath.empty()) {
        throw UsageError("no menu item at \"" + options.itemPath + "\"");
    }
    // The file manager never lets a greyed-out item be chosen; neither does the command line.
    if (std::any_of(itemPath.begin(), itemPath.end(),
                    [](const FinderMenuItem* item) { return !item->enabled; })) {
        throw std::runtime_error("the menu item \"" + options.itemPath +
                                 "\" is disabled for this selection; nothing was queued");
    }
    FinderMenuItem item = *itemPath.back();
    if (options.withoutContext) {
        item.representedObject = std::monostate{};
    }
    const auto file = sync.performFeatureChild(item);
    if (!file) {
        return 1;
    }
    out << file->string() << '\n';
    return 0;
}

} // namespace

int QuillaFinderCommand::run(const std::vector<std::string>& arguments, std::ostream& out,
                             std::ostream& err) {
    try {
        return runWith(parse(arguments), out);
    } catch (const UsageError& error) {
        err << "quilla-finder: " << error.what() << '\n' << usage;
        return 2;
    } catch (const std::exception& error) {
        err << "quilla-finder: " << error.what() << '\n';
        return 1;
    }
}

} // namespace quilla
