#include "shared/Uuid.h"

#include <gtest/gtest.h>

#include <set>

TEST(Uuid, IsCanonicalUpperCaseVersion4AndUnique) {
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const auto id = quilla::newUUIDString();
        ASSERT_TRUE(quilla::isUUIDString(id)) << id;
        EXPECT_EQ(id[14], '4');
        EXPECT_NE(std::string("89AB").find(id[19]), std::string::npos);
        EXPECT_EQ(id.find_first_of("abcdef"), std::string::npos);
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 1000u);
    EXPECT_FALSE(quilla::isUUIDString("not-a-uuid"));
}
