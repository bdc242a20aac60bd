#include "finder-extension/core/FinderFeatureSettings.h"
#include "finder-extension/tests/FinderTestDoubles.h"
#include "shared/catalog/FeatureCatalogDefaults.h"

#include <gtest/gtest.h>

namespace quilla {
namespace {

using test::ExtensionFixture;

std::vector<std::string> ids(const std::vector<FinderFeature>& features) {
    std::vector<std::string> result;
    for (auto feature : features) {
        result.emplace_back(rawValue(feature));
    }
    return result;
}

std::vector<std::string> childIDs(const FinderMenuSettings& settings, FinderFeature feature) {
    std::vector<std::string> result;
    for (const auto& child : settings.children(feature)) {
        result.push_back(child.actionID);
    }
    return result;
}

const std::vector<std::string> kDefaultVisibleOrder{
    "quickOpen",    "createFile",        "organizeFile", "copyFile", "batchRename",
    "archiveTools", "scheduledDeletion", "imageTools",   "pdfTools", "copyPath",
    "openWith",     "viewOptions",       "customActions"};

FinderMenuSettings fromDict(plist::Dict dict) {
    const plist::Value root(std::move(dict));
    return FinderFeatureSettings::menuSettings(&root);
}

plist::Value strings(std::vector<std::string> list) {
    return plist::makeStringArray(list);
}

TEST(FinderFeatureSettings, UnusableFilesGiveTheDefaults) {
    ExtensionFixture fixture;
    const auto defaults = FinderFeatureSettings::defaultMenuSettings();
    EXPECT_EQ(ids(defaults.features), kDefaultVisibleOrder);
    EXPECT_EQ(defaults.layout, FinderMenuLayout::collapsed);
    EXPECT_FALSE(defaults.groupsFeaturesUnderQuilla);
    EXPECT_TRUE(defaults.enabledChildIDs.contains("copyFilesToFolder"));
    EXPECT_EQ(defaults.childOrderByFeatureID.size(), 14u);

    const std::string huge(plist::kMaxFileBytes + 1, ' ');
    const std::vector<std::pair<std::string, std::string>> cases{
        {"garbage", "not a property list"},
        {"binary", std::string("bplist00\xff\x00\x01\x02", 12)},
        {"array root", plist::toXML(plist::Value(plist::Array{"a"}))},
        {"truncated",
         plist::toXML(plist::Value(plist::Dict{{"enabledFeatureIDs", strings({"copyPath"})}})).substr(0, 80)},
        {"huge", huge},
    };
    for (const auto& [name, bytes] : cases) {
        ExtensionFixture::writeRaw("FeatureSettings.plist", bytes);
        EXPECT_EQ(FinderFeatureSettings::menu(), defaults) << name;
    }
    std::filesystem::remove(ExtensionFixture::settingsPath("FeatureSettings.plist"));
    EXPECT_EQ(FinderFeatureSettings::menu(), defaults);
}

TEST(FinderFeatureSettings, ReadsEveryFileSizeTheApplicationWrites) {
    ExtensionFixture fixture;
    // Larger than the extension once accepted, within what the application reads and writes.
    const plist::Dict file{{"enabledFeatureIDs", strings({"copyPath"})},
                           {"featureOrder", strings(defaultFeatureOrder())},
                           {"padding", std::string(5 * 1024 * 1024, 'x')}};
    ExtensionFixture::writeSettings("FeatureSettings.plist", plist::Value(file));
    EXPECT_EQ(ids(FinderFeatureSettings::menu().features), std::vector<std::string>{"copyPath"});
}

TEST(FinderFeatureSettings, EnabledFeaturesFollowTheSavedOrder) {
    auto full = defaultFeatureOrder();
    struct Case {
        const char* name;
        plist::Dict file;
        std::vector<std::string> expected;
    };
    auto withoutPdf = full;
    std::erase(withoutPdf, "pdfTools");
    const std::vector<Case> cases{
        {"nothing enabled", {{"enabledFeatureIDs", strings({})}, {"featureOrder", strings(full)}}, {}},
        {"a feature added later turns on and comes last",
         {{"enabledFeatureIDs", strings({"copyPath"})}, {"featureOrder", strings(withoutPdf)}},
         {"copyPath", "pdfTools"}},
        {"unknown and repeated IDs are ignored",
         {{"enabledFeatureIDs", strings({"copyPath", "bogus", "developerTools"})},
          {"featureOrder", strings({"developerTools", "bogus", "copyPath", "developerTools"})}},
         {"developerTools", "copyPath", "quickOpen", "createFile", "organizeFile", "copyFile", "batchRename",
          "archiveTools", "scheduledDeletion", "imageTools", "pdfTools", "openWith", "viewOptions",
          "customActions"}},
        {"no saved order adds nothing",
         {{"enabledFeatureIDs", strings({"openWith", "copyPath"})}},
         {"copyPath", "openWith"}},
        {"enabled IDs of the wrong type count as absent",
         {{"enabledFeatureIDs", "copyPath"}},
         kDefaultVisibleOrder},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ids(fromDict(c.file).features), c.expected) << c.name;
    }
}

TEST(FinderFeatureSettings, LayoutAndGroupingAreReadWithTheirTypes) {
    EXPECT_EQ(fromDict({{"menuLayout", "grid"}}).layout, FinderMenuLayout::collapsed);
    EXPECT_EQ(fromDict({{"menuLayout", "expanded"}}).layout, FinderMenuLayout::expanded);
    EXPECT_EQ(fromDict({{"menuLayout", 1}}).layout, FinderMenuLayout::collapsed);
    EXPECT_TRUE(fromDict({{"groupsFeaturesUnderQuilla", true}}).groupsFeaturesUnderQuilla);
    EXPECT_FALSE(fromDict({{"groupsFeaturesUnderQuilla", "true"}}).groupsFeaturesUnderQuilla);
    // A dictionary without enabled features still gives its other keys.
    const auto caseB = fromDict({{"menuLayout", "expanded"}, {"groupsFeaturesUnderQuilla", true}});
    EXPECT_EQ(ids(caseB.features), kDefaultVisibleOrder);
    EXPECT_TRUE(caseB.groupsFeaturesUnderQuilla);
}

TEST(FinderFeatureSettings, ChildRulesRepairWhatTheFileLacks) {
    std::vector<std::string> allButCreate;
    for (const auto& id : everydayEnabledChildIDs()) {
        if (!featureOfChild(id) || *featureOfChild(id) != FinderFeature::createFile) {
            allButCreate.push_back(id);
        }
    }
    plist::Dict order;
    for (const auto& [feature, children] : defaultChildOrderByFeatureID()) {
        order.emplace(feature, strings(children));
    }
    const auto allCreateOff =
        fromDict({{"enabledChildIDs", strings(allButCreate)}, {"childOrderByFeatureID", order}});
    EXPECT_EQ(childIDs(allCreateOff, FinderFeature::createFile).size(),
              children(FinderFeature::createFile).size())
        << "an enabled feature shows all its children again when none is enabled";

    const auto legacy = fromDict(
        {{"childOrderByFeatureID",
          plist::Dict{{"scheduledDeletion",
                       strings({"scheduleDelete7Days", "scheduleDelete30Days", "scheduleDelete90Days"})}}}});
    EXPECT_EQ(childIDs(legacy, FinderFeature::scheduledDeletion),
              (std::vector<std::string>{"scheduleDelete1Hour", "scheduleDelete7Days", "scheduleDelete30Days",
                                        "scheduleDelete90Days"}));

    const auto reordered =
        fromDict({{"enabledChildIDs", strings({"copyFileName", "copyFullPath", "notAChild"})},
                  {"childOrderByFeatureID",
                   plist::Dict{{"copyPath", strings({"copyFileName", "bogus", "copyFullPath"})}}}});
    // The other copyPath children are default-enabled and listed nowhere, so they count as new.
    EXPECT_EQ(childIDs(reordered, FinderFeature::copyPath),
              (std::vector<std::string>{"copyFileName", "copyFullPath", "copyParentPath", "copyShellPath",
                                        "copyMarkdownLink", "copyFileNameList"}));
    EXPECT_FALSE(reordered.enabledChildIDs.contains("notAChild"));
    EXPECT_FALSE(reordered.enabledChildIDs.contains("copyFilesToFolder"))
        << "only catalog children survive a saved set";
    EXPECT_TRUE(reordered.enabledChildIDs.contains("createFolder"))
        << "default children no saved order lists turn on";

    // One wrongly typed list makes the whole saved order absent: catalog order everywhere.
    const auto badOrder = fromDict(
        {{"childOrderByFeatureID", plist::Dict{{"copyPath", strings({"copyFileName"})}, {"createFile", 3}}}});
    EXPECT_EQ(childIDs(badOrder, FinderFeature::copyPath).front(), "copyFullPath");
}

TEST(FinderFeatureSettings, ChildrenSkipIDsOfOtherFeatures) {
    FinderMenuSettings settings;
    settings.enabledChildIDs = {"copyFullPath", "createFolder"};
    settings.childOrderByFeatureID["copyPath"] = {"createFolder", "copyFullPath"};
    EXPECT_EQ(childIDs(settings, FinderFeature::copyPath), std::vector<std::string>{"copyFullPath"});
    EXPECT_EQ(childIDs(settings, FinderFeature::createFile), std::vector<std::string>{"createFolder"})
        << "without a stored order the catalog order is used";
}

} // namespace
} // namespace quilla
