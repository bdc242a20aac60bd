#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/imagepdf/ImageReader.h"
#include "app/core/operations/imagepdf/ImageTools.h"
#include "app/core/operations/imagepdf/VipsRuntime.h"
#include "app/core/operations/imagepdf/tests/ImageFixtures.h"
#include "app/core/tests/fakes/FailureText.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <vips/vips8>

#include <memory>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace quilla;
using namespace quilla::test;

namespace {

struct ImageToolsTest : ::testing::Test {
    FakePlatform platform;
    TempDir dir;

    ActionResult perform(const std::string& actionID, std::vector<fs::path> selected) {
        const FinderActionExecutor executor(platform.context());
        return executor.perform({.actionID = actionID, .selectedPaths = std::move(selected)});
    }

    std::string failureOf(const std::string& actionID, std::vector<fs::path> selected) {
        return quilla::test::failureOf([&] { perform(actionID, std::move(selected)); });
    }

    void answerSize(std::string width, std::string height) {
        platform.prompts.pairs.emplace_back(std::pair{std::move(width), std::move(height)});
    }

    std::string verbose(const fs::path& image) { return toolOutput("/usr/bin/identify", {"-verbose", image.string()}); }
};

mode_t permissions(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST_F(ImageToolsTest, ConversionsWriteTheFormatAndSizeUnderFreeNames) {
    const auto photo = writeMarkedImage(dir / "photo.png", 40, 30);
    dir.write("photo.jpg", "an existing file that must stay");
    struct Case {
        const char* action;
        const char* expectedName;
        const char* expectedFormat;
    };
    for (const auto& c : {Case{"convertImageToJPEG", "photo 2.jpg", "40 30 JPEG"},
                          Case{"convertImageToPNG", "photo 2.png", "40 30 PNG"},
                          Case{"convertImageToTIFF", "photo.tiff", "40 30 TIFF"}}) {
        SCOPED_TRACE(c.action);
        const auto outputs = perform(c.action, {photo});
        ASSERT_EQ(outputs, ActionResult{dir / c.expectedName});
        EXPECT_EQ(identify(outputs.front()), c.expectedFormat);
        EXPECT_TRUE(isRedAt(outputs.front(), 2, 2));
        EXPECT_FALSE(isRedAt(outputs.front(), 37, 27));
    }
    EXPECT_EQ(readText(dir / "photo.jpg"), "an existing file that must stay");
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"photo 2.jpg", "photo 2.png", "photo.jpg", "photo.png", "photo.tiff"}));
}

TEST_F(ImageToolsTest, CompressJPEGWritesQualitySeventyBesideTheUntouchedOriginal) {
    const auto photo = writeMarkedImage(dir / "photo.jpg", 64, 48, "[Q=98]");
    const auto before = readText(photo);
    const auto outputs = perform("compressJPEG", {photo});
    ASSERT_EQ(outputs, ActionResult{dir / "photo 2.jpg"});
    EXPECT_EQ(identify(outputs.front(), "%Q %m"), "70 JPEG");
    EXPECT_EQ(readText(photo), before);
    EXPECT_EQ(identify(perform("convertImageToJPEG", {photo}).front(), "%Q"), "90");
}

TEST_F(ImageToolsTest, ConversionRevealsOutputsOnlyWhenWanted) {
    const auto photo = writeMarkedImage(dir / "a.png", 8, 8);
    platform.preferences.revealActionResults = false;
    perform("convertImageToTIFF", {photo});
    EXPECT_TRUE(platform.workspace.calls.empty());
    platform.preferences.revealActionResults = true;
    perform("convertImageToTIFF", {photo});
    EXPECT_EQ(platform.workspace.calls, std::vector<std::string>{"open " + dir.path().string()});
}

TEST_F(ImageToolsTest, TransparencyBecomesWhiteInJPEG) {
    VipsRuntime::ensureStarted();
    const auto clear = vips::VImage::black(16, 16, vips::VImage::option()->set("bands", 4)).cast(VIPS_FORMAT_UCHAR);
    clear.copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
        .write_to_file((dir / "clear.png").c_str());
    const auto output = perform("convertImageToJPEG", {dir / "clear.png"}).front();
    EXPECT_EQ(identify(output, "%[fx:int(255*p{8,8}.r)] %[fx:int(255*p{8,8}.g)]"), "255 255");
}

