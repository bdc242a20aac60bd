#include "app/core/lists/CustomShortcutActionStore.h"

#include "app/core/lists/ListRemoval.h"
#include "app/core/lists/TrimmedText.h"
#include "shared/L10n.h"
#include "shared/ListMove.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"

#include <algorithm>
#include <unistd.h>

namespace quilla {
namespace {

namespace fs = std::filesystem;

bool isExecutableFile(const fs::directory_entry& entry) {
    std::error_code ec;
    return entry.is_regular_file(ec) && ::access(entry.path().c_str(), X_OK) == 0;
}

} // namespace

CustomShortcutActionStore::CustomShortcutActionStore(const CustomShortcutActionPersistence& persistence)
    : persistence_(persistence), actions_(persistence.loadKeepingDamagedAside()) {
    persistence_.save(actions_);
}

void CustomShortcutActionStore::addAction(ListPrompts& prompts) {
    auto answer = prompts.pickShortcut(pickerOptions(availableShortcutNames()));
    if (!answer) {
        return;
    }
    auto shortcutName = trimmedText(answer->shortcutName);
    if (shortcutName.empty()) {
        return;
    }
    auto name = trimmedText(answer->name);
    if (name.empty()) {
        name = shortcutName;
    }
    actions_.push_back({newUUIDString(), std::move(name), CustomShortcutAction::Kind::shortcut,
                        std::move(shortcutName), std::string()});
    changed();
}

void CustomShortcutActionStore::addScriptAction(ListPrompts& prompts) {
    auto chosen = prompts.chooseScriptFile(scriptPanelOptions());
    if (!chosen || chosen->empty()) {
        return;
    }
    auto name = chosen->stem().string();
    if (name.empty()) {
        name = chosen->filename().string();
    }
    actions_.push_back(
        {newUUIDString(), std::move(name), CustomShortcutAction::Kind::script, std::string(), chosen->string()});
    changed();
}

void CustomShortcutActionStore::removeActions(const std::set<std::size_t>& offsets) {
    removeItems(actions_, offsets, [this] { changed(); });
}

void CustomShortcutActionStore::moveActions(const std::set<std::size_t>& offsets, std::size_t destination) {
    moveItems(actions_, offsets, destination);
    changed();
}

void CustomShortcutActionStore::update(const CustomShortcutAction& action, std::string_view name) {
    auto it = std::find_if(actions_.begin(), actions_.end(), [&](const auto& item) { return item.id == action.id; });
    if (it == actions_.end()) {
        return;
    }
    auto newName = trimmedText(name);
    it->name = newName.empty() ? action.detailText() : std::move(newName);
    changed();
}

std::vector<std::string> CustomShortcutActionStore::availableShortcutNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (isExecutableFile(*it)) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> CustomShortcutActionStore::availableShortcutNames() {
    return availableShortcutNames(paths::shortcutsDir());
}

ShortcutPickerOptions CustomShortcutActionStore::pickerOptions(const std::vector<std::string>& names) {
    ShortcutPickerOptions options;
    options.messageText = L10n::text<"添加快捷指令">();
    options.informativeText = names.empty() ? L10n::text<"没有读取到快捷指令，你也可以手动输入快捷指令名称。">()
                                            : L10n::text<"选择一个已有快捷指令，Quilla 会把 Finder 选中的文件传给它。">();
    options.confirmButtonTitle = L10n::text<"添加">();
    options.cancelButtonTitle = L10n::text<"取消">();
    options.placeholder = L10n::text<"快捷指令名称">();
    options.shortcutNames = names;
    options.initialText = names.empty() ? std::string() : names.front();
    options.shortcutsFolder = paths::shortcutsDir();
    return options;
}

OpenPanelOptions CustomShortcutActionStore::scriptPanelOptions() {
    OpenPanelOptions options;
    options.title = L10n::text<"选择扩展脚本">();
    options.confirmButtonTitle = L10n::text<"添加">();
    options.canChooseFiles = true;
    options.startDirectory = paths::home();
    // What the runner hands to an interpreter; an executable without a suffix runs too, so any
    // file stays choosable.
    options.nameFilters = {"*.sh", "*.bash", "*.zsh", "*.py"};
    options.offersAllFiles = true;
    return options;
}

void CustomShortcutActionStore::changed() {
    persistence_.save(actions_);
    notifyChanged();
}

} // namespace quilla
