#pragma once

#include <cstddef>
#include <iterator>
#include <set>
#include <vector>

namespace quilla {

/// Removes the items at `offsets` from the highest offset to the lowest, so every offset still
/// names the item it named before, and calls `afterEach` after each single removal. Offsets past
/// the end are skipped.
template <typename T, typename AfterEach>
void removeItems(std::vector<T>& items, const std::set<std::size_t>& offsets, AfterEach afterEach) {
    for (auto it = offsets.rbegin(); it != offsets.rend(); ++it) {
        if (*it < items.size()) {
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(*it));
            afterEach();
        }
    }
}

} // namespace quilla
