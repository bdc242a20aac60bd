#include "app/core/lists/CustomDestinationStore.h"

#include "app/core/DesktopEntry.h"
#include "app/core/lists/ListRemoval.h"
#include "shared/DesktopEntryLookup.h"
#include "shared/L10n.h"
#include "shared/ListMove.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

namespace quilla {
namespace {

namespace fs = std::filesystem;

struct FolderDefault {
    std::string_view key; // the id; its display text is the name
    paths::UserDir folder;
};

constexpr std::string_view kRetiredQuickOpenID = "quilla-project";

std::vector<CustomDestination> fileDefaults() {
    std::vector<CustomDestination> result;
    const std::array<FolderDefault, 3> defaults{{{L10n::key<"桌面">(), paths::UserDir::desktop},
                                                 {L10n::key<"下载">(), paths::UserDir::downloads},
                                                 {L10n::key<"文稿">(), paths::UserDir::documents}}};
    for (const auto& item : defaults) {
        result.push_back({std::string(item.key), L10n::text(item.key), paths::userDir(item.folder).string()});
    }
    return result;
}

std::vector<CustomDestination> quickOpenDefaults() {
    std::vector<CustomDestination> result{{"home", L10n::text<"用户目录">(), paths::home().string()}};
    auto files = fileDefaults();
    result.insert(result.end(), files.begin(), files.end());
    result.push_back({"pictures", L10n::text<"图片">(), paths::userDir(paths::UserDir::pictures).string()});
    result.push_back({"applications", L10n::text<"应用程序">(), paths::applicationsDir().string()});
    return result;
}

std::vector<CustomDestination> applicationDefaults() {
    std::vector<CustomDestination> result;
    for (const auto& item : DesktopEntryLookup::defaultApplications()) {
        for (auto candidate : item.desktopFileIDs) {
            if (auto entry = DesktopEntry::find(candidate)) {
                result.push_back({std::string(item.id), entry->displayName(), entry->path.string()});
                break;
            }
        }
    }
    return result;
}

bool sameEntry(const CustomDestination& a, const CustomDestination& b) { return a.id == b.id || a.path == b.path; }

bool matchesAny(const CustomDestination& item, const std::vector<CustomDestination>& list) {
    return std::any_of(list.begin(), list.end(), [&](const auto& other) { return sameEntry(item, other); });
}

// Installed default applications always lead; the user's own follow in their order.
std::vector<CustomDestination> defaultsFirst(const std::vector<CustomDestination>& current,
                                             const std::vector<CustomDestination>& defaults) {
    auto result = defaults;
    for (const auto& item : current) {
        if (!matchesAny(item, defaults)) {
            result.push_back(item);
        }
    }
    return result;
}

// A default the user removed comes back at the end of the list.
void appendMissingDefaults(std::vector<CustomDestination>& current, const std::vector<CustomDestination>& defaults) {
    for (const auto& item : defaults) {
        if (!matchesAny(item, current)) {
            current.push_back(item);
        }
    }
}

// The chosen path as the list stores it: absolute, without "." parts or a trailing slash.
std::optional<std::string> storedPath(const fs::path& chosen) {
    if (!chosen.is_absolute()) {
        return std::nullopt;
    }
    std::string text = chosen.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/') {
        text.pop_back();
    }
    return text;
}

} // namespace

CustomDestinationStore::CustomDestinationStore(const CustomDestinationPersistence& persistence)
    : persistence_(persistence), destinationsByKind_(normalized(persistence.loadKeepingDamagedAside())) {
    persistence_.save(destinationsByKind_);
}

const std::vector<CustomDestination>& CustomDestinationStore::destinations(CustomDestinationKind kind) const {
    static const std::vector<CustomDestination> none;
    auto it = destinationsByKind_.find(std::string(rawValue(kind)));
    return it == destinationsByKind_.end() ? none : it->second;
}

std::vector<CustomDestination>& CustomDestinationStore::list(CustomDestinationKind kind) {
    return destinationsByKind_[std::string(rawValue(kind))];
}

void CustomDestinationStore::addDestination(CustomDestinationKind kind, ListPrompts& prompts) {
    const auto options = panelOptions(kind);
    const auto chosen = holdsFolders(kind) ? prompts.chooseFolder(options) : prompts.chooseApplication(options);
    const auto path = chosen ? storedPath(*chosen) : std::nullopt;
    // The open-with menu can only launch desktop entries; anything else would be a dead item.
    if (!path || (!holdsFolders(kind) && !DesktopEntry::isApplicationPath(*path))) {
        return;
    }
    auto& items = list(kind);
    if (std::any_of(items.begin(), items.end(), [&](const auto& item) { return item.path == *path; })) {
        return;
    }
    items.push_back({newUUIDString(), displayName(kind, *path), *path});
    changed();
}

void CustomDestinationStore::removeDestinations(CustomDestinationKind kind, const std::set<std::size_t>& offsets) {
    removeItems(list(kind), offsets, [] {});
    changed();
}

void CustomDestinationStore::moveDestinations(CustomDestinationKind kind, const std::set<std::size_t>& offsets,
                                              std::size_t destination) {
    moveItems(list(kind), offsets, destination);
    changed();
}

std::vector<CustomDestination> CustomDestinationStore::defaultDestinations(CustomDestinationKind kind) {
    switch (kind) {
    case CustomDestinationKind::copy:
    case CustomDestinationKind::move: return fileDefaults();
    case CustomDestinationKind::quickOpen: return quickOpenDefaults();
    case CustomDestinationKind::openApplication: return applicationDefaults();
    }
    return {};
}

DestinationsByKind CustomDestinationStore::normalized(std::optional<DestinationsByKind> saved) {
    DestinationsByKind result = saved ? std::move(*saved) : DestinationsByKind{};
    for (auto kind : allCustomDestinationKinds) {
        const auto defaults = defaultDestinations(kind);
        auto& items = result.try_emplace(std::string(rawValue(kind)), defaults).first->second;
        if (kind == CustomDestinationKind::quickOpen) {
            std::erase_if(items, [](const auto& item) { return item.id == kRetiredQuickOpenID; });
        }
        if (kind == CustomDestinationKind::openApplication) {
            std::erase_if(items, isLegacyDeveloperApp);
            items = defaultsFirst(items, defaults);
        } else {
            appendMissingDefaults(items, defaults);
        }
    }
    return result;
}

bool CustomDestinationStore::isLegacyDeveloperApp(const CustomDestination& destination) {
    return DesktopEntryLookup::isLegacyDeveloperApplication(destination.id, destination.path);
}

std::string CustomDestinationStore::displayName(CustomDestinationKind kind, const std::string& path) {
    const fs::path item(path);
    if (kind == CustomDestinationKind::openApplication && item.extension() == ".desktop") {
        auto entry = DesktopEntry::read(item);
        return entry ? entry->displayName() : item.stem().string();
    }
    const auto last = item.filename().string();
    return last.empty() ? path : last;
}

OpenPanelOptions CustomDestinationStore::panelOptions(CustomDestinationKind kind) {
    OpenPanelOptions options;
    options.title = addPanelTitle(kind);
    options.confirmButtonTitle = L10n::text<"添加">();
    if (holdsFolders(kind)) {
        options.canChooseDirectories = true;
        options.canCreateDirectories = true;
    } else {
        options.canChooseFiles = true;
        options.startDirectory = paths::applicationsDir();
        options.nameFilters = {"*.desktop"};
    }
    return options;
}

void CustomDestinationStore::changed() {
    persistence_.save(destinationsByKind_);
    notifyChanged();
}

} // namespace quilla
