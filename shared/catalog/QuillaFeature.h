#pragma once

#include "shared/catalog/QuillaFeatureChild.h"
#include "shared/catalog/RGBColor.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// A feature (a group of context-menu actions) as the application's settings see it. Same cases,
/// IDs and order as FinderFeature; the raw value of each is its case name and serves as its id.
enum class QuillaFeature : std::uint8_t {
    createFile,
    quickOpen,
    copyFile,
    copyPath,
    openWith,
    viewOptions,
    customActions,
    organizeFile,
    batchRename,
    archiveTools,
    scheduledDeletion,
    imageTools,
    pdfTools,
    developerTools,
};

/// All features in catalog order.
std::span<const QuillaFeature> allQuillaFeatures();

/// The stable ID of a feature, e.g. "createFile".
std::string_view rawValue(QuillaFeature feature);

/// The feature with this ID; empty for an unknown ID (callers skip it).
std::optional<QuillaFeature> quillaFeatureFromID(std::string_view id);

/// The translated title.
std::string title(QuillaFeature feature);

/// The translated one-line summary.
std::string summary(QuillaFeature feature);

/// The SF Symbol name of the feature's icon.
std::string_view systemImage(QuillaFeature feature);

/// The two colours of the icon's vertical gradient, top colour first.
std::array<RGBColor, 2> iconColors(QuillaFeature feature);

/// The feature's children in catalog order; empty for customActions.
const std::vector<QuillaFeatureChild>& children(QuillaFeature feature);

/// The catalog child with this action ID, searched in catalog order; empty for an ID no feature holds.
std::optional<QuillaFeatureChild> quillaFeatureChild(std::string_view actionID);

} // namespace quilla
