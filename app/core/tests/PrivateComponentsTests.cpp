#include "app/core/PrivateComponents.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace quilla;
using quilla::test::TempDir;

TEST(PrivateComponents, TheFrontEndAndTheApplicationFindTheSameComponents) {
    TempDir prefix;
    const auto front = prefix.write("bin/quilla", "front end");
    const auto application = prefix.write("lib/quilla/quilla", "application");
    const auto module = prefix.write("lib/quilla/libquilla-pdf.so", "module");

    EXPECT_EQ(PrivateComponents::locate("quilla", front), application) << "never the front end itself";
    EXPECT_EQ(PrivateComponents::locate("libquilla-pdf.so", front), module);
    EXPECT_EQ(PrivateComponents::locate("libquilla-pdf.so", application), module);
    EXPECT_EQ(PrivateComponents::locate("libquilla-other.so", front), std::nullopt);
    std::filesystem::create_directories(prefix / "lib/quilla/folder.so");
    EXPECT_EQ(PrivateComponents::locate("folder.so", front), std::nullopt) << "a folder is no component";

    // What an autostart entry names: the command, not the private program.
    EXPECT_EQ(PrivateComponents::frontEnd(application), front);
    EXPECT_EQ(PrivateComponents::frontEnd(front), front);
    std::filesystem::remove(front);
    EXPECT_EQ(PrivateComponents::frontEnd(application), application) << "no front end installed beside it";
}

TEST(PrivateComponents, AComponentOthersCanReplaceIsNeverUsed) {
    TempDir prefix;
    const auto front = prefix.write("bin/quilla", "front end");
    const auto module = prefix.write("lib/quilla/libquilla-pdf.so", "module");
    namespace fs = std::filesystem;
    ASSERT_EQ(PrivateComponents::locate("libquilla-pdf.so", front), module);

    fs::permissions(module, fs::perms::others_write, fs::perm_options::add);
    EXPECT_EQ(PrivateComponents::locate("libquilla-pdf.so", front), std::nullopt)
        << "the file is world-writable";
    fs::permissions(module, fs::perms::others_write, fs::perm_options::remove);
    fs::permissions(prefix / "lib/quilla", fs::perms::others_write, fs::perm_options::add);
    EXPECT_EQ(PrivateComponents::locate("libquilla-pdf.so", front), std::nullopt)
        << "its folder is world-writable";
    fs::permissions(prefix / "lib/quilla", fs::perms::others_write, fs::perm_options::remove);
    fs::permissions(module, fs::perms::group_write, fs::perm_options::add);
    EXPECT_EQ(PrivateComponents::locate("libquilla-pdf.so", front), module)
        << "umask 002: the user's own group";
}
