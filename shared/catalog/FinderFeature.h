#pragma once

#include "shared/catalog/FinderFeatureChild.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// A feature (a group of context-menu actions) as the extension sees it. Cases are in catalog order;
/// the raw value of each is its case name.
enum class FinderFeature : std::uint8_t {
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
std::span<const FinderFeature> allFinderFeatures();

/// The stable ID of a feature, e.g. "createFile".
std::string_view rawValue(FinderFeature feature);

/// The feature with this ID; empty for an unknown ID (callers skip it).
std::optional<FinderFeature> finderFeatureFromID(std::string_view id);

/// The translated menu title.
std::string title(FinderFeature feature);

/// The feature's children in catalog order; empty for customActions, whose items are the user's own.
const std::vector<FinderFeatureChild>& children(FinderFeature feature);

/// The catalog child with this action ID, searched in catalog order; empty for an ID no feature
/// holds (the destination submenu IDs "copyFilesToFolder" and "moveFilesToFolder" included).
std::optional<FinderFeatureChild> finderFeatureChild(std::string_view actionID);

/// The feature whose children include `actionID`; empty when none does.
std::optional<FinderFeature> featureOfChild(std::string_view actionID);

} // namespace quilla
