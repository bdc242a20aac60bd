#include "shared/ListMove.h"

#include <gtest/gtest.h>

#include <string>

using quilla::moveItems;

TEST(ListMove, FollowsTheOneReorderingRule) {
    struct Case {
        std::set<std::size_t> offsets;
        std::size_t destination;
        std::string expected;
    };
    const Case cases[] = {
        {{0}, 2, "bacde"},     // forward: lands before the item that was at 2
        {{4}, 0, "eabcd"},     // backward to the front
        {{1, 3}, 5, "acebd"},  // several to the end, relative order kept
        {{0, 4}, 2, "baecd"},  // from both sides of the destination
        {{2}, 2, "abcde"},     // onto itself
        {{2}, 3, "abcde"},     // just after itself
        {{}, 1, "abcde"},      // nothing to move
        {{1, 9}, 0, "bacde"},  // offsets past the end are ignored
        {{0, 1, 2, 3, 4}, 3, "abcde"},
    };
    for (const auto& c : cases) {
        std::vector<char> items{'a', 'b', 'c', 'd', 'e'};
        moveItems(items, c.offsets, c.destination);
        EXPECT_EQ(std::string(items.begin(), items.end()), c.expected) << "destination " << c.destination;
    }
}
