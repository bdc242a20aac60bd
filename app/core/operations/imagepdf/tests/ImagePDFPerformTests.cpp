#include "app/cli/PerformCommand.h"
#include "app/cli/tests/PerformRun.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/imagepdf/OperationModules.h"
#include "app/core/operations/imagepdf/tests/ImageFixtures.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace quilla;
using namespace quilla::test;

namespace {

using Run = quilla::test::PerformRun;

Run perform(std::vector<std::string> words, const std::string& input = {}) {
    return quilla::test::runPerform(std::move(words), input);
}

} // namespace

TEST(ImagePDFPerform, EveryActionIsReachableFromTheCommandLine) {
    ScopedHome home;
    TempDir dir;
    const auto photo = writeMarkedImage(dir / "photo.png", 16, 12).string();
    writePDF(dir / "doc.pdf", {100, 200});
    const auto pdf = (dir / "doc.pdf").string();
    const auto folder = dir.path().string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> runs{
        {{"convertImageToJPEG", "--selected", photo}, folder + "/photo.jpg\n"},
        {{"convertImageToPNG", "--selected", photo}, folder + "/photo 2.png\n"},
        {{"convertImageToTIFF", "--selected", photo}, folder + "/photo.tiff\n"},
        {{"compressJPEG", "--selected", folder + "/photo.jpg"}, folder + "/photo 2.jpg\n"},
        {{"stripImageMetadata", "--selected", photo}, folder + "/photo stripped.png\n"},
        {{"imagesToPDF", "--selected", photo}, folder + "/Images.pdf\n"},
        {{"mergePDFs", "--selected", pdf, "--selected", pdf}, folder + "/Merged.pdf\n"},
        {{"splitPDFs", "--selected", pdf}, folder + "/doc Pages/Page 001.pdf\n" + folder + "/doc Pages/Page 002.pdf\n"},
        {{"compressPDF", "--selected", pdf}, folder + "/doc compressed.pdf\n"},
    };
    for (const auto& [words, expected] : runs) {
        const auto run = perform(words);
        EXPECT_EQ(run.status, 0) << words.front() << ": " << run.err;
        EXPECT_EQ(run.out, expected) << words.front();
    }
    EXPECT_EQ(pdfPageWidths(dir / "Merged.pdf"), (std::vector<int>{100, 200, 100, 200}));

    const auto resized = perform({"resizeImages", "--selected", photo}, "8\n6\n");
    EXPECT_EQ(resized.status, 0) << resized.err;
    EXPECT_EQ(resized.out, photo + "\n");
    EXPECT_EQ(identify(photo), "8 6 PNG");
}

TEST(OperationModules, TheExecutorKnowsExactlyTheActionsEachModuleServes) {
    FakePlatform platform;
    const auto context = platform.context();
    const FinderActionExecutor executor(context);
    for (const auto& [module, registerOperations] :
         {std::pair{imagepdf::kImageModule, &imagepdf::registerImageOperations},
          std::pair{imagepdf::kPDFModule, &imagepdf::registerPDFOperations}}) {
        ActionTable served;
        registerOperations(served, context);
        std::vector<std::string> listed(module.actionIDs.begin(), module.actionIDs.end());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(served.actionIDs(), listed) << module.fileName;
        for (const auto& actionID : listed) {
            EXPECT_TRUE(executor.table().handles(actionID)) << actionID;
        }
    }
}

// The tools run in their modules, on the caller's platform services, and their failures arrive as
// the caller's own error type.
TEST(OperationModules, ActionsRunInTheModulesWithTheCallersServicesAndErrors) {
    FakePlatform platform;
    TempDir dir;
    const auto photo = writeMarkedImage(dir / "photo.png", 16, 12);
    platform.prompts.pairs.push_back(std::pair<std::string, std::string>{"8", "6"});
    const FinderActionExecutor executor(platform.context());

    const auto resized = executor.perform({.actionID = "resizeImages", .selectedPaths = {photo}});
    EXPECT_EQ(resized, (ActionResult{photo}));
    EXPECT_EQ(platform.prompts.asked.size(), 1u) << "the module asked through the caller's prompts";
    EXPECT_EQ(identify(photo), "8 6 PNG");

    try {
        executor.perform({.actionID = "mergePDFs", .selectedPaths = {}});
        ADD_FAILURE() << "merging nothing succeeded";
    } catch (const FinderActionExecutionError& error) {
        EXPECT_EQ(error.kind(), FinderActionExecutionError::Kind::noSelection);
    }
}
