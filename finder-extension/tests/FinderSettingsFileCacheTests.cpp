#include "finder-extension/core/FinderSettingsFileCache.h"
#include "shared/FileIO.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>

namespace quilla {
namespace {

int derivations = 0;

std::string derive(const std::optional<std::string>& bytes) {
    ++derivations;
    return bytes ? *bytes : "<none>";
}

void makeOld(const std::filesystem::path& path) {
    const timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ::utimes(path.c_str(), hourAgo);
}

TEST(FinderSettingsFileCache, ReusesADerivationOnlyWhileTheFileIsUnchanged) {
    test::TempDir dir;
    const auto path = dir / "settings";
    FinderSettingsFileCache cache;
    derivations = 0;
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "<none>");
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "<none>");
    EXPECT_EQ(derivations, 1) << "a missing file stays missing without a new derivation";

    writeFileAtomically(path, "one");
    makeOld(path);
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "one");
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "one");
    EXPECT_EQ(derivations, 2);

    writeFileAtomically(path, "two");
    makeOld(path); // same size and same old timestamps: the new inode still tells
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "two");

    writeFileAtomically(path, std::string(200, 'x'));
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "<none>") << "larger than the cap counts as unreadable";
    std::filesystem::remove(path);
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "<none>");
}

TEST(FinderSettingsFileCache, ARecentFileIsComparedByContent) {
    test::TempDir dir;
    const auto path = dir / "settings";
    FinderSettingsFileCache cache;
    writeFileAtomically(path, "aaaa");
    derivations = 0;
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "aaaa");
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "aaaa");
    EXPECT_EQ(derivations, 1) << "unchanged bytes are not derived again";

    // Rewritten in place within the same clock tick: stat may not change, the bytes do.
    struct stat before {};
    ::stat(path.c_str(), &before);
    {
        FILE* file = std::fopen(path.c_str(), "r+");
        ASSERT_TRUE(file);
        std::fputs("bbbb", file);
        std::fclose(file);
    }
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ::utimensat(AT_FDCWD, path.c_str(), times, 0);
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "bbbb");
}

TEST(FinderSettingsFileCache, EachDerivationHasItsOwnEntry) {
    test::TempDir dir;
    const auto path = dir.write("settings", "abc");
    FinderSettingsFileCache cache;
    const auto length = [](const std::optional<std::string>& bytes) { return bytes ? bytes->size() : 0u; };
    EXPECT_EQ(*cache.load<std::size_t>(path, 100, +length), 3u);
    EXPECT_EQ(*cache.load<std::string>(path, 100, &derive), "abc");
}

} // namespace
} // namespace quilla
