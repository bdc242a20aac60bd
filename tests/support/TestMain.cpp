#include <gtest/gtest.h>

namespace quilla::test {
void setUpTestRoot();
void tearDownTestRoot();
} // namespace quilla::test

// Every test process gets its own HOME, XDG folders and TMPDIR before any test code runs, so a
// test can never read or write the developer's real settings, queue or logs.
int main(int argc, char** argv) {
    quilla::test::setUpTestRoot();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    quilla::test::tearDownTestRoot();
    return result;
}
