#pragma once

#include "app/core/Observable.h"
#include "app/core/lists/FinderViewPreset.h"
#include "app/core/lists/FinderViewPresetPersistence.h"

#include <cstddef>
#include <set>
#include <vector>

namespace quilla {

/// The view presets in memory. Starts from the saved file, or from the defaults when the file
/// counts as absent (a saved empty list stays empty), and saves once; every later change is
/// saved at once and announced.
class FinderViewPresetStore final : public Observable {
public:
    explicit FinderViewPresetStore(const FinderViewPresetPersistence& persistence);

    const std::vector<FinderViewPreset>& presets() const { return presets_; }

    /// Appends "列表 · 按修改日期" (list, modification date) with a new UUID; names may repeat.
    void addPreset();

    /// Removes the presets at `offsets`, highest first, saving after each single removal.
    void removePresets(const std::set<std::size_t>& offsets);

    /// Reorders with the common list rule (moveItems), then saves once.
    void movePresets(const std::set<std::size_t>& offsets, std::size_t destination);

    /// Gives the first preset with `preset`'s id its name and modes, in place; nothing happens
    /// (and nothing is saved) for an unknown id.
    void update(const FinderViewPreset& preset);

    /// "列表 · 最近修改", "图标 · 按名称", "分栏 · 按名称".
    static std::vector<FinderViewPreset> defaultPresets();

private:
    void changed();

    const FinderViewPresetPersistence& persistence_;
    std::vector<FinderViewPreset> presets_;
};

} // namespace quilla
