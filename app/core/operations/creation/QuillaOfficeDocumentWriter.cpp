#include "app/core/operations/creation/QuillaOfficeDocumentWriter.h"

#include "app/core/operations/creation/NewFileWriting.h"
#include "app/core/operations/rename/ZipArchiveWriter.h"

#include <string_view>

namespace quilla {
namespace {

using Kind = QuillaOfficeDocumentWriter::Kind;

// The standard's own namespace, content-type and relationship-type strings.
constexpr std::string_view kContentTypesNS = "http://schemas.openxmlformats.org/package/2006/content-types";
constexpr std::string_view kPackageRelsNS = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr std::string_view kOfficeRelsNS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kWordNS = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr std::string_view kSheetNS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kPresentationNS = "http://schemas.openxmlformats.org/presentationml/2006/main";
constexpr std::string_view kDrawingNS = "http://schemas.openxmlformats.org/drawingml/2006/main";
constexpr std::string_view kCorePropertiesNS = "http://schemas.openxmlformats.org/package/2006/metadata/core-properties";
constexpr std::string_view kExtendedPropertiesNS = "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties";
constexpr std::string_view kVTypesNS = "http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes";

constexpr std::string_view kRelationshipsType = "application/vnd.openxmlformats-package.relationships+xml";
constexpr std::string_view kCorePropertiesType = "application/vnd.openxmlformats-package.core-properties+xml";
constexpr std::string_view kExtendedPropertiesType = "application/vnd.openxmlformats-officedocument.extended-properties+xml";

constexpr std::string_view kOfficeDocumentRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument";
constexpr std::string_view kCorePropertiesRel = "http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties";
constexpr std::string_view kExtendedPropertiesRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties";
constexpr std::string_view kWorksheetRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet";
constexpr std::string_view kSlideRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/slide";

struct MainPart {
    std::string_view partName;
    std::string_view contentType;
};

std::vector<MainPart> mainParts(Kind kind) {
    switch (kind) {
    case Kind::word:
        return {{"/word/document.xml", "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"}};
    case Kind::excel:
        return {{"/xl/workbook.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"},
                {"/xl/worksheets/sheet1.xml", "application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"}};
    case Kind::powerPoint:
        return {{"/ppt/presentation.xml", "application/vnd.openxmlformats-officedocument.presentationml.presentation.main+xml"},
                {"/ppt/slides/slide1.xml", "application/vnd.openxmlformats-officedocument.presentationml.slide+xml"}};
    }
    return {};
}

std::string_view headingPairName(Kind kind) {
    switch (kind) {
    case Kind::word: return "Document";
    case Kind::excel: return "Workbook";
    case Kind::powerPoint: return "Presentation";
    }
    return {};
}

std::string str(std::string_view text) { return std::string(text); }

/// Declaration, root start tag, one child per line indented by two spaces, root end tag; no
/// line feed at the end.
std::string xmlPart(const std::string& rootStart, const std::string& rootName, const std::vector<std::string>& children) {
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n" + rootStart + "\n";
    for (const auto& child : children) text += "  " + child + "\n";
    return text + "</" + rootName + ">";
}

std::string relationship(std::string_view id, std::string_view type, std::string_view target) {
    return "<Relationship Id=\"" + str(id) + "\" Type=\"" + str(type) + "\" Target=\"" + str(target) + "\"/>";
}

std::string relationships(const std::vector<std::string>& lines) {
    return xmlPart("<Relationships xmlns=\"" + str(kPackageRelsNS) + "\">", "Relationships", lines);
}

std::string contentTypes(Kind kind) {
    std::vector<std::string> lines = {
        "<Default Extension=\"rels\" ContentType=\"" + str(kRelationshipsType) + "\"/>",
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>",
    };
    const auto override = [](std::string_view part, std::string_view type) {
        return "<Override PartName=\"" + str(part) + "\" ContentType=\"" + str(type) + "\"/>";
    };
    for (const auto& part : mainParts(kind)) lines.push_back(override(part.partName, part.contentType));
    lines.push_back(override("/docProps/core.xml", kCorePropertiesType));
    lines.push_back(override("/docProps/app.xml", kExtendedPropertiesType));
    return xmlPart("<Types xmlns=\"" + str(kContentTypesNS) + "\">", "Types", lines);
}

std::string rootRelationships(Kind kind) {
    return relationships({relationship("rId1", kOfficeDocumentRel, mainParts(kind).front().partName.substr(1)),
                          relationship("rId2", kCorePropertiesRel, "docProps/core.xml"),
                          relationship("rId3", kExtendedPropertiesRel, "docProps/app.xml")});
}

std::string coreProperties() {
    return xmlPart("<cp:coreProperties xmlns:cp=\"" + str(kCorePropertiesNS) +
                       "\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\""
                       " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">",
                   "cp:coreProperties",
                   {"<dc:creator>Quilla</dc:creator>", "<cp:lastModifiedBy>Quilla</cp:lastModifiedBy>",
                    "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2026-01-01T00:00:00Z</dcterms:created>",
                    "<dcterms:modified xsi:type=\"dcterms:W3CDTF\">2026-01-01T00:00:00Z</dcterms:modified>"});
}

std::string extendedProperties(Kind kind) {
    return xmlPart("<Properties xmlns=\"" + str(kExtendedPropertiesNS) + "\" xmlns:vt=\"" + str(kVTypesNS) + "\">",
                   "Properties",
                   {"<Application>Quilla</Application>", "<DocSecurity>0</DocSecurity>", "<ScaleCrop>false</ScaleCrop>",
                    "<Company></Company>", "<LinksUpToDate>false</LinksUpToDate>", "<SharedDoc>false</SharedDoc>",
                    "<HyperlinksChanged>false</HyperlinksChanged>", "<AppVersion>1.0</AppVersion>",
                    "<HeadingPairs><vt:vector size=\"2\" baseType=\"variant\"><vt:variant><vt:lpstr>" +
                        str(headingPairName(kind)) +
                        "</vt:lpstr></vt:variant><vt:variant><vt:i4>1</vt:i4></vt:variant></vt:vector></HeadingPairs>"});
}

std::vector<QuillaOfficeDocumentWriter::Entry> mainEntries(Kind kind) {
    switch (kind) {
    case Kind::word:
        return {{"word/document.xml", xmlPart("<w:document xmlns:w=\"" + str(kWordNS) + "\">", "w:document",
                                              {"<w:body><w:p/><w:sectPr/></w:body>"})}};
    case Kind::excel:
        return {{"xl/workbook.xml",
                 xmlPart("<workbook xmlns=\"" + str(kSheetNS) + "\" xmlns:r=\"" + str(kOfficeRelsNS) + "\">", "workbook",
                         {"<sheets><sheet name=\"Sheet1\" sheetId=\"1\" r:id=\"rId1\"/></sheets>"})},
                {"xl/_rels/workbook.xml.rels", relationships({relationship("rId1", kWorksheetRel, "worksheets/sheet1.xml")})},
                {"xl/worksheets/sheet1.xml", xmlPart("<worksheet xmlns=\"" + str(kSheetNS) + "\">", "worksheet", {"<sheetData/>"})}};
    case Kind::powerPoint:
        return {{"ppt/presentation.xml",
                 xmlPart("<p:presentation xmlns:p=\"" + str(kPresentationNS) + "\" xmlns:r=\"" + str(kOfficeRelsNS) + "\">",
                         "p:presentation",
                         {"<p:sldIdLst><p:sldId id=\"256\" r:id=\"rId1\"/></p:sldIdLst>",
                          "<p:sldSz cx=\"9144000\" cy=\"6858000\" type=\"screen4x3\"/>",
                          "<p:notesSz cx=\"6858000\" cy=\"9144000\"/>"})},
                {"ppt/_rels/presentation.xml.rels", relationships({relationship("rId1", kSlideRel, "slides/slide1.xml")})},
                {"ppt/slides/slide1.xml",
                 xmlPart("<p:sld xmlns:p=\"" + str(kPresentationNS) + "\" xmlns:a=\"" + str(kDrawingNS) + "\">", "p:sld",
                         {"<p:cSld><p:spTree><p:nvGrpSpPr><p:cNvPr id=\"1\" name=\"\"/><p:cNvGrpSpPr/><p:nvPr/></p:nvGrpSpPr>"
                          "<p:grpSpPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"0\" cy=\"0\"/><a:chOff x=\"0\" y=\"0\"/>"
                          "<a:chExt cx=\"0\" cy=\"0\"/></a:xfrm></p:grpSpPr></p:spTree></p:cSld>"})}};
    }
    return {};
}

} // namespace

std::vector<QuillaOfficeDocumentWriter::Entry> QuillaOfficeDocumentWriter::entries(Kind kind) {
    std::vector<Entry> result = {{"[Content_Types].xml", contentTypes(kind)}, {"_rels/.rels", rootRelationships(kind)}};
    for (auto& entry : mainEntries(kind)) result.push_back(std::move(entry));
    result.push_back({"docProps/core.xml", coreProperties()});
    result.push_back({"docProps/app.xml", extendedProperties(kind)});
    return result;
}

void QuillaOfficeDocumentWriter::write(Kind kind, const std::filesystem::path& destination) {
    const creation::ScopedWorkFolder work("quilla-office-");
    std::vector<std::string> paths;
    for (const auto& entry : entries(kind)) {
        const auto file = work.path() / entry.path;
        std::filesystem::create_directories(file.parent_path());
        creation::writeNewFile(file, entry.text);
        paths.push_back(entry.path);
    }
    runZip(work.path(), paths, destination);
}

void QuillaOfficeDocumentWriter::runZip(const std::filesystem::path& workFolder, const std::vector<std::string>& entryPaths,
                                        const std::filesystem::path& destination) {
    std::string package;
    {
        ZipArchiveWriter zip(package);
        for (const auto& path : entryPaths) zip.addItem(path, workFolder / path);
        zip.finish();
    }
    creation::writeNewFile(destination, package);
}

} // namespace quilla
