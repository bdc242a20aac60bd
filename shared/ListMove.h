#pragma once

#include <algorithm>
#include <cstddef>
#include <set>
#include <vector>

namespace quilla {

/// The one reordering rule of every ordered list: the items at `offsets` keep their relative
/// order and are inserted as one run before the item that was at `destination` (the list's
/// length means the end). Offsets past the end are ignored; an empty set changes nothing.
template <typename T>
void moveItems(std::vector<T>& items, const std::set<std::size_t>& offsets, std::size_t destination) {
    std::vector<T> moved;
    std::vector<T> kept;
    std::size_t movedBelowDestination = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (offsets.contains(i)) {
            moved.push_back(std::move(items[i]));
            if (i < destination) {
                ++movedBelowDestination;
            }
        } else {
            kept.push_back(std::move(items[i]));
        }
    }
    if (moved.empty()) {
        items = std::move(kept);
        return;
    }
    const std::size_t insertAt = std::min(destination - std::min(destination, movedBelowDestination), kept.size());
    kept.insert(kept.begin() + static_cast<std::ptrdiff_t>(insertAt), std::make_move_iterator(moved.begin()),
                std::make_move_iterator(moved.end()));
    items = std::move(kept);
}

} // namespace quilla
