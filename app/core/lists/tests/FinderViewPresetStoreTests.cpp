#include "app/core/lists/FinderViewPresetStore.h"
#include "app/core/lists/tests/ListsTestSupport.h"
#include "shared/QuillaPaths.h"
#include "shared/Uuid.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

using namespace quilla;
namespace fs = std::filesystem;

namespace {

using View = FinderViewMode;
using Sort = FinderSortMode;

class FinderViewPresetStoreTest : public ::testing::Test {
protected:
    test::ScopedHome home;
    RecordingSettingsChangeNotifier notifier;
    FinderViewPresetPersistence persistence{notifier};

    static fs::path appCopy() { return FinderViewPresetPersistence::applicationCopy(); }
    static fs::path extensionCopy() { return paths::extensionSupportDir() / "FinderViewPresets.plist"; }
    void writeSaved(const plist::Value& root) { test::writeFile(appCopy(), plist::toXML(root)); }
};

std::vector<std::string> names(const std::vector<FinderViewPreset>& presets) {
    std::vector<std::string> result;
    for (const auto& preset : presets) {
        result.push_back(preset.name);
    }
    return result;
}

} // namespace

TEST_F(FinderViewPresetStoreTest, FirstStartWritesTheThreeDefaults) {
    FinderViewPresetStore store(persistence);
    const std::vector<FinderViewPreset> expected{
        {"list-modified", "列表 · 最近修改", View::list, Sort::modificationDate},
        {"icon-name", "图标 · 按名称", View::icon, Sort::name},
        {"column-name", "分栏 · 按名称", View::column, Sort::name},
    };
    EXPECT_EQ(store.presets(), expected);
    EXPECT_EQ(notifier.reasons, std::vector<std::string>{"finder-view-presets"});
    EXPECT_EQ(test::readText(appCopy()), test::readText(extensionCopy()));
    EXPECT_EQ(test::pythonOutput(appCopy(), "d = plistlib.load(open(path, 'rb'))\n"
                                            "for e in d:\n"
                                            "    assert sorted(e) == ['id', 'name', 'sortMode', 'viewMode'], e\n"
                                            "    assert all(isinstance(v, str) for v in e.values()), e\n"
                                            "    print(e['id'], e['viewMode'], e['sortMode'])\n"),
              "list-modified list modificationDate\nicon-name icon name\ncolumn-name column name\n");
}

TEST_F(FinderViewPresetStoreTest, ASavedEmptyListStaysEmpty) {
    writeSaved(plist::Array{});
    {
        FinderViewPresetStore store(persistence);
        EXPECT_TRUE(store.presets().empty());
    }
    FinderViewPresetStore restarted(persistence);
    EXPECT_TRUE(restarted.presets().empty());
    EXPECT_FALSE(FinderViewPresetPersistence::preset("list-modified"));
}

TEST_F(FinderViewPresetStoreTest, InvalidEntriesAreSkippedAndNamesNormalised) {
    writeSaved(test::entries({
        {{"id", "a"}, {"name", "列表 · 按修改日期 3"}, {"viewMode", "list"}, {"sortMode", "modificationDate"}},
        {{"id", "b"}, {"name", "Cover"}, {"viewMode", "cover"}, {"sortMode", "name"}},
        {{"id", "c"}, {"name", "Wrong sort"}, {"viewMode", "icon"}, {"sortMode", "Name"}},
        {{"id", "d"}, {"name", "No sort"}, {"viewMode", "icon"}},
        {{"id", "e"}, {"name", "照片 2"}, {"viewMode", "gallery"}, {"sortMode", "none"}, {"colour", "red"}},
    }));
    FinderViewPresetStore store(persistence);
    EXPECT_EQ(store.presets(), (std::vector<FinderViewPreset>{{"a", "列表 · 按修改日期", View::list, Sort::modificationDate},
                                                              {"e", "照片 2", View::gallery, Sort::none}}));
    EXPECT_TRUE(test::keptAside(appCopy()).empty());
}

