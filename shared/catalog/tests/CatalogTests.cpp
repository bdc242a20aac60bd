#include "shared/L10n.h"
#include "shared/catalog/FeatureCatalogDefaults.h"
#include "shared/catalog/FinderFeature.h"
#include "shared/catalog/FinderFeatureAction.h"
#include "shared/catalog/QuillaFeature.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace quilla {
namespace {

using Kind = FinderFeatureAction::Kind;

std::vector<std::string> sorted(std::vector<std::string> ids) {
    std::sort(ids.begin(), ids.end());
    return ids;
}

bool hasNoDuplicates(const std::vector<std::string>& ids) {
    return std::set<std::string>(ids.begin(), ids.end()).size() == ids.size();
}

/// Every action value there is: each payload kind with every payload, then the twelve plain kinds.
std::vector<FinderFeatureAction> everyAction() {
    std::vector<FinderFeatureAction> actions;
    for (int i = 0; i < 21; ++i) {
        actions.push_back(FinderFeatureAction::createFile(static_cast<FinderFileTemplate>(i)));
    }
    for (int i = 0; i < 6; ++i) {
        actions.push_back(FinderFeatureAction::copyPath(static_cast<FinderPathCopyFormat>(i)));
    }
    for (int i = 0; i < 2; ++i) {
        actions.push_back(FinderFeatureAction::openInApplication(static_cast<FinderApplication>(i)));
    }
    for (auto plain : {FinderFeatureAction::createFolder(), FinderFeatureAction::copyBesideOriginal(),
                       FinderFeatureAction::copyToFolder(), FinderFeatureAction::openInTerminal(),
                       FinderFeatureAction::revealInFinder(), FinderFeatureAction::openWithApplicationPath(),
                       FinderFeatureAction::openFolder(), FinderFeatureAction::finderViewOption(),
                       FinderFeatureAction::moveToFolder(), FinderFeatureAction::moveSelectionToNewFolder(),
                       FinderFeatureAction::requiresSelection(), FinderFeatureAction::alwaysEnabled()}) {
        actions.push_back(plain);
    }
    return actions;
}

TEST(CatalogTests, FeatureCasesCarryTheirNamesInCatalogOrderInBothViews) {
    const std::vector<std::tuple<FinderFeature, QuillaFeature, std::string>> expected{
        {FinderFeature::createFile, QuillaFeature::createFile, "createFile"},
        {FinderFeature::quickOpen, QuillaFeature::quickOpen, "quickOpen"},
        {FinderFeature::copyFile, QuillaFeature::copyFile, "copyFile"},
        {FinderFeature::copyPath, QuillaFeature::copyPath, "copyPath"},
        {FinderFeature::openWith, QuillaFeature::openWith, "openWith"},
        {FinderFeature::viewOptions, QuillaFeature::viewOptions, "viewOptions"},
        {FinderFeature::customActions, QuillaFeature::customActions, "customActions"},
        {FinderFeature::organizeFile, QuillaFeature::organizeFile, "organizeFile"},
        {FinderFeature::batchRename, QuillaFeature::batchRename, "batchRename"},
        {FinderFeature::archiveTools, QuillaFeature::archiveTools, "archiveTools"},
        {FinderFeature::scheduledDeletion, QuillaFeature::scheduledDeletion, "scheduledDeletion"},
        {FinderFeature::imageTools, QuillaFeature::imageTools, "imageTools"},
        {FinderFeature::pdfTools, QuillaFeature::pdfTools, "pdfTools"},
        {FinderFeature::developerTools, QuillaFeature::developerTools, "developerTools"},
    };
    ASSERT_EQ(allFinderFeatures().size(), expected.size());
    ASSERT_EQ(allQuillaFeatures().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& [finder, quilla, id] = expected[i];
        EXPECT_EQ(allFinderFeatures()[i], finder);
        EXPECT_EQ(allQuillaFeatures()[i], quilla);
        EXPECT_EQ(rawValue(finder), id);
        EXPECT_EQ(rawValue(quilla), id);
        EXPECT_EQ(finderFeatureFromID(id), finder);
        EXPECT_EQ(quillaFeatureFromID(id), quilla);
    }
}

TEST(CatalogTests, BothViewsAgreeChildForChild) {
    std::vector<std::string> concatenated;
    for (std::size_t i = 0; i < allFinderFeatures().size(); ++i) {
        const auto& finderChildren = children(allFinderFeatures()[i]);
        const auto& quillaChildren = children(allQuillaFeatures()[i]);
        ASSERT_EQ(finderChildren.size(), quillaChildren.size()) << rawValue(allFinderFeatures()[i]);
        for (std::size_t j = 0; j < finderChildren.size(); ++j) {
            EXPECT_EQ(finderChildren[j].actionID, quillaChildren[j].actionID);
            EXPECT_EQ(finderChildren[j].title, quillaChildren[j].title);
            EXPECT_EQ(featureOfChild(finderChildren[j].actionID), allFinderFeatures()[i]);
            EXPECT_EQ(finderFeatureChild(finderChildren[j].actionID), finderChildren[j]);
            EXPECT_EQ(quillaFeatureChild(quillaChildren[j].actionID), quillaChildren[j]);
            concatenated.push_back(finderChildren[j].actionID);
        }
        const auto& [featureID, childIDs] = defaultChildOrderByFeatureID().at(i);
        EXPECT_EQ(featureID, rawValue(allFinderFeatures()[i]));
        EXPECT_EQ(childIDs.size(), finderChildren.size());
    }
    EXPECT_EQ(concatenated, allCatalogChildIDs());
    EXPECT_EQ(concatenated.size(), 73u);
    EXPECT_TRUE(hasNoDuplicates(concatenated));
    EXPECT_TRUE(children(FinderFeature::customActions).empty());
    EXPECT_TRUE(children(QuillaFeature::customActions).empty());
    EXPECT_EQ(children(FinderFeature::createFile).size(), 22u);
    EXPECT_EQ(children(QuillaFeature::imageTools).size(), 6u);
}

TEST(CatalogTests, UnknownIDsYieldNothing) {
    for (std::string id : {"", "CreateFile", "createfile", "copyFullPath", "createFile "}) {
        EXPECT_FALSE(finderFeatureFromID(id)) << id;
        EXPECT_FALSE(quillaFeatureFromID(id)) << id;
    }
    // Destination submenus and prefixed list entries are menu items, not catalog children.
    for (std::string id :
         {"copyFilesToFolder", "moveFilesToFolder", "quickOpenPath", "openWithApplicationPath",
          "runShortcut__A1", "finderViewPreset__X", "createFile", "", "copyfullpath"}) {
        EXPECT_FALSE(finderFeatureChild(id)) << id;
        EXPECT_FALSE(quillaFeatureChild(id)) << id;
        EXPECT_FALSE(featureOfChild(id)) << id;
    }
}

TEST(CatalogTests, TextsAreCopiedExactly) {
    const std::vector<std::pair<std::string, std::string>> titles{
        {"copyFullPath", "复制完整路径"},           {"quickOpenTypedPath", "打开指定路径..."},
        {"revealInFinder", "在 Finder 中显示"},     {"resizeImages", "调整图片大小..."},
        {"toggleHiddenFiles", "显示/隐藏隐藏文件"}, {"scheduleDelete1Hour", "1 小时后移到废纸篓"},
        {"createJPEGImage", "新建 JPG 图片"},
    };
    for (const auto& [id, text] : titles) {
        EXPECT_EQ(finderFeatureChild(id)->title, text) << id;
    }
    EXPECT_EQ(title(FinderFeature::pdfTools), "处理 PDF");
    EXPECT_EQ(title(QuillaFeature::organizeFile), "移动到");
    EXPECT_EQ(summary(QuillaFeature::organizeFile), "移动文件，或把选中项目收进新文件夹。");
    EXPECT_EQ(systemImage(QuillaFeature::scheduledDeletion), "calendar.badge.clock");
    const auto colors = iconColors(QuillaFeature::createFile);
    EXPECT_EQ(colors[0], (RGBColor{0.18, 0.62, 1.0}));
    EXPECT_EQ(colors[1], (RGBColor{0.0, 0.36, 0.88}));
    EXPECT_EQ(iconColors(QuillaFeature::developerTools)[1], (RGBColor{0.08, 0.09, 0.12}));

    const QuillaFeatureChild hidden{"显示/隐藏隐藏文件", "切换 Finder 是否显示以点号开头和系统隐藏的文件。",
                                    "eye.slash", "toggleHiddenFiles"};
    EXPECT_EQ(quillaFeatureChild("toggleHiddenFiles"), hidden);
    QuillaFeatureChild otherSummary = hidden;
    otherSummary.summary = "x";
    EXPECT_NE(otherSummary, hidden); // equality looks at every field, not only the ID
    EXPECT_EQ(finderFeatureChild("copyFullPath"),
              (FinderFeatureChild{"copyFullPath", "复制完整路径",
                                  FinderFeatureAction::copyPath(FinderPathCopyFormat::fullPath)}));
}

TEST(CatalogTests, TitlesGoThroughTheTranslationTable) {
    L10n::setTable({{"新建", "New"}, {"一次修改多个文件的名称。", "Rename many files at once."}});
    EXPECT_EQ(title(FinderFeature::createFile), "New");
    EXPECT_EQ(title(QuillaFeature::createFile), "New");
    EXPECT_EQ(summary(QuillaFeature::batchRename), "Rename many files at once.");
    EXPECT_EQ(title(FinderFeature::quickOpen), "打开");
    L10n::setTable({});
}

TEST(CatalogTests, PayloadsFollowTheirChildrenInOrder) {
    const auto& create = children(FinderFeature::createFile);
    ASSERT_EQ(create.front().action, FinderFeatureAction::createFolder());
    for (std::size_t i = 1; i < create.size(); ++i) {
        EXPECT_EQ(create[i].action, FinderFeatureAction::createFile(static_cast<FinderFileTemplate>(i - 1)))
            << create[i].actionID;
    }
    const auto& copy = children(FinderFeature::copyPath);
    for (std::size_t i = 0; i < copy.size(); ++i) {
        EXPECT_EQ(copy[i].action.pathCopyFormat(), static_cast<FinderPathCopyFormat>(i)) << copy[i].actionID;
    }
    EXPECT_EQ(finderFeatureChild("createGitignoreFile")->action.fileTemplate(),
              FinderFileTemplate::gitignore);
    EXPECT_EQ(rawValue(FinderFileTemplate::powerPointPresentation), "powerPointPresentation");
    EXPECT_EQ(rawValue(FinderPathCopyFormat::fileNameList), "fileNameList");
    EXPECT_EQ(rawValue(FinderApplication::visualStudioCode), "visualStudioCode");
    const auto folder = FinderFeatureAction::createFolder();
    EXPECT_FALSE(folder.fileTemplate() || folder.pathCopyFormat() || folder.application());
    EXPECT_FALSE(FinderFeatureAction::createFile(FinderFileTemplate::json).pathCopyFormat());
}

TEST(CatalogTests, EnablingFollowsSelectionAndTarget) {
    // {kind, enabled with nothing, with only a targeted folder, with only a selection}
    const std::vector<std::tuple<FinderFeatureAction, bool, bool, bool>> rules{
        {FinderFeatureAction::createFile(FinderFileTemplate::text), true, true, true},
        {FinderFeatureAction::copyPath(FinderPathCopyFormat::fullPath), false, true, true},
        {FinderFeatureAction::openInApplication(FinderApplication::cursor), false, true, true},
        {FinderFeatureAction::createFolder(), true, true, true},
        {FinderFeatureAction::copyBesideOriginal(), false, false, true},
        {FinderFeatureAction::copyToFolder(), false, false, true},
        {FinderFeatureAction::openInTerminal(), false, true, true},
        {FinderFeatureAction::revealInFinder(), false, false, true},
        {FinderFeatureAction::openWithApplicationPath(), false, true, true},
        {FinderFeatureAction::openFolder(), true, true, true},
        {FinderFeatureAction::finderViewOption(), true, true, true},
        {FinderFeatureAction::moveToFolder(), false, false, true},
        {FinderFeatureAction::moveSelectionToNewFolder(), false, false, true},
        {FinderFeatureAction::requiresSelection(), false, false, true},
        {FinderFeatureAction::alwaysEnabled(), true, true, true},
    };
    for (const auto& [action, withNothing, withTarget, withSelection] : rules) {
        const int kind = static_cast<int>(action.kind());
        EXPECT_EQ(isActionEnabled(action, false, false), withNothing) << kind;
        EXPECT_EQ(isActionEnabled(action, false, true), withTarget) << kind;
        EXPECT_EQ(isActionEnabled(action, true, false), withSelection) << kind;
        EXPECT_TRUE(isActionEnabled(action, true, true)) << kind;
    }
    // The cases users meet: a right-click on a window background, and a menu with nothing at all.
    for (std::string id : {"copyFullPath", "copyFileNameList", "openInTerminal"}) {
        EXPECT_TRUE(isActionEnabled(finderFeatureChild(id)->action, false, true)) << id;
    }
    for (std::string id :
         {"copyBesideOriginal", "renameAddPrefix", "compressToZIP", "mergePDFs", "revealInFinder"}) {
        EXPECT_FALSE(isActionEnabled(finderFeatureChild(id)->action, false, true)) << id;
    }
    for (std::string id : {"createFolder", "createGitignoreFile", "quickOpenHome", "quickOpenTypedPath",
                           "finderViewPreset", "toggleHiddenFiles"}) {
        EXPECT_TRUE(isActionEnabled(finderFeatureChild(id)->action, false, false)) << id;
    }
}

TEST(CatalogTests, EncodingRoundTripsAndFitsTheBitLayout) {
    const auto actions = everyAction();
    ASSERT_EQ(actions.size(), 41u);
    std::set<std::uint8_t> bytes;
    for (const auto& action : actions) {
        const std::uint8_t byte = action.encode();
        bytes.insert(byte);
        EXPECT_EQ(FinderFeatureAction::decode(byte), action) << int(byte);
        const int kind = static_cast<int>(action.kind());
        if (kind < 3) {
            EXPECT_EQ(byte >> 6, kind);
        } else {
            EXPECT_EQ(byte >> 5, 0b110) << int(byte); // plain marker and a clear bit 5
            EXPECT_EQ(byte & 0x1F, kind - 3);
        }
    }
    EXPECT_EQ(bytes.size(), actions.size());

    int decodable = 0;
    for (int byte = 0; byte < 256; ++byte) {
        if (auto action = FinderFeatureAction::decode(static_cast<std::uint8_t>(byte))) {
            ++decodable;
            EXPECT_EQ(action->encode(), byte);
        }
    }
    EXPECT_EQ(decodable, 41);

    EXPECT_EQ(FinderFeatureAction::createFile(FinderFileTemplate::gitignore).encode(), 20);
    EXPECT_EQ(FinderFeatureAction::copyPath(FinderPathCopyFormat::fileNameList).encode(), 0x45);
    EXPECT_EQ(FinderFeatureAction::openInApplication(FinderApplication::cursor).encode(), 0x81);
    EXPECT_EQ(FinderFeatureAction::createFolder().encode(), 0xC0);
    EXPECT_EQ(FinderFeatureAction::alwaysEnabled().encode(), 0xCB);
    for (int invalid : {21, 0x3F, 0x46, 0x82, 0xBF, 0xCC, 0xE0, 0xFF}) {
        EXPECT_FALSE(FinderFeatureAction::decode(static_cast<std::uint8_t>(invalid))) << invalid;
    }
}

TEST(CatalogTests, DefaultTablesMatchTheStoreDefaults) {
    const std::vector<std::string> storeFeatures{
        "quickOpen",  "createFile",  "organizeFile", "copyFile",     "copyPath",
        "openWith",   "viewOptions", "batchRename",  "archiveTools", "scheduledDeletion",
        "imageTools", "pdfTools",    "customActions"};
    EXPECT_EQ(sorted(everydayEnabledFeatureIDs()), sorted(storeFeatures));

    const std::vector<std::string> storeChildren{"quickOpenHome",
                                                 "quickOpenDesktop",
                                                 "quickOpenDownloads",
                                                 "quickOpenDocuments",
                                                 "quickOpenApplications",
                                                 "quickOpenClipboardPath",
                                                 "quickOpenTypedPath",
                                                 "createFolder",
                                                 "createTextFile",
                                                 "createRTFDocument",
                                                 "createMarkdownFile",
                                                 "createWordDocument",
                                                 "createExcelSpreadsheet",
                                                 "createPowerPointPresentation",
                                                 "createPDFDocument",
                                                 "createCSVFile",
                                                 "createXMLFile",
                                                 "createYAMLFile",
                                                 "createPNGImage",
                                                 "createJPEGImage",
                                                 "createReadmeFile",
                                                 "copyFilesToFolder",
                                                 "copyFilesToDesktop",
                                                 "copyFilesToDownloads",
                                                 "copyFilesToDocuments",
                                                 "copyBesideOriginal",
                                                 "copyFullPath",
                                                 "copyFileName",
                                                 "copyParentPath",
                                                 "copyShellPath",
                                                 "copyMarkdownLink",
                                                 "copyFileNameList",
                                                 "revealInFinder",
                                                 "finderViewPreset",
                                                 "moveFilesToFolder",
                                                 "moveFilesToDesktop",
                                                 "moveFilesToDownloads",
                                                 "moveFilesToDocuments",
                                                 "moveSelectionToNewFolder",
                                                 "renameAddPrefix",
                                                 "renameAddSuffix",
                                                 "renameFindReplace",
                                                 "renameSequential",
                                                 "compressToZIP",
                                                 "extractZIPHere",
                                                 "extractZIPToFolder",
                                                 "scheduleDelete1Hour",
                                                 "scheduleDelete7Days",
                                                 "scheduleDelete30Days",
                                                 "scheduleDelete90Days",
                                                 "resizeImages",
                                                 "convertImageToJPEG",
                                                 "convertImageToPNG",
                                                 "compressJPEG",
                                                 "mergePDFs",
                                                 "splitPDFs",
                                                 "imagesToPDF",
                                                 "compressPDF"};
    ASSERT_EQ(storeChildren.size(), 58u);
    const auto& enabled = everydayEnabledChildIDs();
    EXPECT_EQ(enabled.size(), 58u);
    EXPECT_TRUE(hasNoDuplicates(enabled));
    EXPECT_EQ(sorted(enabled), sorted(storeChildren));
    const auto catalogChildren = std::count_if(enabled.begin(), enabled.end(), [](const std::string& id) {
        return finderFeatureChild(id).has_value();
    });
    EXPECT_EQ(catalogChildren, 56);

    const auto& order = defaultFeatureOrder();
    ASSERT_EQ(order.size(), 14u);
    std::vector<std::string> catalogIDs;
    for (auto feature : allFinderFeatures()) {
        catalogIDs.emplace_back(rawValue(feature));
    }
    EXPECT_EQ(sorted(order), sorted(catalogIDs));
    EXPECT_NE(order, catalogIDs);
    EXPECT_EQ(order.front(), "quickOpen");
    EXPECT_EQ(order.back(), "developerTools");
}

} // namespace
} // namespace quilla
