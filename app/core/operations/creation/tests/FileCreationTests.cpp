#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/executor/FinderActionExecutor.h"
#include "app/core/operations/creation/NewFileWriting.h"
#include "app/core/operations/creation/QuillaFileTemplate.h"
#include "app/core/operations/imagepdf/VipsRuntime.h"
#include "app/core/tests/fakes/FailureText.h"
#include "app/core/tests/fakes/FakePlatform.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#define POINTERHOLDER_TRANSITION 4
#include <gtest/gtest.h>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <sys/stat.h>
#include <vips/vips8>

using namespace quilla;
using quilla::test::readText;
using quilla::test::TempDir;
namespace fs = std::filesystem;

namespace {

struct ExpectedTemplate {
    const char* actionID;
    const char* fileName;
    std::string bytes; // for the text templates; empty for the generated kinds
};

const ExpectedTemplate kExpected[] = {
    {"createTextFile", "Untitled.txt", ""},
    {"createRTFDocument", "Untitled.rtf", "{\\rtf1\\ansi\\deff0\\n{\\fonttbl{\\f0 Helvetica;}}\\n\\f0\\fs24\\n}\\n"},
    {"createMarkdownFile", "Untitled.md", "# Untitled\n"},
    {"createWordDocument", "Untitled.docx", ""},
    {"createExcelSpreadsheet", "Untitled.xlsx", ""},
    {"createPowerPointPresentation", "Untitled.pptx", ""},
    {"createPDFDocument", "Untitled.pdf", ""},
    {"createCSVFile", "Untitled.csv", "Name,Value\n"},
    {"createJSONFile", "Untitled.json", "{\n  \n}\n"},
    {"createXMLFile", "Untitled.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n</root>"},
    {"createYAMLFile", "Untitled.yaml", "# Untitled\n"},
    {"createPNGImage", "Untitled.png", ""},
    {"createJPEGImage", "Untitled.jpg", ""},
    {"createSwiftFile", "Untitled.swift", "import Foundation\n"},
    {"createReadmeFile", "README.md", "# README\n"},
    {"createHTMLFile", "Untitled.html",
     "<!doctype html>\n<html lang=\"en\">\n<head>\n    <meta charset=\"utf-8\">\n"
     "    <meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n    <title>Untitled</title>\n"
     "</head>\n<body>\n</body>\n</html>"},
    {"createCSSFile", "Untitled.css", ""},
    {"createJavaScriptFile", "Untitled.js", ""},
    {"createPythonFile", "Untitled.py", "#!/usr/bin/env python3\n\n"},
    {"createShellFile", "Untitled.sh", "#!/bin/sh\n\n"},
    {"createGitignoreFile", ".gitignore", ".DS_Store\n.env\nnode_modules/\n.build/\nDerivedData/"},
};

bool isGenerated(QuillaFileTemplate::Kind kind) {
    using K = QuillaFileTemplate::Kind;
    return kind == K::word || kind == K::excel || kind == K::powerPoint || kind == K::pdf || kind == K::png || kind == K::jpeg;
}

using quilla::test::failureOf;

struct Creation : ::testing::Test {
    test::FakePlatform platform;
    ExecutorContext context = platform.context();
    FinderActionExecutor executor{context};

    fs::path perform(const std::string& id, std::vector<fs::path> selected, std::optional<fs::path> targeted = {}) {
        const auto result = executor.perform({.actionID = id, .selectedPaths = std::move(selected), .targetedPath = targeted});
        EXPECT_EQ(result.size(), 1u);
        return result.empty() ? fs::path() : result.front();
    }
};

} // namespace

