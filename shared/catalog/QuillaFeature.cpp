#include "shared/catalog/QuillaFeature.h"

#include "shared/L10n.h"
#include "shared/catalog/CatalogTable.h"

namespace quilla {
namespace {

static_assert(catalog::featureCount == static_cast<std::size_t>(QuillaFeature::developerTools) + 1);

constexpr auto allCases = catalog::allFeatureCases<QuillaFeature>();

const catalog::FeatureRow& row(QuillaFeature feature) {
    return catalog::featureRows[static_cast<std::size_t>(feature)];
}

QuillaFeatureChild makeChild(const catalog::ChildRow& child) {
    return {L10n::text(child.title), L10n::text(child.summary), std::string(child.systemImage),
            std::string(child.actionID)};
}

// Built at first use: the translation table is installed at start-up, before any lookup.
const std::vector<std::vector<QuillaFeatureChild>>& childLists() {
    static const auto lists = catalog::buildChildLists<QuillaFeatureChild>(makeChild);
    return lists;
}

} // namespace

std::span<const QuillaFeature> allQuillaFeatures() {
    return allCases;
}

std::string_view rawValue(QuillaFeature feature) {
    return row(feature).id;
}

std::optional<QuillaFeature> quillaFeatureFromID(std::string_view id) {
    if (auto index = catalog::featureIndex(id)) {
        return allCases[*index];
    }
    return std::nullopt;
}

std::string title(QuillaFeature feature) {
    return L10n::text(row(feature).title);
}

std::string summary(QuillaFeature feature) {
    return L10n::text(row(feature).summary);
}

std::string_view systemImage(QuillaFeature feature) {
    return row(feature).systemImage;
}

std::array<RGBColor, 2> iconColors(QuillaFeature feature) {
    return {row(feature).iconTop, row(feature).iconBottom};
}

const std::vector<QuillaFeatureChild>& children(QuillaFeature feature) {
    return childLists()[static_cast<std::size_t>(feature)];
}

std::optional<QuillaFeatureChild> quillaFeatureChild(std::string_view actionID) {
    if (auto index = catalog::childIndex(actionID)) {
        return makeChild(catalog::childRows[*index]);
    }
    return std::nullopt;
}

} // namespace quilla
