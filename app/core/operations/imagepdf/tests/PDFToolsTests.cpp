#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/imagepdf/PDFTools.h"
#include "app/core/operations/imagepdf/VipsRuntime.h"
#include "app/core/operations/imagepdf/tests/ImageFixtures.h"
#include "app/core/tests/fakes/FailureText.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
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
    EXPECT_EQ(failureOf("mergePDFs", {dir.write("a.txt", "x")}), "所选项目中没有 PDF 文件。");
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
    EXPECT_EQ(failureOf("imagesToPDF", {notes, dir.path()}), "所选项目中没有图片。");
    EXPECT_EQ(failureOf("imagesToPDF", {}), "请先在 Finder 中选择文件。");

    const auto bomb = dir.write("bomb.png", pngClaiming(50000, 50000));
    EXPECT_EQ(failureOf("imagesToPDF", {bomb}), "图片尺寸过大：" + bomb.string() + "（50000 × 50000）");
    const auto whole = readText(writeMarkedImage(dir / "full.png", 200, 200));
    const auto cut = dir.write("cut.png", whole.substr(0, whole.size() / 2));
    const auto failure = failureOf("imagesToPDF", {cut});
    EXPECT_EQ(failure.rfind("图片处理失败：" + cut.string(), 0), 0u) << failure;
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"bomb.png", "cut.png", "full.png", "notes.txt"}));
}

namespace {

// A PDF whose page tree is `depth` levels of /Pages nodes above its single page, with a correct
// cross-reference table.
void writeNestedPDF(const fs::path& path, int depth) {
    std::string body = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    const auto object = [&](const std::string& text) {
        offsets.push_back(body.size());
        body += std::to_string(offsets.size()) + " 0 obj\n" + text + "\nendobj\n";
    };
    object("<< /Type /Catalog /Pages 2 0 R >>");
    for (int level = 0; level < depth; ++level) {
        const int self = level + 2;
        const std::string parent = level == 0 ? "" : " /Parent " + std::to_string(self - 1) + " 0 R";
        object("<< /Type /Pages /Kids [" + std::to_string(self + 1) + " 0 R] /Count 1" + parent + " >>");
    }
    object("<< /Type /Page /MediaBox [0 0 123 200] /Parent " + std::to_string(depth + 1) + " 0 R >>");
    const auto xref = body.size();
    body += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (const auto offset : offsets) {
        char line[32];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        body += line;
    }
    body += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
            std::to_string(xref) + "\n%%EOF\n";
    std::ofstream(path, std::ios::binary) << body;
}

} // namespace

TEST_F(PDFToolsTest, APageTreeTooDeepToFollowIsAPDFThatCannotBeOpened) {
    writeNestedPDF(dir / "nested.pdf", 40);
    writeNestedPDF(dir / "abyss.pdf", 20000);
    EXPECT_EQ(perform("splitPDFs", {dir / "abyss.pdf", dir / "nested.pdf"}),
              ActionResult{dir / "nested Pages" / "Page 001.pdf"});
    EXPECT_EQ(pdfPageWidths(dir / "nested Pages" / "Page 001.pdf"), std::vector<int>{123});
    for (const auto* id : {"splitPDFs", "mergePDFs", "compressPDF"}) {
        EXPECT_EQ(failureOf(id, {dir / "abyss.pdf"}), std::string("暂不支持这个右键动作：") + id + "。");
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"abyss.pdf", "nested Pages", "nested.pdf"}));
}