TEST_F(FinderViewPresetStoreTest, AWronglyShapedFileGivesTheDefaultsAndIsKeptAside) {
    const std::string cases[] = {
        "",
        plist::toXML(plist::Dict{{"presets", plist::Array{}}}),
        plist::toXML(plist::Array{plist::Dict{{"id", "a"}, {"name", "A"}, {"viewMode", "list"}, {"sortMode", 1.5}}}),
    };
    for (const auto& bytes : cases) {
        test::ScopedHome fresh;
        test::writeFile(appCopy(), bytes);
        EXPECT_FALSE(FinderViewPresetPersistence::load()) << bytes;
        FinderViewPresetStore store(persistence);
        EXPECT_EQ(store.presets(), FinderViewPresetStore::defaultPresets()) << bytes;
        EXPECT_EQ(test::keptAside(appCopy()).size(), 1u) << bytes;
    }
}

TEST(FinderViewPresetNameTest, OnlyTwoPartNamesLoseATrailingNumber) {
    const std::pair<std::string, std::string> cases[] = {
        {"图标 · 按名称 2", "图标 · 按名称"},
        {"列表 · 最近修改 12", "列表 · 最近修改"},
        {"a · b 2 3", "a · b 2"},
        {"a · b  7", "a · b "},
        {"名称 2", "名称 2"},
        {"a · b", "a · b"},
        {"a · b 2x", "a · b 2x"},
        {"a · 2", "a · 2"},
        {" · b 2", " · b 2"},
        {"a · b\n 2", "a · b\n 2"},
        {"a·b 2", "a·b 2"},
        {"", ""},
        {"7", "7"},
    };
    for (const auto& [name, expected] : cases) {
        EXPECT_EQ(normalizedPresetName(name), expected) << name;
    }
}

TEST(FinderViewPresetNameTest, AutomaticNamesFollowTheModesUntilTheUserTypesOne) {
    const FinderViewPreset preset{"list-modified", "列表 · 最近修改", View::list, Sort::modificationDate};
    const auto icon = withViewMode(preset, View::icon);
    EXPECT_EQ(icon, (FinderViewPreset{"list-modified", "图标 · 按修改日期", View::icon, Sort::modificationDate}));
    EXPECT_EQ(withViewMode(icon, View::list).name, "列表 · 按修改日期");
    EXPECT_EQ(withSortMode(icon, Sort::none).name, "图标 · 不改变排序");
    EXPECT_EQ(withSortMode(preset, Sort::size).name, "列表 · 按大小");

    const FinderViewPreset typed{"x", "我的方案", View::list, Sort::name};
    EXPECT_EQ(withViewMode(typed, View::column).name, "我的方案");
    EXPECT_EQ(withSortMode(typed, Sort::kind).name, "我的方案");
    // "列表 · 最近修改" counts as automatic only for list with modification date.
    const FinderViewPreset stale{"y", "列表 · 最近修改", View::icon, Sort::name};
    EXPECT_EQ(withSortMode(stale, Sort::size).name, "列表 · 最近修改");
    EXPECT_EQ(automaticNames(View::list, Sort::modificationDate),
              (std::set<std::string>{"列表 · 按修改日期", "列表 · 最近修改"}));
}

TEST(FinderViewPresetModeTest, EveryModeRoundTripsAndOnlyNoneLacksScriptWords) {
    for (auto mode : allFinderViewModes) {
        EXPECT_EQ(finderViewModeFromRaw(rawValue(mode)), mode);
    }
    for (auto mode : allFinderSortModes) {
        EXPECT_EQ(finderSortModeFromRaw(rawValue(mode)), mode);
        const bool none = mode == Sort::none;
        EXPECT_EQ(!iconArrangementValue(mode), none);
        EXPECT_EQ(!listColumnValue(mode), none);
        EXPECT_EQ(!sortDirectionValue(mode), none);
    }
    EXPECT_FALSE(finderViewModeFromRaw("cover"));
    EXPECT_EQ(listColumnValue(Sort::modificationDate), "modification date column");
    EXPECT_EQ(sortDirectionValue(Sort::modificationDate), "reversed");
    EXPECT_EQ(iconArrangementValue(Sort::kind), "arranged by kind");
    EXPECT_EQ(sortDirectionValue(Sort::kind), "normal");
    EXPECT_EQ(title(View::gallery), "画廊视图");
    EXPECT_EQ(title(Sort::none), "不改变排序");
}

