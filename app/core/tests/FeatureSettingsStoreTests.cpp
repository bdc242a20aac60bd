#include "app/core/FeatureSettingsStore.h"
#include "shared/FileIO.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

using namespace quilla;

namespace {

class FeatureSettingsStoreTest : public ::testing::Test {
protected:
    test::ScopedHome home;
    RecordingSettingsChangeNotifier notifier;
    FeatureSettingsPersistence persistence{notifier};

    std::filesystem::path appCopy() const { return paths::appSupportDir() / "FeatureSettings.plist"; }
    std::filesystem::path extensionCopy() const {
        return paths::extensionSupportDir() / "FeatureSettings.plist";
    }

    void writeSaved(const plist::Dict& root) {
        ASSERT_TRUE(writeFileAtomically(appCopy(), plist::toXML(plist::Value(root))));
    }

    static plist::Dict completeFile() {
        auto encoded = FeatureSettingsPersistence::encode(FeatureSettingsStore::defaults());
        return *encoded.asDict();
    }

    FeatureSettings reloaded() const { return *persistence.loadSettings(); }
};

bool hasAll(const std::set<std::string>& set, const std::vector<std::string>& ids) {
    return std::all_of(ids.begin(), ids.end(), [&](const auto& id) { return set.contains(id); });
}

} // namespace

TEST_F(FeatureSettingsStoreTest, FirstStartWritesDefaultsToBothCopiesAndNotifiesOnce) {
    FeatureSettingsStore store(persistence);
    EXPECT_EQ(store.enabledFeatureIDs().size(), 13u);
    EXPECT_FALSE(store.enabledFeatureIDs().contains("developerTools"));
    EXPECT_EQ(store.enabledChildIDs().size(), 58u);
    EXPECT_EQ(store.featureOrder().front(), "quickOpen");
    EXPECT_EQ(store.featureOrder().size(), 14u);
    EXPECT_EQ(store.childOrderByFeatureID().size(), 14u);
    EXPECT_EQ(notifier.reasons, std::vector<std::string>{"feature-settings"});
    EXPECT_EQ(test::readText(appCopy()), test::readText(extensionCopy()));
    EXPECT_EQ(reloaded().menuLayout, FinderMenuLayout::collapsed);
}

TEST_F(FeatureSettingsStoreTest, AnIndependentReaderSeesSixKeysOfTheRightTypes) {
    FeatureSettingsStore store(persistence);
    const std::string script =
        "import plistlib\n"
        "d = plistlib.load(open('" +
        appCopy().string() +
        "', 'rb'))\n"
        "assert sorted(d) == sorted(['enabledFeatureIDs','groupsFeaturesUnderQuilla','menuLayout',"
        "'enabledChildIDs','featureOrder','childOrderByFeatureID']), d.keys()\n"
        "assert d['enabledFeatureIDs'] == sorted(d['enabledFeatureIDs'])\n"
        "assert d['enabledChildIDs'] == sorted(d['enabledChildIDs'])\n"
        "assert d['groupsFeaturesUnderQuilla'] is False\n"
        "assert d['menuLayout'] == 'collapsed'\n"
        "assert all(isinstance(x, str) for x in d['featureOrder'])\n"
        "assert all(isinstance(v, list) for v in d['childOrderByFeatureID'].values())\n"
        "print(len(d['enabledChildIDs']))\n";
    std::string output;
    EXPECT_EQ(test::runPython(script, &output), 0) << output;
    EXPECT_EQ(output, "58\n");
}

TEST_F(FeatureSettingsStoreTest, FeaturesMissingFromTheSavedOrderTurnOnAndGoLast) {
    auto file = completeFile();
    auto order = FeatureSettingsStore::defaults().featureOrder;
    std::erase(order, "pdfTools");
    file.insert_or_assign("featureOrder", plist::makeStringArray(order));
    file.insert_or_assign("enabledFeatureIDs", plist::makeStringArray({"quickOpen"}));
    writeSaved(file);

    FeatureSettingsStore store(persistence);
    EXPECT_TRUE(store.enabledFeatureIDs().contains("pdfTools"));
    EXPECT_TRUE(store.enabledFeatureIDs().contains("quickOpen"));
    EXPECT_FALSE(store.enabledFeatureIDs().contains("createFile")); // in the saved order, so left off
    EXPECT_FALSE(store.enabledFeatureIDs().contains("developerTools"));
    EXPECT_EQ(store.featureOrder().back(), "pdfTools");
}