// Reading a pipe blocks until someone writes to it; the tools must never try.
TEST_F(PDFToolsTest, PipesAndDevicesAreNeverOpened) {
    ASSERT_EQ(::mkfifo((dir / "p.jpg").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "p.pdf").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", dir / "null.png");
    const auto unreadable = [&](const char* name) {
        return "无法读取图片：" + (dir / name).string() + "（不是普通文件）";
    };
    const std::vector<std::tuple<const char*, const char*, std::string>> cases{
        {"convertImageToPNG", "p.jpg", unreadable("p.jpg")},
        {"resizeImages", "p.jpg", unreadable("p.jpg")},
        {"convertImageToJPEG", "null.png", unreadable("null.png")},
        {"stripImageMetadata", "p.jpg", "暂不支持这个右键动作：stripImageMetadata。"},
        {"imagesToPDF", "p.jpg", "所选项目中没有图片。"},
        {"mergePDFs", "p.pdf", "暂不支持这个右键动作：mergePDFs。"},
        {"splitPDFs", "p.pdf", "暂不支持这个右键动作：splitPDFs。"},
        {"compressPDF", "p.pdf", "暂不支持这个右键动作：compressPDF。"},
    };
    for (const auto& [id, name, expected] : cases) {
        platform.prompts.pairs.emplace_back(std::pair{std::string("10"), std::string("10")});
        auto run =
            std::async(std::launch::async, [&, id = id, name = name] { return failureOf(id, {dir / name}); });
        if (run.wait_for(std::chrono::seconds(30)) == std::future_status::timeout) {
            // Let the stuck reader go (end of file), so the test fails instead of hanging.
            const int writer = ::open((dir / name).c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
            run.wait();
            ADD_FAILURE() << id << " blocked on " << name;
            continue;
        }
        EXPECT_EQ(run.get(), expected) << id;
    }
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"null.png", "p.jpg", "p.pdf"}));
}

TEST_F(PDFToolsTest, ImagesToPDFSkipsEverythingTheImageToolsDoNotRead) {
    const auto photo = writeMarkedImage(dir / "photo.png", 40, 30);
    const auto skipped = std::vector<fs::path>{
        pdf("doc.pdf", {100}),
        dir.write("vector.svg", R"(<svg xmlns="http://www.w3.org/2000/svg" width="8" height="8"/>)"),
        dir.write("table.csv", "a,b\n1,2\n"),
        dir.write("grey.pgm", "P2\n2 2\n255\n0 255 255 0\n"),
        dir.write("matrix.mat", "2 2\n1 2\n3 4\n"),
    };
    auto selection = skipped;
    selection.push_back(photo);
    const auto output = perform("imagesToPDF", selection);
    ASSERT_EQ(output, ActionResult{dir / "Images.pdf"});
    EXPECT_EQ(pdfPageSizes(output.front()), std::vector<std::string>{"40 x 30"});
    EXPECT_EQ(failureOf("imagesToPDF", skipped), "所选项目中没有图片。");
    EXPECT_EQ(failureOf("convertImageToPNG", {dir / "matrix.mat"}),
              "无法读取图片：" + (dir / "matrix.mat").string() + "（不是支持的图片格式）");
}

TEST_F(PDFToolsTest, AFullDiskIsSaidAndLeavesNoPartialPDF) {
    // Noise hardly compresses: this PDF fills most of the small disk, and so would its copy.
    const auto noise = vips::VImage::gaussnoise(600, 400).cast(VIPS_FORMAT_UCHAR);
    noise.bandjoin({noise, noise}).pngsave((dir / "noise.png").c_str());
    const auto big = perform("imagesToPDF", {dir / "noise.png"}).front();
    const auto disk = dir / "disk";
    fs::create_directory(disk);
    // The child uses qpdf only: the image library's threads do not survive a fork.
    const auto result = test::inPrivateMount(
        disk,
        [&]() -> std::string {
            fs::copy_file(big, disk / "big.pdf");
            const auto failure = failureOf("mergePDFs", {disk / "big.pdf"});
            return failure + (namesIn(disk) == std::vector<std::string>{"big.pdf"} ? "" : " left behind");
        },
        "size=768k");
    if (!result)
        GTEST_SKIP() << "private mounts are not allowed here";
    EXPECT_EQ(*result, "磁盘空间不足：" + disk.string());
}