TEST_F(Creation, EveryTemplateHasItsNameAndExactBytes) {
    ASSERT_EQ(std::size(kExpected), QuillaFileTemplate::count);
    TempDir dir;
    const auto all = QuillaFileTemplate::all();
    for (std::size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(kExpected[i].actionID);
        EXPECT_EQ(all[i].actionID(), kExpected[i].actionID);
        const auto file = perform(kExpected[i].actionID, {}, dir.path());
        EXPECT_EQ(file, dir / kExpected[i].fileName);
        if (!isGenerated(all[i].kind())) {
            EXPECT_EQ(readText(file), kExpected[i].bytes);
        } else {
            EXPECT_GT(fs::file_size(file), 0u);
        }
    }
    EXPECT_EQ(fs::file_size(dir / "Untitled.rtf"), 60u);
    EXPECT_EQ(readText(dir / "Untitled.rtf").find('\n'), std::string::npos);
    // The shell script is written like any other file: not executable.
    EXPECT_EQ(fs::status(dir / "Untitled.sh").permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(Creation, NewNamesCountUpAndNeverReplace) {
    TempDir dir;
    for (int i = 1; i <= 10; ++i) {
        const auto file = perform("createTextFile", {}, dir.path());
        EXPECT_EQ(file.filename(), i == 1 ? "Untitled.txt" : "Untitled " + std::to_string(i) + ".txt");
    }
    perform("createGitignoreFile", {}, dir.path());
    EXPECT_EQ(perform("createGitignoreFile", {}, dir.path()).filename(), ".gitignore 2");
    perform("createReadmeFile", {}, dir.path());
    EXPECT_EQ(perform("createReadmeFile", {}, dir.path()).filename(), "README 2.md");
    dir.write("Untitled Folder", "a file in the way");
    EXPECT_EQ(perform("createFolder", {}, dir.path()).filename(), "Untitled Folder 2");
    EXPECT_EQ(readText(dir / "Untitled Folder"), "a file in the way");
}

TEST_F(Creation, ItemsGoNextToASelectedFileOrIntoASelectedFolder) {
    TempDir dir;
    const auto file = dir.write("docs/note.txt", "x");
    fs::create_directories(dir / "folder");
    EXPECT_EQ(perform("createMarkdownFile", {file}), dir / "docs/Untitled.md");
    EXPECT_EQ(perform("createFolder", {dir / "folder"}), dir / "folder/Untitled Folder");
    EXPECT_TRUE(fs::is_directory(dir / "folder/Untitled Folder"));
    EXPECT_EQ(failureOf([&] { executor.perform({.actionID = "createFolder"}); }), "没有找到可以执行操作的 Finder 目录。");
}

TEST_F(Creation, RevealFollowsTheCreatedItemsPreference) {
    TempDir dir;
    platform.preferences.revealCreatedItems = false;
    perform("createFolder", {}, dir.path());
    EXPECT_TRUE(platform.workspace.calls.empty());
    platform.preferences.revealCreatedItems = true;
    const auto folder = perform("createFolder", {}, dir.path());
    const auto file = perform("createCSVFile", {}, dir.path());
    EXPECT_EQ(platform.workspace.calls, (std::vector<std::string>{"open " + folder.string(), "open " + dir.path().string()}));
}

TEST_F(Creation, FailuresCarryTheSystemMessage) {
    TempDir dir;
    dir.write("plain", "not a folder");
    // A targeted path below a file: the folder cannot exist, so nothing can be written there.
    const auto message = failureOf([&] { perform("createTextFile", {}, dir / "plain/inner"); });
    EXPECT_NE(message, "no failure");
    EXPECT_FALSE(fs::exists(dir / "plain/inner"));
}

TEST_F(Creation, NewItemsFollowTheUmaskLikeEveryOtherNewFile) {
    TempDir dir;
    const mode_t previous = ::umask(027);
    const auto modeOf = [](const fs::path& path) {
        struct stat info {};
        ::stat(path.c_str(), &info);
        return info.st_mode & 07777;
    };
    for (const auto* id : {"createTextFile", "createWordDocument", "createPNGImage", "createPDFDocument"}) {
        EXPECT_EQ(modeOf(perform(id, {}, dir.path())), 0640u) << id;
    }
    EXPECT_EQ(modeOf(perform("createFolder", {}, dir.path())), 0750u);
    ::umask(previous);
}

// The free name is looked up before the file is written: an item that another program creates
// under that name in between must survive, and the new file takes the next name.
TEST(NewFileWriting, NeverReplacesAnItemCreatedMeanwhile) {
    TempDir dir;
    const auto taken = dir.write("Untitled.txt", "someone else's");
    const auto code = [&] {
        try {
            creation::writeNewFile(taken, "ours");
        } catch (const fs::filesystem_error& error) {
            return error.code();
        }
        return std::error_code();
    }();
    EXPECT_EQ(code, std::errc::file_exists);
    EXPECT_EQ(readText(taken), "someone else's");
    EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(dir.path()), fs::directory_iterator()),
              std::vector<fs::path>{taken})
        << "no temporary file is left";
    EXPECT_THROW(QuillaFileTemplate(QuillaFileTemplate::Kind::word).write(taken), fs::filesystem_error);
    EXPECT_EQ(readText(taken), "someone else's");
}

TEST(BlankDocuments, PNGIsOneOpaqueWhiteRGBAPixel) {
    TempDir dir;
    QuillaFileTemplate(QuillaFileTemplate::Kind::png).write(dir / "p.png");
    std::string out;
    const int status = test::runPython(R"(
import struct, zlib
data = open(')" + (dir / "p.png").string() + R"(', 'rb').read()
assert data[:8] == b'\x89PNG\r\n\x1a\n'
pos, idat, ihdr = 8, b'', None
while pos < len(data):
    n, kind = struct.unpack('>I4s', data[pos:pos + 8])
    body = data[pos + 8:pos + 8 + n]
    if kind == b'IHDR': ihdr = struct.unpack('>IIBBBBB', body)
    if kind == b'IDAT': idat += body
    pos += 12 + n
print(ihdr[:4], zlib.decompress(idat).hex())
)", &out);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out, "(1, 1, 8, 6) 00ffffffff\n"); // width, height, 8 bits, RGBA; filter byte then the pixel
}

TEST(BlankDocuments, JPEGDecodesToOneWhitePixel) {
    TempDir dir;
    QuillaFileTemplate(QuillaFileTemplate::Kind::jpeg).write(dir / "j.jpg");
    const auto bytes = readText(dir / "j.jpg");
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");
    VipsRuntime::ensureStarted(); // writing the template does not start the image library
    const auto image = vips::VImage::new_from_file((dir / "j.jpg").c_str());
    EXPECT_EQ(image.width(), 1);
    EXPECT_EQ(image.height(), 1);
    EXPECT_GE(image.min(), 250.0);
}

TEST(BlankDocuments, PDFHasOneLetterPage) {
    TempDir dir;
    QuillaFileTemplate(QuillaFileTemplate::Kind::pdf).write(dir / "d.pdf");
    QPDF pdf;
    pdf.processFile((dir / "d.pdf").c_str());
    auto pages = QPDFPageDocumentHelper(pdf).getAllPages();
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].getAttribute("/MediaBox", false).unparse(), "[ 0 0 612 792 ]");
}
