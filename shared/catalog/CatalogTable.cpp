// Compile-time guards on the catalog table: a malformed row fails the build instead of showing up
// as a missing or misplaced menu item.
#include "shared/catalog/CatalogTable.h"

namespace quilla::catalog {
namespace {

constexpr std::size_t defaultEnabledChildCount() {
    std::size_t count = 0;
    for (const ChildRow& row : childRows) {
        count += row.enabledByDefault ? 1 : 0;
    }
    return count;
}

constexpr bool everyChildBelongsToAFeature() {
    for (const ChildRow& row : childRows) {
        if (!featureIndex(row.featureID)) {
            return false;
        }
    }
    return true;
}

// Each feature's children form one run, and the runs follow the catalog order, so the flat table
// is itself the catalog order of all children.
constexpr bool childGroupsFollowCatalogOrder() {
    for (std::size_t i = 1; i < childCount; ++i) {
        if (*featureIndex(childRows[i].featureID) < *featureIndex(childRows[i - 1].featureID)) {
            return false;
        }
    }
    return true;
}

// Feature and child IDs share one namespace in settings files and queued actions.
constexpr bool everyIDIsUnique() {
    std::array<std::string_view, featureCount + childCount> ids{};
    std::size_t n = 0;
    for (const FeatureRow& row : featureRows) {
        ids[n++] = row.id;
    }
    for (const ChildRow& row : childRows) {
        ids[n++] = row.actionID;
    }
    for (std::size_t i = 0; i < ids.size(); ++i) {
        for (std::size_t j = i + 1; j < ids.size(); ++j) {
            if (ids[i] == ids[j]) {
                return false;
            }
        }
    }
    return true;
}

static_assert(featureCount == 14);
static_assert(childCount == 73);
static_assert(defaultEnabledChildCount() == 56);
static_assert(everyChildBelongsToAFeature());
static_assert(childGroupsFollowCatalogOrder());
static_assert(everyIDIsUnique());
static_assert(childRowsOf(*featureIndex("customActions")).empty());

} // namespace
} // namespace quilla::catalog