TEST_F(ImageToolsTest, OrientationTagsComeOutUprightAfterConversionAndResizing) {
    // Stored 64 × 32 with the red quadrant top-left; orientation 6 shows it turned clockwise,
    // 32 × 64 with the red quadrant top-right.
    const auto stored = writeMarkedImage(dir / "stored.jpg", 64, 32, "[Q=95,strip]");
    const auto turned = dir.write("turned.jpg", withMetadata(readText(stored), 6));

    const auto png = perform("convertImageToPNG", {turned}).front();
    EXPECT_EQ(identify(png, "%w %h %[orientation]"), "32 64 Undefined");
    EXPECT_TRUE(isRedAt(png, 28, 4));
    EXPECT_FALSE(isRedAt(png, 4, 4));

    answerSize("20", "40");
    perform("resizeImages", {turned});
    EXPECT_EQ(identify(turned, "%w %h %m"), "20 40 JPEG");
    EXPECT_TRUE(isRedAt(turned, 17, 3));
    EXPECT_FALSE(isRedAt(turned, 3, 3));
}

TEST_F(ImageToolsTest, ResizeMakesEveryImageExactlyThatSizeInPlaceKeepingFormatAndPermissions) {
    const auto jpeg = writeMarkedImage(dir / "a.jpg", 64, 48);
    const auto png = writeMarkedImage(dir / "b.png", 10, 10);
    ::chmod(jpeg.c_str(), 0640);
    answerSize(" 24 ", "+18");
    EXPECT_EQ(perform("resizeImages", {jpeg, png}), (ActionResult{jpeg, png}));
    EXPECT_EQ(identify(jpeg), "24 18 JPEG");
    EXPECT_EQ(identify(png), "24 18 PNG");
    EXPECT_EQ(permissions(jpeg), 0640u);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"a.jpg", "b.png"}));
    EXPECT_EQ(platform.prompts.asked,
              std::vector<std::string>{"调整图片大小 | 宽度（像素） | 高度（像素） | 输入宽度和高度，例如 1024 x 768。"});
}

TEST_F(ImageToolsTest, ResizeKeepsEveryFrameOfAnAnimation) {
    VipsRuntime::ensureStarted();
    const auto frame = vips::VImage::black(12, 10, vips::VImage::option()->set("bands", 3)).cast(VIPS_FORMAT_UCHAR);
    auto strip = vips::VImage::arrayjoin({frame, frame + 200, frame}, vips::VImage::option()->set("across", 1))
                     .cast(VIPS_FORMAT_UCHAR)
                     .copy(vips::VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB));
    strip.set(VIPS_META_PAGE_HEIGHT, 10);
    strip.write_to_file((dir / "anim.gif").c_str());
    answerSize("6", "4");
    perform("resizeImages", {dir / "anim.gif"});
    EXPECT_EQ(toolOutput("/usr/bin/identify", {"-format", "%w %h,", (dir / "anim.gif").string()}), "6 4,6 4,6 4,");
}

TEST_F(ImageToolsTest, SizePromptParsing) {
    const std::vector<std::pair<std::string, std::optional<std::int64_t>>> cases{
        {"1024", 1024}, {" 768\t", 768}, {"+5", 5}, {"1", 1},       {"0", std::nullopt},
        {"-5", std::nullopt}, {"-0", std::nullopt}, {"abc", std::nullopt}, {"12px", std::nullopt},
        {"12.5", std::nullopt}, {"", std::nullopt}, {"1 024", std::nullopt}, {"+", std::nullopt},
        {"99999999999999999999", std::nullopt}, {"１２", std::nullopt}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ImageTools::parseImageDimension(text), expected) << "'" << text << "'";
    }
}

TEST_F(ImageToolsTest, ABadOrCancelledSizeChangesNothing) {
    const auto photo = writeMarkedImage(dir / "a.png", 10, 10);
    const auto before = readText(photo);
    for (const auto& [width, height] : std::vector<std::pair<std::string, std::string>>{
             {"0", "10"}, {"10", "-3"}, {"ten", "10"}, {"10", ""}}) {
        answerSize(width, height);
        EXPECT_TRUE(perform("resizeImages", {photo}).empty());
    }
    EXPECT_TRUE(perform("resizeImages", {photo}).empty()); // cancelled
    EXPECT_EQ(readText(photo), before);
    EXPECT_EQ(failureOf("resizeImages", {}), "请先在 Finder 中选择文件。");
}

