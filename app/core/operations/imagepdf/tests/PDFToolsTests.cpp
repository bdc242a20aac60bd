#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/imagepdf/PDFTools.h"
#include "app/core/operations/imagepdf/VipsRuntime.h"
#include "app/core/operations/imagepdf/tests/ImageFixtures.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"
#include "app/core/tests/fakes/FailureText.h"

#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <vips/vips8>

using namespace quilla;
using namespace quilla::test;

namespace {

struct PDFToolsTest : ::testing::Test {
    FakePlatform platform;
    TempDir dir;

    ActionResult perform(const std::string& actionID, std::vector<fs::path> selected) {
        const FinderActionExecutor executor(platform.context());
        return executor.perform({.actionID = actionID, .selectedPaths = std::move(selected)});
    }

    std::string failureOf(const std::string& actionID, std::vector<fs::path> selected) {
        return quilla::test::failureOf([&] { perform(actionID, std::move(selected)); });
    }

    fs::path pdf(const std::string& name, const std::vector<int>& widths, bool compress = true) {
        writePDF(dir / name, widths, compress);
        return dir / name;
    }

    // A PDF that opens only with the password "user".
    fs::path locked(const std::string& name) {
        const auto open = pdf("open-" + name, {500});
        toolOutput("/usr/bin/qpdf", {"--encrypt", "user", "owner", "256", "--", open.string(), (dir / name).string()});
        fs::remove(open);
        return dir / name;
    }
};

} // namespace

TEST_F(PDFToolsTest, MergeKeepsSelectionAndPageOrderAndSkipsUnreadablePDFs) {
    const auto a = pdf("a.pdf", {101, 102});
    const auto broken = dir.write("broken.pdf", "%PDF-1.4 this is not really a PDF");
    const auto secret = locked("secret.pdf");
    const auto b = pdf("b.PDF", {201, 202, 203});
    const auto notes = dir.write("notes.txt", "ignored");
    // A damaged cross-reference table: the pages are still there to be found.
    auto damagedBytes = readText(pdf("damaged.pdf", {401}));
    damagedBytes.replace(damagedBytes.rfind("startxref") + 10, 3, "999");
    const auto damaged = dir.write("damaged.pdf", damagedBytes);
    ASSERT_FALSE(pdfPageWidths(secret).size() == 1 && toolOutput("/usr/bin/pdfinfo", {secret.string()}).size() > 0);

    const auto outputs = perform("mergePDFs", {a, notes, broken, secret, damaged, b});
    ASSERT_EQ(outputs, ActionResult{dir / "Merged.pdf"});
    EXPECT_EQ(pdfPageWidths(outputs.front()), (std::vector<int>{101, 102, 401, 201, 202, 203}));
    EXPECT_EQ(perform("mergePDFs", {b, a}), ActionResult{dir / "Merged 2.pdf"});
    EXPECT_EQ(pdfPageWidths(dir / "Merged 2.pdf"), (std::vector<int>{201, 202, 203, 101, 102}));
}

TEST_F(PDFToolsTest, MergeWithNothingReadableWritesNothing) {
    const auto broken = dir.write("broken.pdf", "garbage");
    EXPECT_EQ(failureOf("mergePDFs", {broken, locked("secret.pdf")}), "暂不支持这个右键动作：mergePDFs。");
    EXPECT_FALSE(fs::exists(dir / "Merged.pdf"));
    EXPECT_EQ(failureOf("mergePDFs", {dir.write("a.txt", "x")}), "请先在 Finder 中选择文件。");
    EXPECT_EQ(failureOf("mergePDFs", {}), "请先在 Finder 中选择文件。");
}

