#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quilla {

/// Feature IDs enabled for a new user: every feature whose catalog row is on by default (all but
/// "developerTools"), in catalog order.
const std::vector<std::string>& everydayEnabledFeatureIDs();

/// Feature IDs in the menu order a new user sees; holds every feature once, and differs from the
/// catalog order.
const std::vector<std::string>& defaultFeatureOrder();

/// Child IDs enabled for a new user: the catalog children on by default plus the destination
/// submenus "copyFilesToFolder" and "moveFilesToFolder" (each placed before its feature's children),
/// in catalog order.
const std::vector<std::string>& everydayEnabledChildIDs();

/// For every feature in catalog order, its ID and its children's IDs in catalog order.
const std::vector<std::pair<std::string, std::vector<std::string>>>& defaultChildOrderByFeatureID();

/// Every catalog child ID, in catalog order.
const std::vector<std::string>& allCatalogChildIDs();

} // namespace quilla
