#pragma once

#include "shared/catalog/QuillaFeature.h"

namespace quilla {

/// The sidebar's selection: one feature's page, or the preferences.
struct SettingsPage {
    enum class Kind { feature, preferences };

    Kind kind = Kind::feature;
    QuillaFeature feature = QuillaFeature::createFile; ///< meaningful for feature pages only

    static SettingsPage forFeature(QuillaFeature feature) { return {Kind::feature, feature}; }
    static SettingsPage preferences() { return {Kind::preferences, QuillaFeature::createFile}; }

    friend bool operator==(const SettingsPage& a, const SettingsPage& b) {
        return a.kind == b.kind && (a.kind == Kind::preferences || a.feature == b.feature);
    }
};

} // namespace quilla