TEST_F(FeatureSettingsStoreTest, OrderRepairDropsUnknownAndRepeatedIDs) {
    auto file = completeFile();
    file.insert_or_assign("featureOrder",
                          plist::makeStringArray({"pdfTools", "bogus", "pdfTools", "quickOpen"}));
    writeSaved(file);
    FeatureSettingsStore store(persistence);
    ASSERT_EQ(store.featureOrder().size(), 14u);
    EXPECT_EQ(store.featureOrder()[0], "pdfTools");
    EXPECT_EQ(store.featureOrder()[1], "quickOpen");
    EXPECT_EQ(store.featureOrder()[2], "createFile");
}

TEST_F(FeatureSettingsStoreTest, EmptySavedOrderAddsNoFeaturesButGetsTheDefaultOrder) {
    auto file = completeFile();
    file.insert_or_assign("featureOrder", plist::Array{});
    file.insert_or_assign("enabledFeatureIDs", plist::makeStringArray({"copyPath"}));
    writeSaved(file);
    FeatureSettingsStore store(persistence);
    EXPECT_EQ(store.enabledFeatureIDs(), std::set<std::string>{"copyPath"});
    EXPECT_EQ(store.featureOrder(), FeatureSettingsStore::defaults().featureOrder);
}

TEST_F(FeatureSettingsStoreTest, EnabledFeatureWithoutEnabledChildrenGetsAllItsChildren) {
    auto file = completeFile();
    auto children = FeatureSettingsStore::defaults().enabledChildIDs;
    std::erase_if(children, [](const auto& id) { return id.starts_with("rename"); });
    file.insert_or_assign("enabledChildIDs", plist::makeStringArray({children.begin(), children.end()}));
    auto order = *plist::dictionary(file, "childOrderByFeatureID");
    order.insert_or_assign("batchRename",
                           plist::makeStringArray({"renameUppercase", "renameAddPrefix", "renameAddSuffix",
                                                   "renameFindReplace", "renameSequential"}));
    file.insert_or_assign("childOrderByFeatureID", order);
    writeSaved(file);
    FeatureSettingsStore store(persistence);
    EXPECT_TRUE(hasAll(store.enabledChildIDs(), {"renameAddPrefix", "renameAddSuffix", "renameFindReplace",
                                                 "renameSequential", "renameLowercase", "renameUppercase"}));
    EXPECT_FALSE(store.enabledChildIDs().contains("copySHA256")); // a disabled feature is left alone
    EXPECT_EQ(store.childOrderByFeatureID().at("batchRename").front(), "renameUppercase");
}

TEST_F(FeatureSettingsStoreTest, ScheduledDeletionOrderMigration) {
    const std::vector<std::string> catalog{"scheduleDelete1Hour", "scheduleDelete7Days",
                                           "scheduleDelete30Days", "scheduleDelete90Days"};
    struct Case {
        std::vector<std::string> saved;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{"scheduleDelete7Days", "scheduleDelete30Days", "scheduleDelete90Days", "scheduleDelete1Hour"},
         catalog},
        {{"scheduleDelete7Days", "scheduleDelete30Days", "scheduleDelete90Days"}, catalog},
        {{"scheduleDelete90Days", "scheduleDelete1Hour"},
         {"scheduleDelete90Days", "scheduleDelete1Hour", "scheduleDelete7Days", "scheduleDelete30Days"}},
    };
    for (const auto& c : cases) {
        auto file = completeFile();
        file.insert_or_assign("childOrderByFeatureID",
                              plist::Dict{{"scheduledDeletion", plist::makeStringArray(c.saved)}});
        writeSaved(file);
        FeatureSettingsStore store(persistence);
        EXPECT_EQ(store.childOrderByFeatureID().at("scheduledDeletion"), c.expected);
    }
}