TEST_F(PDFToolsTest, SplitWritesOnePagePerFileInAPagesFolder) {
    const auto report = pdf("report.pdf", {301, 302, 303});
    fs::create_directory(dir / "other Pages");
    const auto outputs = perform("splitPDFs", {report});
    const auto folder = dir / "report Pages";
    ASSERT_EQ(outputs, (ActionResult{folder / "Page 001.pdf", folder / "Page 002.pdf", folder / "Page 003.pdf"}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pdfPageWidths(outputs[static_cast<std::size_t>(i)]), std::vector<int>{301 + i});
    }
    EXPECT_EQ(perform("splitPDFs", {report}).front(), dir / "report Pages 2" / "Page 001.pdf");
}

TEST_F(PDFToolsTest, SplitSkipsUnreadablePDFsButRefusesWhenNoneOpens) {
    const auto broken = dir.write("broken.pdf", "garbage");
    const auto one = pdf("one.pdf", {111});
    EXPECT_EQ(perform("splitPDFs", {broken, one}), ActionResult{dir / "one Pages" / "Page 001.pdf"});
    EXPECT_FALSE(fs::exists(dir / "broken Pages"));
    EXPECT_EQ(failureOf("splitPDFs", {broken}), "暂不支持这个右键动作：splitPDFs。");
}

TEST_F(PDFToolsTest, SplitPagesCarryOnlyTheResourcesTheyUse) {
    // Two pages inherit one resource dictionary from the page tree; each uses one of its fonts.
    QPDF pdf;
    pdf.emptyPDF();
    QPDFPageDocumentHelper pages(pdf);
    for (const char* font : {"/F1", "/F2"}) {
        auto page = QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 100 100] >>");
        page.replaceKey("/Contents", pdf.newStream(std::string("BT ") + font + " 12 Tf (x) Tj ET"));
        pages.addPage(QPDFPageObjectHelper(pdf.makeIndirectObject(page)), false);
    }
    pdf.getRoot().getKey("/Pages").replaceKey(
        "/Resources", QPDFObjectHandle::parse("<< /Font << /F1 << /Type /Font /Subtype /Type1 /BaseFont /Helvetica >> "
                                              "/F2 << /Type /Font /Subtype /Type1 /BaseFont /Courier >> >> >>"));
    const auto shared = dir / "shared.pdf";
    QPDFWriter writer(pdf, shared.c_str());
    writer.write();

    const auto outputs = perform("splitPDFs", {shared});
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_NE(readText(outputs[0]).find("Helvetica"), std::string::npos);
    EXPECT_EQ(readText(outputs[0]).find("Courier"), std::string::npos);
    EXPECT_NE(readText(outputs[1]).find("Courier"), std::string::npos);
    EXPECT_EQ(readText(outputs[1]).find("Helvetica"), std::string::npos);
}

TEST(PDFPageFileName, HasAtLeastThreeDigits) {
    const std::vector<std::pair<std::size_t, std::string>> cases{
        {1, "Page 001.pdf"}, {10, "Page 010.pdf"}, {999, "Page 999.pdf"}, {1000, "Page 1000.pdf"}, {12345, "Page 12345.pdf"}};
    for (const auto& [number, name] : cases) {
        EXPECT_EQ(PDFTools::pageFileName(number), name);
    }
}

TEST_F(PDFToolsTest, CompressMakesSmallerFilesAndNeverLargerOnes) {
    const auto loose = pdf("loose.pdf", {400, 400, 400}, false);
    const auto tight = pdf("tight.pdf", {400}, true);
    const auto outputs = perform("compressPDF", {loose, tight});
    ASSERT_EQ(outputs, (ActionResult{dir / "loose compressed.pdf", dir / "tight compressed.pdf"}));
    EXPECT_LT(fs::file_size(outputs[0]) * 2, fs::file_size(loose));
    EXPECT_LE(fs::file_size(outputs[1]), fs::file_size(tight));
    EXPECT_EQ(pdfPageWidths(outputs[0]), (std::vector<int>{400, 400, 400}));
    EXPECT_EQ(pdfPageWidths(outputs[1]), std::vector<int>{400});
    EXPECT_EQ(perform("compressPDF", {loose}), ActionResult{dir / "loose compressed 2.pdf"});
}

