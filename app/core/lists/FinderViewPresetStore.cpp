#include "app/core/lists/FinderViewPresetStore.h"

#include "app/core/lists/ListRemoval.h"
#include "shared/L10n.h"
#include "shared/ListMove.h"
#include "shared/Uuid.h"

#include <algorithm>

namespace quilla {

FinderViewPresetStore::FinderViewPresetStore(const FinderViewPresetPersistence& persistence)
    : persistence_(persistence), presets_(persistence.loadKeepingDamagedAside().value_or(defaultPresets())) {
    persistence_.save(presets_);
}

std::vector<FinderViewPreset> FinderViewPresetStore::defaultPresets() {
    return {
        {"list-modified", L10n::text<"列表 · 最近修改">(), FinderViewMode::list, FinderSortMode::modificationDate},
        {"icon-name", L10n::text<"图标 · 按名称">(), FinderViewMode::icon, FinderSortMode::name},
        {"column-name", L10n::text<"分栏 · 按名称">(), FinderViewMode::column, FinderSortMode::name},
    };
}

void FinderViewPresetStore::addPreset() {
    presets_.push_back({newUUIDString(), automaticName(FinderViewMode::list, FinderSortMode::modificationDate),
                        FinderViewMode::list, FinderSortMode::modificationDate});
    changed();
}

void FinderViewPresetStore::removePresets(const std::set<std::size_t>& offsets) {
    removeItems(presets_, offsets, [this] { changed(); });
}

void FinderViewPresetStore::movePresets(const std::set<std::size_t>& offsets, std::size_t destination) {
    moveItems(presets_, offsets, destination);
    changed();
}

void FinderViewPresetStore::update(const FinderViewPreset& preset) {
    auto it = std::find_if(presets_.begin(), presets_.end(), [&](const auto& item) { return item.id == preset.id; });
    if (it == presets_.end()) {
        return;
    }
    it->name = preset.name;
    it->viewMode = preset.viewMode;
    it->sortMode = preset.sortMode;
    changed();
}

void FinderViewPresetStore::changed() {
    persistence_.save(presets_);
    notifyChanged();
}

} // namespace quilla