TEST_F(FeatureSettingsStoreTest, DamagedOrForeignFilesLoadDefaults) {
    std::string deep;
    for (int i = 0; i < 5000; ++i)
        deep += "<dict><key>k</key>";
    const std::string cases[] = {
        "",
        "garbage",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>enabledFeatureIDs</key><array>",
        "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>x</string></array></plist>",
        "<?xml version=\"1.0\"?><plist "
        "version=\"1.0\"><dict><key>menuLayout</key><string>expanded</string></dict></plist>",
        "<?xml version=\"1.0\"?><plist version=\"1.0\">" + deep + "</plist>",
    };
    for (const auto& bytes : cases) {
        ASSERT_TRUE(writeFileAtomically(appCopy(), bytes));
        notifier.reasons.clear();
        FeatureSettingsStore store(persistence);
        EXPECT_EQ(store.settings(), FeatureSettingsStore::defaults()) << bytes.substr(0, 80);
        EXPECT_EQ(notifier.reasons.size(), 1u);
    }
}

TEST_F(FeatureSettingsStoreTest, WrongTypesCountAsAbsent) {
    auto file = completeFile();
    file.insert_or_assign("enabledFeatureIDs", plist::Value(std::int64_t{3}));
    file.insert_or_assign("menuLayout", "grid");
    file.insert_or_assign("groupsFeaturesUnderQuilla", "yes");
    file.insert_or_assign("childOrderByFeatureID",
                          plist::Dict{{"createFile", plist::Value(std::int64_t{1})}});
    writeSaved(file);
    FeatureSettingsStore store(persistence);
    EXPECT_EQ(store.enabledFeatureIDs(), FeatureSettingsStore::defaults().enabledFeatureIDs);
    EXPECT_EQ(store.menuLayout(), FinderMenuLayout::collapsed);
    EXPECT_FALSE(store.groupsFeaturesUnderQuilla());
    EXPECT_EQ(store.childOrderByFeatureID().at("createFile").front(), "createFolder");
    EXPECT_EQ(reloaded().menuLayout, FinderMenuLayout::collapsed);
}

TEST_F(FeatureSettingsStoreTest, AWronglyTypedValueIsKeptAsideAndRepairedAsMissing) {
    const auto defaults = FeatureSettingsStore::defaults();
    const struct {
        const char* key;
        plist::Value wrong;
        bool defaultFeatures; // a missing enabled set means no saved settings at all
    } cases[] = {
        {"enabledFeatureIDs", "copyPath", true},
        {"enabledFeatureIDs", plist::Array{"copyPath", true}, true},
        {"featureOrder", plist::Dict{}, false},
        {"enabledChildIDs", plist::Array{std::int64_t{1}}, false},
        {"childOrderByFeatureID", plist::makeStringArray({"createFile"}), false},
        {"groupsFeaturesUnderQuilla", "yes", false},
    };
    for (const auto& c : cases) {
        test::ScopedHome fresh;
        auto file = completeFile();
        file.insert_or_assign("enabledFeatureIDs", plist::makeStringArray({"copyPath", "pdfTools"}));
        file.insert_or_assign(c.key, c.wrong);
        writeSaved(file);
        const std::string original = test::readText(appCopy());

        FeatureSettingsStore store(persistence);
        const auto expected =
            c.defaultFeatures ? defaults.enabledFeatureIDs : std::set<std::string>{"copyPath", "pdfTools"};
        EXPECT_EQ(store.enabledFeatureIDs(), expected) << c.key;
        EXPECT_EQ(FeatureSettingsPersistence(notifier).loadSettings()->enabledFeatureIDs, expected) << c.key;
        std::vector<std::string> kept;
        for (const auto& entry : std::filesystem::directory_iterator(appCopy().parent_path())) {
            if (entry.path().filename().string().starts_with("FeatureSettings.plist.bad-")) {
                kept.push_back(test::readText(entry.path()));
            }
        }
        EXPECT_EQ(kept, std::vector<std::string>{original}) << c.key;
    }
}

TEST_F(FeatureSettingsStoreTest, NothingLargerThanTheReadersAcceptIsWritten) {
    SettingsFileCopies copies("Huge.plist", "huge", notifier);
    EXPECT_FALSE(copies.save(plist::Value(std::string(plist::kMaxFileBytes, 'x'))));
    EXPECT_FALSE(std::filesystem::exists(copies.applicationCopy()));
    EXPECT_TRUE(notifier.reasons.empty());
    EXPECT_TRUE(copies.save(plist::Value(std::string(1024, 'x'))));
}