TEST_F(PDFToolsTest, CompressRefusesPDFsItCannotOpen) {
    EXPECT_EQ(failureOf("compressPDF", {dir.write("broken.pdf", "garbage")}), "暂不支持这个右键动作：compressPDF。");
    EXPECT_EQ(failureOf("compressPDF", {locked("secret.pdf")}), "暂不支持这个右键动作：compressPDF。");
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"broken.pdf", "secret.pdf"}));
}

TEST_F(PDFToolsTest, ImagesBecomeOnePageEachAtTheirPixelSize) {
    const auto photo = writeMarkedImage(dir / "photo.jpg", 64, 48);
    VipsRuntime::ensureStarted();
    auto withAlpha = vips::VImage::new_from_file((dir / "photo.jpg").c_str()).bandjoin_const({128});
    withAlpha.extract_area(0, 0, 30, 20).write_to_file((dir / "icon.png").c_str());
    const auto notes = dir.write("notes.txt", "skipped");

    const auto outputs = perform("imagesToPDF", {notes, photo, dir / "icon.png"});
    ASSERT_EQ(outputs, ActionResult{dir / "Images.pdf"});
    EXPECT_EQ(pdfPageSizes(outputs.front()), (std::vector<std::string>{"64 x 48", "30 x 20"}));
    const auto images = toolOutput("/usr/bin/pdfimages", {"-list", outputs.front().string()});
    EXPECT_NE(images.find("jpeg"), std::string::npos) << images;
    EXPECT_NE(images.find("smask"), std::string::npos) << images;
    const auto jpegBytes = readText(photo);
    EXPECT_NE(readText(outputs.front()).find(jpegBytes), std::string::npos); // embedded as it is
    EXPECT_EQ(perform("imagesToPDF", {photo}), ActionResult{dir / "Images 2.pdf"});
}

TEST_F(PDFToolsTest, TurnedJPEGPagesShowTheImageUpright) {
    const auto stored = writeMarkedImage(dir / "stored.jpg", 64, 32, "[Q=95,strip]");
    const auto turned = dir.write("turned.jpg", withMetadata(readText(stored), 6));
    const auto output = perform("imagesToPDF", {turned}).front();
    EXPECT_EQ(pdfPageSizes(output), std::vector<std::string>{"32 x 64"});
    toolOutput("/usr/bin/pdftoppm", {"-r", "72", "-png", "-singlefile", output.string(), (dir / "page").string()});
    EXPECT_EQ(identify(dir / "page.png"), "32 64 PNG");
    EXPECT_TRUE(isRedAt(dir / "page.png", 28, 4));
    EXPECT_FALSE(isRedAt(dir / "page.png", 4, 4));
    EXPECT_FALSE(isRedAt(dir / "page.png", 28, 60));
}

TEST_F(PDFToolsTest, ImagesToPDFRefusesNonImagesAndDamagedImages) {
    const auto notes = dir.write("notes.txt", "text");
    EXPECT_EQ(failureOf("imagesToPDF", {notes, dir.path()}), "暂不支持这个右键动作：imagesToPDF。");
    EXPECT_EQ(failureOf("imagesToPDF", {}), "请先在 Finder 中选择文件。");

    const auto bomb = dir.write("bomb.png", pngClaiming(50000, 50000));
    EXPECT_EQ(failureOf("imagesToPDF", {bomb}), "图片尺寸过大：" + bomb.string() + "（50000 × 50000）");
    const auto whole = readText(writeMarkedImage(dir / "full.png", 200, 200));
    const auto cut = dir.write("cut.png", whole.substr(0, whole.size() / 2));
    const auto failure = failureOf("imagesToPDF", {cut});
    EXPECT_EQ(failure.rfind("图片处理失败：" + cut.string(), 0), 0u) << failure;
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"bomb.png", "cut.png", "full.png", "notes.txt"}));
}
