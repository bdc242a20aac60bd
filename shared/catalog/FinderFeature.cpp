#include "shared/catalog/FinderFeature.h"

#include "shared/L10n.h"
#include "shared/catalog/CatalogTable.h"

namespace quilla {
namespace {

static_assert(catalog::featureCount == static_cast<std::size_t>(FinderFeature::developerTools) + 1);

constexpr auto allCases = catalog::allFeatureCases<FinderFeature>();

const catalog::FeatureRow& row(FinderFeature feature) {
    return catalog::featureRows[static_cast<std::size_t>(feature)];
}

FinderFeatureChild makeChild(const catalog::ChildRow& child) {
    return {std::string(child.actionID), L10n::text(child.title), child.action};
}

// Built at first use: the translation table is installed at start-up, before any lookup.
const std::vector<std::vector<FinderFeatureChild>>& childLists() {
    static const auto lists = catalog::buildChildLists<FinderFeatureChild>(makeChild);
    return lists;
}

} // namespace

std::span<const FinderFeature> allFinderFeatures() {
    return allCases;
}

std::string_view rawValue(FinderFeature feature) {
    return row(feature).id;
}

std::optional<FinderFeature> finderFeatureFromID(std::string_view id) {
    if (auto index = catalog::featureIndex(id)) {
        return allCases[*index];
    }
    return std::nullopt;
}

std::string title(FinderFeature feature) {
    return L10n::text(row(feature).title);
}

const std::vector<FinderFeatureChild>& children(FinderFeature feature) {
    return childLists()[static_cast<std::size_t>(feature)];
}

std::optional<FinderFeatureChild> finderFeatureChild(std::string_view actionID) {
    if (auto index = catalog::childIndex(actionID)) {
        return makeChild(catalog::childRows[*index]);
    }
    return std::nullopt;
}

std::optional<FinderFeature> featureOfChild(std::string_view actionID) {
    if (auto index = catalog::childIndex(actionID)) {
        return finderFeatureFromID(catalog::childRows[*index].featureID);
    }
    return std::nullopt;
}

} // namespace quilla
