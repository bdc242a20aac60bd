#include "shared/catalog/FeatureCatalogDefaults.h"

#include "shared/catalog/CatalogTable.h"

#include <array>
#include <string_view>

namespace quilla {
namespace {

using catalog::featureCount;

constexpr std::array<std::string_view, featureCount> defaultFeatureOrderIDs{
    "quickOpen",    "createFile",        "organizeFile",  "copyFile",       "batchRename",
    "archiveTools", "scheduledDeletion", "imageTools",    "pdfTools",       "copyPath",
    "openWith",     "viewOptions",       "customActions", "developerTools",
};

// The order is only useful if it names each catalog feature exactly once.
constexpr bool defaultOrderIsAPermutation() {
    std::array<bool, featureCount> seen{};
    for (std::string_view id : defaultFeatureOrderIDs) {
        auto index = catalog::featureIndex(id);
        if (!index || seen[*index]) {
            return false;
        }
        seen[*index] = true;
    }
    return true;
}
static_assert(defaultOrderIsAPermutation());

/// Destination submenus of the extension: enabled by default, but no catalog child of their feature.
struct DestinationSubmenu {
    std::string_view featureID;
    std::string_view childID;
};
constexpr std::array<DestinationSubmenu, 2> destinationSubmenus{{
    {"copyFile", "copyFilesToFolder"},
    {"organizeFile", "moveFilesToFolder"},
}};

constexpr bool submenusAreNotCatalogChildren() {
    for (const DestinationSubmenu& submenu : destinationSubmenus) {
        if (!catalog::featureIndex(submenu.featureID) || catalog::childIndex(submenu.childID)) {
            return false;
        }
    }
    return true;
}
static_assert(submenusAreNotCatalogChildren());

std::vector<std::string> buildEnabledChildIDs() {
    std::vector<std::string> ids;
    for (std::size_t i = 0; i < featureCount; ++i) {
        for (const DestinationSubmenu& submenu : destinationSubmenus) {
            if (submenu.featureID == catalog::featureRows[i].id) {
                ids.emplace_back(submenu.childID);
            }
        }
        for (const catalog::ChildRow& row : catalog::childRowsOf(i)) {
            if (row.enabledByDefault) {
                ids.emplace_back(row.actionID);
            }
        }
    }
    return ids;
}

std::vector<std::string> childIDsOf(std::size_t featureIndex) {
    std::vector<std::string> ids;
    for (const catalog::ChildRow& row : catalog::childRowsOf(featureIndex)) {
        ids.emplace_back(row.actionID);
    }
    return ids;
}

} // namespace

const std::vector<std::string>& everydayEnabledFeatureIDs() {
    static const auto ids = [] {
        std::vector<std::string> result;
        for (const catalog::FeatureRow& row : catalog::featureRows) {
            if (row.enabledByDefault) {
                result.emplace_back(row.id);
            }
        }
        return result;
    }();
    return ids;
}

const std::vector<std::string>& defaultFeatureOrder() {
    static const std::vector<std::string> ids(defaultFeatureOrderIDs.begin(), defaultFeatureOrderIDs.end());
    return ids;
}

const std::vector<std::string>& everydayEnabledChildIDs() {
    static const auto ids = buildEnabledChildIDs();
    return ids;
}

const std::vector<std::pair<std::string, std::vector<std::string>>>& defaultChildOrderByFeatureID() {
    static const auto order = [] {
        std::vector<std::pair<std::string, std::vector<std::string>>> result;
        for (std::size_t i = 0; i < featureCount; ++i) {
            result.emplace_back(std::string(catalog::featureRows[i].id), childIDsOf(i));
        }
        return result;
    }();
    return order;
}

const std::vector<std::string>& allCatalogChildIDs() {
    static const auto ids = [] {
        std::vector<std::string> result;
        for (const catalog::ChildRow& row : catalog::childRows) {
            result.emplace_back(row.actionID);
        }
        return result;
    }();
    return ids;
}

} // namespace quilla