TEST_F(FeatureSettingsStoreTest, HugeArraysLoadWithoutTrouble) {
    std::vector<std::string> many;
    for (int i = 0; i < 100000; ++i) {
        many.push_back("id" + std::to_string(i));
    }
    auto file = completeFile();
    file.insert_or_assign("featureOrder", plist::makeStringArray(many));
    file.insert_or_assign("enabledChildIDs", plist::makeStringArray(many));
    writeSaved(file);
    FeatureSettingsStore store(persistence);
    EXPECT_EQ(store.featureOrder(), FeatureSettingsStore::defaults().featureOrder);
    EXPECT_FALSE(store.enabledChildIDs().contains("id1"));
}

TEST_F(FeatureSettingsStoreTest, ADamagedFileIsKeptAsideBeforeTheStartUpSave) {
    ASSERT_TRUE(writeFileAtomically(appCopy(), "precious but damaged"));
    FeatureSettingsStore store(persistence);
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(appCopy().parent_path())) {
        if (entry.path().filename().string().starts_with("FeatureSettings.plist.bad-")) {
            ++kept;
            EXPECT_EQ(test::readText(entry.path()), "precious but damaged");
        }
    }
    EXPECT_EQ(kept, 1);
}

TEST_F(FeatureSettingsStoreTest, EnablingAFeatureWithNoEnabledChildSavesTwice) {
    FeatureSettingsStore store(persistence);
    store.setAllChildrenEnabled(false, QuillaFeature::developerTools);
    notifier.reasons.clear();
    int callbacks = 0;
    store.observe([&] { ++callbacks; });
    store.setEnabled(true, QuillaFeature::developerTools);
    EXPECT_EQ(notifier.reasons.size(), 2u);
    EXPECT_EQ(callbacks, 2);
    EXPECT_TRUE(store.isChildEnabled("copySHA256"));
    EXPECT_TRUE(reloaded().enabledChildIDs.contains("toggleHiddenFiles"));

    notifier.reasons.clear();
    store.setEnabled(false, QuillaFeature::developerTools);
    EXPECT_EQ(notifier.reasons.size(), 1u);
    EXPECT_TRUE(store.isChildEnabled("copySHA256")); // children keep their state
}

TEST_F(FeatureSettingsStoreTest, DisablingTheLastChildLeavesTheFeatureEnabled) {
    FeatureSettingsStore store(persistence);
    store.setAllChildrenEnabled(false, QuillaFeature::pdfTools);
    store.setChildEnabled(false, "mergePDFs");
    EXPECT_TRUE(store.isEnabled(QuillaFeature::pdfTools));
    EXPECT_FALSE(reloaded().enabledChildIDs.contains("splitPDFs"));
}

TEST_F(FeatureSettingsStoreTest, MovingChildrenUsesTheFullNormalisedList) {
    FeatureSettingsStore store(persistence);
    store.moveChildren(QuillaFeature::pdfTools, {3}, 0);
    const auto children = store.orderedChildren(QuillaFeature::pdfTools);
    ASSERT_EQ(children.size(), 4u);
    EXPECT_EQ(children[0].actionID, "compressPDF");
    EXPECT_EQ(reloaded().childOrderByFeatureID.at("pdfTools").front(), "compressPDF");

    store.moveFeatures({0, 1}, 14);
    EXPECT_EQ(store.orderedFeatures().back(), QuillaFeature::createFile);
    EXPECT_EQ(reloaded().featureOrder[12], "quickOpen");
}

TEST_F(FeatureSettingsStoreTest, UnwritableApplicationFolderWritesNothingAndPostsNothing) {
    std::filesystem::create_directories(paths::configHome());
    // A file where the application folder should be makes every save fail, even for root.
    ASSERT_TRUE(writeFileAtomically(paths::appSupportDir(), "in the way"));
    FeatureSettingsStore store(persistence);
    store.setMenuLayout(FinderMenuLayout::expanded);
    EXPECT_TRUE(notifier.reasons.empty());
    EXPECT_FALSE(std::filesystem::exists(extensionCopy()));
    EXPECT_EQ(store.menuLayout(), FinderMenuLayout::expanded);
    EXPECT_TRUE(store.lastSaveFailed());

    std::filesystem::remove(paths::appSupportDir());
    store.setMenuLayout(FinderMenuLayout::collapsed);
    EXPECT_FALSE(store.lastSaveFailed());
}