TEST_F(FinderViewPresetStoreTest, AddingTwiceGivesTwoPresetsWithTheSameName) {
    FinderViewPresetStore store(persistence);
    int changes = 0;
    store.observe([&] { ++changes; });
    store.addPreset();
    store.addPreset();
    ASSERT_EQ(store.presets().size(), 5u);
    const auto& added = store.presets()[3];
    EXPECT_TRUE(isUUIDString(added.id));
    EXPECT_NE(added.id, store.presets()[4].id);
    EXPECT_EQ(added.name, "列表 · 按修改日期");
    EXPECT_EQ(store.presets()[4].name, added.name);
    EXPECT_EQ(added.viewMode, View::list);
    EXPECT_EQ(added.sortMode, Sort::modificationDate);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(FinderViewPresetPersistence::preset(added.id), added);
}

TEST_F(FinderViewPresetStoreTest, RemovingThreePresetsSavesThreeTimes) {
    FinderViewPresetStore store(persistence);
    store.addPreset();
    notifier.reasons.clear();
    store.removePresets({0, 1, 3});
    EXPECT_EQ(notifier.reasons, std::vector<std::string>(3, "finder-view-presets"));
    EXPECT_EQ(names(store.presets()), std::vector<std::string>{"分栏 · 按名称"});
}

TEST_F(FinderViewPresetStoreTest, UpdateReplacesInPlaceAndIgnoresUnknownIds) {
    FinderViewPresetStore store(persistence);
    store.update(withViewMode(store.presets()[0], View::column));
    EXPECT_EQ(store.presets()[0], (FinderViewPreset{"list-modified", "分栏 · 按修改日期", View::column, Sort::modificationDate}));
    EXPECT_EQ(FinderViewPresetPersistence::preset("list-modified"), store.presets()[0]);

    notifier.reasons.clear();
    store.update({"missing", "X", View::icon, Sort::none});
    EXPECT_TRUE(notifier.reasons.empty());
    EXPECT_EQ(store.presets().size(), 3u);

    store.movePresets({2}, 0);
    EXPECT_EQ(store.presets()[0].id, "column-name");
    EXPECT_EQ(notifier.reasons.size(), 1u);
    EXPECT_EQ(FinderViewPresetPersistence::load(), store.presets());
}

TEST_F(FinderViewPresetStoreTest, TheLookupReadsOnlyTheFile) {
    EXPECT_FALSE(FinderViewPresetPersistence::preset("icon-name")); // defaults are not consulted
    writeSaved(test::entries({{{"id", "p"}, {"name", "P · Q 4"}, {"viewMode", "icon"}, {"sortMode", "label"}},
                              {{"id", "p"}, {"name", "Second"}, {"viewMode", "icon"}, {"sortMode", "label"}}}));
    EXPECT_EQ(FinderViewPresetPersistence::preset("p"), (FinderViewPreset{"p", "P · Q", View::icon, Sort::label}));
}

TEST_F(FinderViewPresetStoreTest, AFailedSaveKeepsTheChangeAndPostsNothing) {
    FinderViewPresetStore store(persistence);
    fs::remove_all(paths::extensionSupportDir());
    test::writeFile(paths::extensionSupportDir(), "in the way");
    store.removePresets({0});
    EXPECT_EQ(store.presets().size(), 2u);
    EXPECT_EQ(notifier.reasons.size(), 1u);
}
