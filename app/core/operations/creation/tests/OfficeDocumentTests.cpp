#include "app/core/operations/creation/QuillaOfficeDocumentWriter.h"
#include "shared/QuillaPaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestEnv.h"

#include <gtest/gtest.h>

using namespace quilla;
using quilla::test::TempDir;
namespace fs = std::filesystem;
using Kind = QuillaOfficeDocumentWriter::Kind;

namespace {

// Reads a package back with Python's own ZIP and XML readers and prints what matters, so a
// mistake in our writer cannot hide behind the same mistake in a reader of ours.
const char* kReadBack = R"(
import sys, zipfile, xml.etree.ElementTree as ET
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
names = z.namelist()
print(' '.join(names))
ns = {
  'ct': 'http://schemas.openxmlformats.org/package/2006/content-types',
  'rel': 'http://schemas.openxmlformats.org/package/2006/relationships',
  'cp': 'http://schemas.openxmlformats.org/package/2006/metadata/core-properties',
  'dc': 'http://purl.org/dc/elements/1.1/',
  'dcterms': 'http://purl.org/dc/terms/',
  'ep': 'http://schemas.openxmlformats.org/officeDocument/2006/extended-properties',
  'vt': 'http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes',
}
for name in names:
    text = z.read(name).decode('utf-8')
    assert text.startswith('<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'), name
    assert not text.endswith('\n'), name
    ET.fromstring(text.encode('utf-8'))
types = ET.fromstring(z.read('[Content_Types].xml'))
for d in types.findall('ct:Default', ns): print('default', d.get('Extension'), d.get('ContentType'))
for o in types.findall('ct:Override', ns): print('override', o.get('PartName'), o.get('ContentType'))
rels = ET.fromstring(z.read('_rels/.rels'))
for r in rels.findall('rel:Relationship', ns): print('rel', r.get('Id'), r.get('Type'), r.get('Target'))
core = ET.fromstring(z.read('docProps/core.xml'))
print('core', core.tag, core.find('dc:creator', ns).text, core.find('cp:lastModifiedBy', ns).text,
      core.find('dcterms:created', ns).text, core.find('dcterms:modified', ns).text,
      core.find('dcterms:created', ns).get('{http://www.w3.org/2001/XMLSchema-instance}type'))
app = ET.fromstring(z.read('docProps/app.xml'))
print('app', app.tag, app.find('ep:Application', ns).text, app.find('ep:HeadingPairs/vt:vector/vt:variant/vt:lpstr', ns).text)
main = [n for n in names if n not in ('[Content_Types].xml', '_rels/.rels', 'docProps/core.xml', 'docProps/app.xml')]
for name in main:
    root = ET.fromstring(z.read(name))
    print('part', name, root.tag, ' '.join(child.tag for child in root.iter()))
)";

std::string readBack(const fs::path& package) {
    std::string out;
    const int status = test::runPython("import sys\nsys.argv = ['x', r'" + package.string() + "']\n" + kReadBack, &out);
    EXPECT_EQ(status, 0) << out;
    return out;
}

const std::string kCommonTail =
    "override /docProps/core.xml application/vnd.openxmlformats-package.core-properties+xml\n"
    "override /docProps/app.xml application/vnd.openxmlformats-officedocument.extended-properties+xml\n";
const std::string kCommonDefaults =
    "default rels application/vnd.openxmlformats-package.relationships+xml\n"
    "default xml application/xml\n";
const std::string kRootRelsTail =
    "rel rId2 http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties docProps/core.xml\n"
    "rel rId3 http://schemas.openxmlformats.org/officeDocument/2006/relationships/extended-properties docProps/app.xml\n";
const std::string kCore =
    "core {http://schemas.openxmlformats.org/package/2006/metadata/core-properties}coreProperties Quilla Quilla "
    "2026-01-01T00:00:00Z 2026-01-01T00:00:00Z dcterms:W3CDTF\n";

std::string appLine(const std::string& heading) {
    return "app {http://schemas.openxmlformats.org/officeDocument/2006/extended-properties}Properties Quilla " + heading + "\n";
}

} // namespace

TEST(OfficeDocuments, WordPackageReadsBackWithEveryPartInOrder) {
    TempDir dir;
    QuillaOfficeDocumentWriter::write(Kind::word, dir / "a.docx");
    const std::string w = "{http://schemas.openxmlformats.org/wordprocessingml/2006/main}";
    EXPECT_EQ(readBack(dir / "a.docx"),
              "[Content_Types].xml _rels/.rels word/document.xml docProps/core.xml docProps/app.xml\n" + kCommonDefaults +
                  "override /word/document.xml application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\n" +
                  kCommonTail +
                  "rel rId1 http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument word/document.xml\n" +
                  kRootRelsTail + kCore + appLine("Document") + "part word/document.xml " + w + "document " + w + "document " + w +
                  "body " + w + "p " + w + "sectPr\n");
}

