#include "shared/DesktopEntryLookup.h"

#include "shared/QuillaPaths.h"

#include <cstdlib>

namespace quilla {
namespace {

constexpr std::string_view kGroupHeader = "[Desktop Entry]";
constexpr std::string_view kExtension = ".desktop";

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// The general escapes of string values: \s \n \t \r \\; anything else stays as written.
std::string unescaped(std::string_view value) {
    std::string result;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        switch (const char next = value[++i]) {
        case 's': result += ' '; break;
        case 'n': result += '\n'; break;
        case 't': result += '\t'; break;
        case 'r': result += '\r'; break;
        case '\\': result += '\\'; break;
        default:
            result += '\\';
            result += next;
        }
    }
    return result;
}

} // namespace

std::optional<DesktopEntryLookup::Entry> DesktopEntryLookup::parse(std::string_view text) {
    Entry entry;
    bool found = false;
    bool inGroup = false;
    bool haveName = false;
    bool haveHidden = false;
    bool haveExec = false;
    bool haveNoDisplay = false;
    bool haveIcon = false;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        const auto line = trimmed(text.substr(0, newline));
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[') {
            inGroup = line == kGroupHeader;
            found = found || inGroup;
            continue;
        }
        const auto equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos) {
            continue;
        }
        const auto key = trimmed(line.substr(0, equals));
        const auto value = trimmed(line.substr(equals + 1));
        if (key == "Name" && !haveName) { // the first occurrence of a key wins
            entry.name = unescaped(value);
            haveName = true;
        } else if (key == "Hidden" && !haveHidden) {
            entry.hidden = value == "true";
            haveHidden = true;
        } else if (key == "Exec" && !haveExec) {
            entry.exec = unescaped(value);
            haveExec = true;
        } else if (key == "NoDisplay" && !haveNoDisplay) {
            entry.noDisplay = value == "true";
            haveNoDisplay = true;
        } else if (key == "Icon" && !haveIcon) {
            entry.icon = unescaped(value);
            haveIcon = true;
        }
    }
    if (!found) {
        return std::nullopt;
    }
    return entry;
}

std::vector<std::filesystem::path> DesktopEntryLookup::applicationDirs() {
    std::vector<std::filesystem::path> dirs{paths::dataHome() / "applications"};
    const char* value = std::getenv("XDG_DATA_DIRS");
    std::string_view list = value && *value ? value : "/usr/local/share:/usr/share";
    while (!list.empty()) {
        const auto colon = list.find(':');
        const auto item = list.substr(0, colon);
        if (!item.empty() && item.front() == '/') {
            dirs.push_back(std::filesystem::path(item) / "applications");
        }
        list.remove_prefix(colon == std::string_view::npos ? list.size() : colon + 1);
    }
    return dirs;
}

std::string DesktopEntryLookup::displayName(const Entry& entry, const std::filesystem::path& path) {
    if (!entry.name.empty()) {
        return entry.name;
    }
    auto file = path.filename().string();
    if (file.ends_with(kExtension) && file.size() > kExtension.size()) {
        file.resize(file.size() - kExtension.size());
    }
    return file;
}

const std::array<DesktopEntryLookup::DefaultApplication, 5>& DesktopEntryLookup::defaultApplications() {
    static constexpr std::array<DefaultApplication, 5> applications{{
        {"preview", {"org.gnome.Evince.desktop", "org.gnome.Papers.desktop"}},
        {"textedit", {"org.gnome.TextEditor.desktop", "org.gnome.gedit.desktop"}},
        {"pages", {"libreoffice-writer.desktop", ""}},
        {"numbers", {"libreoffice-calc.desktop", ""}},
        {"keynote", {"libreoffice-impress.desktop", ""}},
    }};
    return applications;
}

bool DesktopEntryLookup::isLegacyDeveloperApplication(std::string_view id, const std::filesystem::path& path) {
    if (id == "vscode" || id == "cursor") {
        return true;
    }
    const auto text = path.string();
    if (text == "/Applications/Visual Studio Code.app" || text == "/Applications/Cursor.app") {
        return true;
    }
    const auto file = path.filename().string();
    return file == "code.desktop" || file == "cursor.desktop";
}

} // namespace quilla
