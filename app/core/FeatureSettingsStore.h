#pragma once

#include "app/core/FeatureSettings.h"
#include "app/core/FeatureSettingsPersistence.h"
#include "app/core/Observable.h"
#include "shared/catalog/QuillaFeature.h"

#include <cstddef>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

namespace quilla {

/// The user's feature choices in memory. Loads and repairs the saved file at creation, then
/// saves once; every later change is saved at once to both copies and announced.
class FeatureSettingsStore final : public Observable {
public:
    explicit FeatureSettingsStore(const FeatureSettingsPersistence& persistence);

    const std::set<std::string>& enabledFeatureIDs() const { return settings_.enabledFeatureIDs; }
    bool groupsFeaturesUnderQuilla() const { return settings_.groupsFeaturesUnderQuilla; }
    FinderMenuLayout menuLayout() const { return settings_.menuLayout; }
    const std::set<std::string>& enabledChildIDs() const { return settings_.enabledChildIDs; }
    const std::vector<std::string>& featureOrder() const { return settings_.featureOrder; }
    const std::map<std::string, std::vector<std::string>>& childOrderByFeatureID() const {
        return settings_.childOrderByFeatureID;
    }
    const FeatureSettings& settings() const { return settings_; }

    bool isEnabled(QuillaFeature feature) const;
    bool isChildEnabled(std::string_view childID) const;

    /// Enabling a feature none of whose children is enabled also enables all its children
    /// (a second save); disabling leaves the children as they are.
    void setEnabled(bool enabled, QuillaFeature feature);
    void setChildEnabled(bool enabled, std::string_view childID);
    void setAllChildrenEnabled(bool enabled, QuillaFeature feature);
    void setGroupsFeaturesUnderQuilla(bool groups);
    void setMenuLayout(FinderMenuLayout layout);

    /// The feature order as catalog features (unknown IDs skipped).
    std::vector<QuillaFeature> orderedFeatures() const;
    /// The feature's normalised child order as catalog children.
    std::vector<QuillaFeatureChild> orderedChildren(QuillaFeature feature) const;

    void moveFeatures(const std::set<std::size_t>& offsets, std::size_t destination);
    /// Offsets refer to the feature's full normalised child list, disabled children included.
    void moveChildren(QuillaFeature feature, const std::set<std::size_t>& offsets, std::size_t destination);

    /// Adopts what another process wrote to the application's copy: a readable file that differs
    /// from memory replaces it (repaired, announced, and written through to the extension's copy);
    /// a missing or damaged file changes nothing. True when the settings changed.
    bool reload();

    /// Writes the current settings (both copies, then the notification). A failure keeps the
    /// settings in memory and is remembered for the window to tell.
    void save();
    /// True when the last save could not write both copies (the menu still reads the old file).
    bool lastSaveFailed() const { return lastSaveFailed_; }

    /// The settings a store starts with, given what was saved (nothing = first start).
    static FeatureSettings repaired(const std::optional<FeatureSettings>& saved);
    static FeatureSettings defaults();

private:
    void changed();
    std::vector<std::string> normalizedChildIDs(QuillaFeature feature) const;

    const FeatureSettingsPersistence& persistence_;
    FeatureSettings settings_;
    bool lastSaveFailed_ = false;
};

} // namespace quilla