TEST(OfficeDocuments, ExcelPackageHasWorkbookRelationshipsAndSheet) {
    TempDir dir;
    QuillaOfficeDocumentWriter::write(Kind::excel, dir / "a.xlsx");
    const std::string s = "{http://schemas.openxmlformats.org/spreadsheetml/2006/main}";
    EXPECT_EQ(readBack(dir / "a.xlsx"),
              "[Content_Types].xml _rels/.rels xl/workbook.xml xl/_rels/workbook.xml.rels xl/worksheets/sheet1.xml "
              "docProps/core.xml docProps/app.xml\n" +
                  kCommonDefaults +
                  "override /xl/workbook.xml application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\n"
                  "override /xl/worksheets/sheet1.xml application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\n" +
                  kCommonTail +
                  "rel rId1 http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument xl/workbook.xml\n" +
                  kRootRelsTail + kCore + appLine("Workbook") + "part xl/workbook.xml " + s + "workbook " + s + "workbook " + s +
                  "sheets " + s + "sheet\n" +
                  "part xl/_rels/workbook.xml.rels {http://schemas.openxmlformats.org/package/2006/relationships}Relationships "
                  "{http://schemas.openxmlformats.org/package/2006/relationships}Relationships "
                  "{http://schemas.openxmlformats.org/package/2006/relationships}Relationship\n"
                  "part xl/worksheets/sheet1.xml " + s + "worksheet " + s + "worksheet " + s + "sheetData\n");
}

TEST(OfficeDocuments, PowerPointPackageHasPresentationAndOneSlide) {
    TempDir dir;
    QuillaOfficeDocumentWriter::write(Kind::powerPoint, dir / "a.pptx");
    const auto out = readBack(dir / "a.pptx");
    EXPECT_EQ(out.substr(0, out.find('\n')),
              "[Content_Types].xml _rels/.rels ppt/presentation.xml ppt/_rels/presentation.xml.rels ppt/slides/slide1.xml "
              "docProps/core.xml docProps/app.xml");
    EXPECT_NE(out.find("override /ppt/slides/slide1.xml application/vnd.openxmlformats-officedocument.presentationml.slide+xml\n"
                       "override /docProps/core.xml"),
              std::string::npos);
    EXPECT_NE(out.find(appLine("Presentation")), std::string::npos);
    EXPECT_NE(out.find("{http://schemas.openxmlformats.org/drawingml/2006/main}chExt"), std::string::npos);
}

TEST(OfficeDocuments, PartTextIsExactlyTheDocumentedLines) {
    const auto entries = QuillaOfficeDocumentWriter::entries(Kind::word);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[2].text,
              "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
              "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">\n"
              "  <w:body><w:p/><w:sectPr/></w:body>\n"
              "</w:document>");
    const auto& app = entries[4].text;
    EXPECT_NE(app.find("\n  <Application>Quilla</Application>\n  <DocSecurity>0</DocSecurity>\n  <ScaleCrop>false</ScaleCrop>\n"
                       "  <Company></Company>\n  <LinksUpToDate>false</LinksUpToDate>\n  <SharedDoc>false</SharedDoc>\n"
                       "  <HyperlinksChanged>false</HyperlinksChanged>\n  <AppVersion>1.0</AppVersion>\n  <HeadingPairs>"),
              std::string::npos);
    EXPECT_TRUE(app.ends_with("</HeadingPairs>\n</Properties>"));
}

TEST(OfficeDocuments, WorkFolderIsAlwaysRemoved) {
    TempDir dir;
    const auto countWorkFolders = [] {
        int n = 0;
        for (const auto& entry : fs::directory_iterator(paths::tempDir())) {
            n += entry.path().filename().string().starts_with("quilla-office-") ? 1 : 0;
        }
        return n;
    };
    QuillaOfficeDocumentWriter::write(Kind::excel, dir / "ok.xlsx");
    EXPECT_THROW(QuillaOfficeDocumentWriter::write(Kind::excel, dir / "missing/folder/x.xlsx"), std::exception);
    EXPECT_FALSE(fs::exists(dir / "missing"));
    EXPECT_EQ(countWorkFolders(), 0);
}
