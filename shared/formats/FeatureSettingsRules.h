#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace quilla::feature_rules {

// The repair rules shared by the application's store and the extension's reader of
// FeatureSettings.plist. There is no version field: every load repairs what it reads.

using ChildOrderMap = std::map<std::string, std::vector<std::string>>;

/// Scheduled-deletion order written by old versions, which put the one-hour item last.
const std::vector<std::string>& legacyScheduledDeletionOrder();

/// Known feature IDs of `saved` in its order (first occurrence wins), then every missing one in
/// default order.
std::vector<std::string> normalizedFeatureOrder(const std::vector<std::string>& saved);

/// `saved` (absent counts as empty) restricted to the feature's catalog children, completed in
/// catalog order; the legacy scheduled-deletion order is replaced by the catalog order.
std::vector<std::string> normalizedChildOrder(const std::optional<std::vector<std::string>>& saved,
                                              const std::string& featureID);

/// One normalised entry per catalog feature; entries under other keys are dropped.
ChildOrderMap normalizedChildOrderByFeatureID(const ChildOrderMap& saved);

/// Feature IDs enabled after loading: the saved set plus, when `savedOrder` is not empty, every
/// default-enabled feature the order does not mention (features added to the catalog later).
std::set<std::string> enabledFeatureIDsWithNewFeatures(const std::set<std::string>& saved,
                                                       const std::vector<std::string>& savedOrder);

/// Saved child IDs plus default-enabled children that no saved order mentions (children added to
/// the catalog later); with an empty `savedOrder` map nothing is added.
std::set<std::string> enabledChildIDsWithNewChildren(const std::set<std::string>& saved,
                                                     const ChildOrderMap& savedOrder);

/// Only IDs of catalog children.
std::set<std::string> validChildIDs(const std::set<std::string>& ids);

/// Every enabled feature (in `featureIDs`) with children shows at least one: when none of its
/// children in `childOrder` (or its catalog children) is enabled, all of them are enabled.
std::set<std::string> enabledChildIDsWithVisibleEnabledFeatures(std::set<std::string> enabled,
                                                                const std::vector<std::string>& featureIDs,
                                                                const ChildOrderMap& childOrder);

} // namespace quilla::feature_rules