TEST_F(ImageToolsTest, RefusedInputsFailClearlyAndLeaveNothingBehind) {
    const auto text = dir.write("notes.txt", "not an image");
    const auto bomb = dir.write("bomb.png", pngClaiming(50000, 50000));
    const auto good = writeMarkedImage(dir / "full.jpg", 256, 256);
    const auto whole = readText(good);
    const auto truncated = dir.write("cut.jpg", whole.substr(0, whole.size() / 2));

    EXPECT_EQ(failureOf("convertImageToPNG", {text}), "无法读取图片：" + text.string() + "（不是支持的图片格式）");
    EXPECT_EQ(failureOf("convertImageToPNG", {bomb}), "图片尺寸过大：" + bomb.string() + "（50000 × 50000）");
    EXPECT_EQ(failureOf("convertImageToPNG", {truncated}).rfind("图片处理失败：" + truncated.string() + "（", 0), 0u);
    const auto gone = (dir / "gone.png").string();
    EXPECT_EQ(failureOf("convertImageToPNG", {gone}), "无法读取图片：" + gone + "（文件或文件夹不存在）");
    EXPECT_EQ(failureOf("convertImageToJPEG", {}), "请先在 Finder 中选择文件。");

    answerSize("10", "10");
    EXPECT_EQ(failureOf("resizeImages", {bomb}), "图片尺寸过大：" + bomb.string() + "（50000 × 50000）");
    answerSize("10", "10");
    EXPECT_EQ(failureOf("resizeImages", {truncated}).rfind("图片处理失败：", 0), 0u);
    EXPECT_EQ(readText(truncated), whole.substr(0, whole.size() / 2));
    answerSize("100000", "100000");
    EXPECT_EQ(failureOf("resizeImages", {good}), "图片尺寸过大：100000 × 100000（100000 × 100000）");

    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"bomb.png", "cut.jpg", "full.jpg", "notes.txt"}));
}

TEST_F(ImageToolsTest, ConversionStopsAtTheFirstFailureKeepingEarlierOutputs) {
    const auto first = writeMarkedImage(dir / "a.png", 8, 8);
    const auto broken = dir.write("b.png", "broken");
    const auto third = writeMarkedImage(dir / "c.png", 8, 8);
    EXPECT_NE(failureOf("convertImageToJPEG", {first, broken, third}), "no failure");
    EXPECT_TRUE(fs::exists(dir / "a.jpg"));
    EXPECT_FALSE(fs::exists(dir / "c.jpg"));
}

TEST_F(ImageToolsTest, StripRemovesMetadataFromJPEGWithoutTouchingItsPixels) {
    const auto plain = writeMarkedImage(dir / "plain.jpg", 48, 32, "[strip]");
    const auto photo = dir.write("photo.JPEG", withMetadata(readText(plain), 1));
    const auto before = verbose(photo);
    ASSERT_NE(before.find("SecretArtist"), std::string::npos);
    ASSERT_NE(before.find("SecretComment"), std::string::npos);
    ASSERT_NE(before.find("Profile-xmp"), std::string::npos);
    ASSERT_NE(before.find("Profile-iptc"), std::string::npos);

    const auto outputs = perform("stripImageMetadata", {photo});
    ASSERT_EQ(outputs, ActionResult{dir / "photo stripped.jpg"});
    const auto stripped = readText(outputs.front());
    EXPECT_EQ(stripped.find("Secret"), std::string::npos);
    const auto after = verbose(outputs.front());
    for (const char* gone : {"exif:", "Profile-exif", "Profile-xmp", "Profile-iptc", "Profile-8bim", "comment:"}) {
        EXPECT_EQ(after.find(gone), std::string::npos) << gone;
    }
    EXPECT_EQ(stripped, readText(plain)); // the very same compressed image
    EXPECT_EQ(perform("stripImageMetadata", {photo}), ActionResult{dir / "photo stripped 2.jpg"});
}

TEST_F(ImageToolsTest, StripAppliesTheOrientationBeforeDroppingIt) {
    const auto plain = writeMarkedImage(dir / "plain.jpg", 64, 32, "[Q=95,strip]");
    const auto photo = dir.write("turned.jpg", withMetadata(readText(plain), 6));
    const auto output = perform("stripImageMetadata", {photo}).front();
    EXPECT_EQ(identify(output, "%w %h %m"), "32 64 JPEG");
    EXPECT_TRUE(isRedAt(output, 28, 4));
    EXPECT_EQ(readText(output).find("Secret"), std::string::npos);
}

TEST_F(ImageToolsTest, StripWritesPNGForOtherTypesWithoutTheirMetadata) {
    // A HEIC photo and a PNG, both carrying the EXIF block.
    const auto withExif = dir.write("source.jpg", withMetadata(readText(writeMarkedImage(dir / "p.jpg", 20, 10)), 1));
    VipsRuntime::loadPlugins(); // the HEIF saver comes with a plug-in
    vips::VImage::new_from_file(withExif.c_str()).write_to_file((dir / "photo.heic").c_str());
    toolOutput("/usr/bin/convert", {withExif.string(), "png:" + (dir / "shot.png").string()});
    ASSERT_NE(readText(dir / "photo.heic").find("SecretArtist"), std::string::npos);
    ASSERT_NE(verbose(dir / "shot.png").find("SecretArtist"), std::string::npos);

    for (const auto& [source, expected] : std::vector<std::pair<std::string, std::string>>{
             {"photo.heic", "photo stripped.png"}, {"shot.png", "shot stripped.png"}}) {
        const auto output = perform("stripImageMetadata", {dir / source}).front();
        EXPECT_EQ(output, dir / expected);
        EXPECT_EQ(identify(output), "20 10 PNG");
        EXPECT_EQ(readText(output).find("Secret"), std::string::npos);
        EXPECT_EQ(verbose(output).find("exif:"), std::string::npos);
    }
}

