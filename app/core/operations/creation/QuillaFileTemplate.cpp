#include "app/core/operations/creation/QuillaFileTemplate.h"

#include "app/core/operations/creation/BlankDocuments.h"
#include "app/core/operations/creation/NewFileWriting.h"
#include "app/core/operations/creation/QuillaOfficeDocumentWriter.h"

#include <utility>

namespace quilla {
namespace {

struct TemplateRow {
    std::string_view actionID;
    std::string_view baseName;
    std::string_view extension;
    std::string_view contents;
};

constexpr std::string_view kRTF = R"({\rtf1\ansi\deff0\n{\fonttbl{\f0 Helvetica;}}\n\f0\fs24\n}\n)";
constexpr std::string_view kUntitledHeading = "# Untitled\n";
constexpr std::string_view kCSV = "Name,Value\n";
constexpr std::string_view kJSON = "{\n  \n}\n";
constexpr std::string_view kXML = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>\n</root>";
constexpr std::string_view kSwift = "import Foundation\n";
constexpr std::string_view kReadme = "# README\n";
constexpr std::string_view kHTML = "<!doctype html>\n"
                                   "<html lang=\"en\">\n"
                                   "<head>\n"
                                   "    <meta charset=\"utf-8\">\n"
                                   "    <meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                                   "    <title>Untitled</title>\n"
                                   "</head>\n"
                                   "<body>\n"
                                   "</body>\n"
                                   "</html>";
constexpr std::string_view kPython = "#!/usr/bin/env python3\n\n";
constexpr std::string_view kShell = "#!/bin/sh\n\n";
constexpr std::string_view kGitignore = ".DS_Store\n.env\nnode_modules/\n.build/\nDerivedData/";

// In the order of QuillaFileTemplate::Kind.
constexpr std::array<TemplateRow, QuillaFileTemplate::count> kRows = {{
    {"createTextFile", "Untitled", "txt", ""},
    {"createRTFDocument", "Untitled", "rtf", kRTF},
    {"createMarkdownFile", "Untitled", "md", kUntitledHeading},
    {"createWordDocument", "Untitled", "docx", ""},
    {"createExcelSpreadsheet", "Untitled", "xlsx", ""},
    {"createPowerPointPresentation", "Untitled", "pptx", ""},
    {"createPDFDocument", "Untitled", "pdf", ""},
    {"createCSVFile", "Untitled", "csv", kCSV},
    {"createJSONFile", "Untitled", "json", kJSON},
    {"createXMLFile", "Untitled", "xml", kXML},
    {"createYAMLFile", "Untitled", "yaml", kUntitledHeading},
    {"createPNGImage", "Untitled", "png", ""},
    {"createJPEGImage", "Untitled", "jpg", ""},
    {"createSwiftFile", "Untitled", "swift", kSwift},
    {"createReadmeFile", "README", "md", kReadme},
    {"createHTMLFile", "Untitled", "html", kHTML},
    {"createCSSFile", "Untitled", "css", ""},
    {"createJavaScriptFile", "Untitled", "js", ""},
    {"createPythonFile", "Untitled", "py", kPython},
    {"createShellFile", "Untitled", "sh", kShell},
    {"createGitignoreFile", ".gitignore", "", kGitignore},
}};

const TemplateRow& rowOf(QuillaFileTemplate::Kind kind) { return kRows.at(static_cast<std::size_t>(kind)); }

} // namespace

std::array<QuillaFileTemplate, QuillaFileTemplate::count> QuillaFileTemplate::all() {
    return []<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<QuillaFileTemplate, count>{QuillaFileTemplate(static_cast<Kind>(I))...};
    }(std::make_index_sequence<count>());
}

std::optional<QuillaFileTemplate> QuillaFileTemplate::forActionID(std::string_view actionID) {
    for (std::size_t i = 0; i < count; ++i) {
        if (kRows[i].actionID == actionID) return QuillaFileTemplate(static_cast<Kind>(i));
    }
    return std::nullopt;
}

std::string_view QuillaFileTemplate::actionID() const { return rowOf(kind_).actionID; }
std::string_view QuillaFileTemplate::baseName() const { return rowOf(kind_).baseName; }
std::string_view QuillaFileTemplate::pathExtension() const { return rowOf(kind_).extension; }
std::string_view QuillaFileTemplate::initialContents() const { return rowOf(kind_).contents; }

void QuillaFileTemplate::write(const std::filesystem::path& path) const {
    switch (kind_) {
    case Kind::pdf: return creation::writeNewFile(path, blankPDFData());
    case Kind::png: return creation::writeNewFile(path, blankImageData(ImageType::png));
    case Kind::jpeg: return creation::writeNewFile(path, blankImageData(ImageType::jpeg));
    case Kind::word: return QuillaOfficeDocumentWriter::write(QuillaOfficeDocumentWriter::Kind::word, path);
    case Kind::excel: return QuillaOfficeDocumentWriter::write(QuillaOfficeDocumentWriter::Kind::excel, path);
    case Kind::powerPoint: return QuillaOfficeDocumentWriter::write(QuillaOfficeDocumentWriter::Kind::powerPoint, path);
    default: return creation::writeNewFile(path, initialContents());
    }
}

std::string QuillaFileTemplate::blankPDFData() {
    return std::string(creation::kBlankPDF);
}

std::string QuillaFileTemplate::blankImageData(ImageType type) {
    return std::string(type == ImageType::png ? creation::kBlankPNG : creation::kBlankJPEG);
}

} // namespace quilla