TEST_F(ImageToolsTest, StripFailuresAreTheUnsupportedActionError) {
    const auto text = dir.write("notes.txt", "not an image");
    const auto whole = readText(writeMarkedImage(dir / "full.jpg", 128, 128));
    const auto truncated = dir.write("cut.jpg", whole.substr(0, whole.size() / 2));
    EXPECT_EQ(failureOf("stripImageMetadata", {text}), "暂不支持这个右键动作：stripImageMetadata。");
    EXPECT_EQ(failureOf("stripImageMetadata", {truncated}), "暂不支持这个右键动作：stripImageMetadata。");
    EXPECT_EQ(failureOf("stripImageMetadata", {}), "请先在 Finder 中选择文件。");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"cut.jpg", "full.jpg", "notes.txt"}));
}

// Plug-in formats (BMP through ImageMagick) are recognised whether or not the plug-ins were loaded
// yet, and a PDF is never an image, whatever its name says.
TEST_F(ImageToolsTest, LoadersComeFromPlugInsOnDemandAndAPDFIsNoImage) {
    toolOutput("/usr/bin/convert",
               {writeMarkedImage(dir / "p.png", 8, 6).string(), "bmp:" + (dir / "p.bmp").string()});
    EXPECT_EQ(ImageReader::loaderFor(dir / "p.bmp"), "magickload");
    EXPECT_EQ(ImageReader::loaderFor(dir / "p.png"), "pngload");
    const auto pdf =
        dir.write("scan.bmp", "%PDF-1.4\n1 0 obj << >> endobj\ntrailer << /Root 1 0 R >>\n%%EOF\n");
    EXPECT_EQ(ImageReader::loaderFor(pdf), std::nullopt);
    EXPECT_FALSE(VipsRuntime::loadPlugins()) << "loaded once, for the BMP";
}

TEST(VipsRuntime, OverlappingSingleWorkerPassesPutTheSettingBack) {
    VipsRuntime::ensureStarted();
    const int workers = vips_concurrency_get();
    auto first = std::make_unique<VipsRuntime::SingleWorkerPass>();
    auto second = std::make_unique<VipsRuntime::SingleWorkerPass>();
    EXPECT_EQ(vips_concurrency_get(), 1);
    first.reset(); // ends before the pass that started after it
    EXPECT_EQ(vips_concurrency_get(), 1);
    second.reset();
    EXPECT_EQ(vips_concurrency_get(), workers);
}

TEST(ImageOutputExtension, FollowsTheSourceExtensionInAnyCase) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"jpg", "jpg"}, {"JPEG", "jpg"}, {"tif", "tiff"}, {"TIFF", "tiff"}, {"gif", "gif"},
        {"heic", "png"}, {"png", "png"}, {"webp", "png"}, {"", "png"}};
    for (const auto& [source, expected] : cases) {
        EXPECT_EQ(ImageTools::imageOutputExtension(source), expected) << source;
    }
}

TEST_F(ImageToolsTest, ResizeKeepsTagsAndHardLinks) {
    const auto single = writeMarkedImage(dir / "single.png", 20, 20);
    const auto linked = writeMarkedImage(dir / "linked.png", 20, 20);
    fs::create_hard_link(linked, dir / "other name.png");
    for (const auto& image : {single, linked}) {
        if (::setxattr(image.c_str(), "user.xdg.tags", "red", 3, 0) != 0)
            GTEST_SKIP() << "no user attributes here";
    }
    answerSize("8", "6");
    EXPECT_EQ(perform("resizeImages", {single, linked}), (ActionResult{single, linked}));
    for (const auto& image : {single, linked}) {
        char value[16] = {};
        EXPECT_EQ(::getxattr(image.c_str(), "user.xdg.tags", value, sizeof value), 3) << image;
        EXPECT_STREQ(value, "red") << image;
        EXPECT_EQ(identify(image), "8 6 PNG");
    }
    EXPECT_EQ(fs::hard_link_count(linked), 2u);
    EXPECT_EQ(identify(dir / "other name.png"), "8 6 PNG");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"linked.png", "other name.png", "single.png"}));
}
