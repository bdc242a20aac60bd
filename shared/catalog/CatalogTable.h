#pragma once

#include "shared/catalog/FinderFeatureAction.h"
#include "shared/catalog/RGBColor.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

/// The one table of features and child actions. The extension's view (FinderFeature) and the
/// application's view (QuillaFeature) are both generated from it, so the two can never disagree on
/// IDs, titles or order. Titles and summaries are the Chinese texts, which are also the
/// translation keys.
namespace quilla::catalog {

struct FeatureRow {
    std::string_view id;
    std::string_view title;
    std::string_view summary;
    std::string_view systemImage; // SF Symbol name
    RGBColor iconTop;
    RGBColor iconBottom;
    bool enabledByDefault;
};

struct ChildRow {
    std::string_view featureID;
    std::string_view actionID;
    std::string_view title;
    std::string_view summary;
    std::string_view systemImage;
    FinderFeatureAction action; // the extension's action kind
    bool enabledByDefault;
};

inline constexpr bool yes = true;
inline constexpr bool no = false;
using Action = FinderFeatureAction;
using Template = FinderFileTemplate;
using Format = FinderPathCopyFormat;

// clang-format off

/// Features in catalog order.
inline constexpr std::array featureRows{
    FeatureRow{"createFile", "新建", "在当前文件夹中新建文件或文件夹。", "doc.badge.plus", {0.18, 0.62, 1.0}, {0.0, 0.36, 0.88}, yes},
    FeatureRow{"quickOpen", "打开", "一键打开桌面、下载、文稿等常用位置。", "folder", {0.24, 0.58, 0.95}, {0.1, 0.32, 0.8}, yes},
    FeatureRow{"copyFile", "复制到", "把选中的文件复制到指定文件夹。", "doc.on.doc", {0.36, 0.78, 0.43}, {0.1, 0.56, 0.22}, yes},
    FeatureRow{"copyPath", "复制名称与路径", "复制文件名、完整路径或所在文件夹路径。", "link", {0.44, 0.5, 0.95}, {0.24, 0.25, 0.76}, yes},
    FeatureRow{"openWith", "用应用打开", "用预览、文本编辑等应用打开选中文件。", "app.badge", {0.28, 0.3, 0.35}, {0.08, 0.09, 0.11}, yes},
    FeatureRow{"viewOptions", "调整显示方式", "切换 Finder 的显示方式和排序方式。", "rectangle.grid.2x2", {0.22, 0.7, 0.86}, {0.08, 0.38, 0.72}, yes},
    FeatureRow{"customActions", "自定义动作", "把 Finder 选中的文件交给你的快捷指令或扩展处理。", "sparkles", {0.57, 0.42, 0.92}, {0.28, 0.2, 0.72}, yes},
    FeatureRow{"organizeFile", "移动到", "移动文件，或把选中项目收进新文件夹。", "tray.and.arrow.down", {0.93, 0.58, 0.18}, {0.78, 0.35, 0.06}, yes},
    FeatureRow{"batchRename", "批量改名", "一次修改多个文件的名称。", "textformat", {0.62, 0.44, 0.95}, {0.36, 0.22, 0.75}, yes},
    FeatureRow{"archiveTools", "压缩与解压缩", "把文件压缩成 ZIP，或解压 ZIP 文件。", "archivebox", {0.52, 0.58, 0.66}, {0.22, 0.27, 0.35}, yes},
    FeatureRow{"scheduledDeletion", "定时清理", "把选中文件设为几天后自动移到废纸篓。", "calendar.badge.clock", {0.36, 0.64, 0.92}, {0.12, 0.34, 0.7}, yes},
    FeatureRow{"imageTools", "处理图片", "转换格式、调整大小或压缩图片。", "photo", {0.18, 0.68, 0.72}, {0.08, 0.44, 0.52}, yes},
    FeatureRow{"pdfTools", "处理 PDF", "合并、拆分、压缩 PDF，或把图片变成 PDF。", "doc.richtext", {0.95, 0.28, 0.24}, {0.7, 0.08, 0.1}, yes},
    FeatureRow{"developerTools", "更多工具", "复制文件大小、校验值，或显示隐藏文件。", "number", {0.3, 0.32, 0.38}, {0.08, 0.09, 0.12}, no},
};

/// Children grouped by feature, features in catalog order, each group in menu order.
inline constexpr std::array childRows{
    ChildRow{"createFile", "createFolder", "新建文件夹", "创建一个新的空文件夹。", "folder.badge.plus", Action::createFolder(), yes},
    ChildRow{"createFile", "createTextFile", "新建文本文件", "创建一个空白 .txt 文件。", "doc.plaintext", Action::createFile(Template::text), yes},
    ChildRow{"createFile", "createRTFDocument", "新建 RTF 文档", "创建一个可用文本编辑打开的富文本文件。", "doc.richtext", Action::createFile(Template::rtf), yes},
    ChildRow{"createFile", "createMarkdownFile", "新建 Markdown 文件", "创建一个带标题的 .md 文件。", "doc.richtext", Action::createFile(Template::markdown), yes},
    ChildRow{"createFile", "createWordDocument", "新建 Word 文档", "创建一个空白 .docx 文档。", "doc.text", Action::createFile(Template::wordDocument), yes},
    ChildRow{"createFile", "createExcelSpreadsheet", "新建 Excel 表格", "创建一个空白 .xlsx 表格。", "tablecells", Action::createFile(Template::excelSpreadsheet), yes},
    ChildRow{"createFile", "createPowerPointPresentation", "新建 PowerPoint 演示", "创建一个空白 .pptx 演示文稿。", "rectangle.on.rectangle", Action::createFile(Template::powerPointPresentation), yes},
    ChildRow{"createFile", "createPDFDocument", "新建 PDF", "创建一个空白 .pdf 文件。", "doc.richtext", Action::createFile(Template::pdfDocument), yes},
    ChildRow{"createFile", "createCSVFile", "新建 CSV 表格", "创建一个空白 .csv 表格。", "tablecells", Action::createFile(Template::csv), yes},
    ChildRow{"createFile", "createJSONFile", "新建 JSON 文件", "创建一个基础 .json 文件。", "curlybraces", Action::createFile(Template::json), no},
    ChildRow{"createFile", "createXMLFile", "新建 XML 文件", "创建一个基础 .xml 文件。", "chevron.left.forwardslash.chevron.right", Action::createFile(Template::xml), yes},
    ChildRow{"createFile", "createYAMLFile", "新建 YAML 文件", "创建一个空白 .yaml 文件。", "list.bullet.rectangle", Action::createFile(Template::yaml), yes},
    ChildRow{"createFile", "createPNGImage", "新建 PNG 图片", "创建一个空白 .png 图片。", "photo", Action::createFile(Template::pngImage), yes},
    ChildRow{"createFile", "createJPEGImage", "新建 JPG 图片", "创建一个空白 .jpg 图片。", "photo", Action::createFile(Template::jpegImage), yes},
    ChildRow{"createFile", "createSwiftFile", "新建 Swift 文件", "创建一个空白 .swift 文件。", "swift", Action::createFile(Template::swift), no},
    ChildRow{"createFile", "createReadmeFile", "新建 README", "创建一个 README.md 文件。", "book", Action::createFile(Template::readme), yes},
    ChildRow{"createFile", "createHTMLFile", "新建 HTML 文件", "创建一个基础 .html 文件。", "globe", Action::createFile(Template::html), no},
    ChildRow{"createFile", "createCSSFile", "新建 CSS 文件", "创建一个空白 .css 文件。", "paintbrush", Action::createFile(Template::css), no},
    ChildRow{"createFile", "createJavaScriptFile", "新建 JavaScript 文件", "创建一个空白 .js 文件。", "curlybraces.square", Action::createFile(Template::javascript), no},
    ChildRow{"createFile", "createPythonFile", "新建 Python 文件", "创建一个基础 .py 文件。", "chevron.left.forwardslash.chevron.right", Action::createFile(Template::python), no},
    ChildRow{"createFile", "createShellFile", "新建 Shell 脚本", "创建一个基础 .sh 文件。", "terminal", Action::createFile(Template::shell), no},
    ChildRow{"createFile", "createGitignoreFile", "新建 gitignore", "创建一个常用 .gitignore 文件。", "point.3.connected.trianglepath.dotted", Action::createFile(Template::gitignore), no},
    ChildRow{"quickOpen", "quickOpenHome", "用户目录", "打开当前用户主目录。", "house", Action::openFolder(), yes},
    ChildRow{"quickOpen", "quickOpenDesktop", "桌面", "打开桌面文件夹。", "desktopcomputer", Action::openFolder(), yes},
    ChildRow{"quickOpen", "quickOpenDownloads", "下载", "打开下载文件夹。", "arrow.down.circle", Action::openFolder(), yes},
    ChildRow{"quickOpen", "quickOpenDocuments", "文稿", "打开文稿文件夹。", "doc.text", Action::openFolder(), yes},
    ChildRow{"quickOpen", "quickOpenApplications", "应用程序", "打开应用程序文件夹。", "app", Action::openFolder(), yes},
    ChildRow{"quickOpen", "quickOpenClipboardPath", "打开剪贴板路径", "打开剪贴板中的文件或文件夹路径。", "doc.on.clipboard", Action::openFolder(), yes},
    ChildRow{"quickOpen", "quickOpenTypedPath", "打开指定路径...", "输入一个文件或文件夹路径并打开。", "text.cursor", Action::openFolder(), yes},
    ChildRow{"copyFile", "copyFilesToDesktop", "复制到桌面", "把选中文件复制到桌面。", "desktopcomputer", Action::copyToFolder(), yes},
    ChildRow{"copyFile", "copyFilesToDownloads", "复制到下载", "把选中文件复制到下载文件夹。", "arrow.down.circle", Action::copyToFolder(), yes},
    ChildRow{"copyFile", "copyFilesToDocuments", "复制到文稿", "把选中文件复制到文稿文件夹。", "doc.text", Action::copyToFolder(), yes},
    ChildRow{"copyFile", "copyBesideOriginal", "在旁边创建副本", "在原目录生成带 copy 后缀的副本。", "doc.on.doc", Action::copyBesideOriginal(), yes},
    ChildRow{"copyPath", "copyFullPath", "复制完整路径", "复制选中文件的完整路径。", "doc.text.magnifyingglass", Action::copyPath(Format::fullPath), yes},
    ChildRow{"copyPath", "copyFileName", "复制文件名", "只复制文件名，不包含上级目录。", "text.cursor", Action::copyPath(Format::fileName), yes},
    ChildRow{"copyPath", "copyParentPath", "复制所在文件夹路径", "复制选中文件所在目录路径。", "folder", Action::copyPath(Format::parentPath), yes},
    ChildRow{"copyPath", "copyShellPath", "复制终端可用路径", "复制可直接粘贴到终端的转义路径。", "chevron.left.forwardslash.chevron.right", Action::copyPath(Format::shellPath), yes},
    ChildRow{"copyPath", "copyMarkdownLink", "复制 Markdown 链接", "复制指向本地文件的 Markdown 链接。", "link.circle", Action::copyPath(Format::markdownLink), yes},
    ChildRow{"copyPath", "copyFileNameList", "复制文件名列表", "按行复制选中文件名列表。", "list.bullet.rectangle", Action::copyPath(Format::fileNameList), yes},
    ChildRow{"openWith", "openInTerminal", "用终端打开", "用 Terminal 打开当前目录。", "terminal", Action::openInTerminal(), no},
    ChildRow{"openWith", "revealInFinder", "在 Finder 中显示", "定位并高亮当前选择。", "folder.badge.gearshape", Action::revealInFinder(), yes},
    ChildRow{"viewOptions", "finderViewPreset", "应用显示方案", "在右键菜单中显示你自定义的 Finder 视图与排序方案。", "rectangle.grid.2x2", Action::finderViewOption(), yes},
    ChildRow{"organizeFile", "moveFilesToDesktop", "移动到桌面", "把选中文件移动到桌面。", "desktopcomputer", Action::moveToFolder(), yes},
    ChildRow{"organizeFile", "moveFilesToDownloads", "移动到下载", "把选中文件移动到下载文件夹。", "arrow.down.circle", Action::moveToFolder(), yes},
    ChildRow{"organizeFile", "moveFilesToDocuments", "移动到文稿", "把选中文件移动到文稿文件夹。", "doc.text", Action::moveToFolder(), yes},
    ChildRow{"organizeFile", "moveSelectionToNewFolder", "把所选项目放入新文件夹", "创建一个新文件夹并把选中文件移入其中。", "folder.badge.plus", Action::moveSelectionToNewFolder(), yes},
    ChildRow{"batchRename", "renameAddPrefix", "在开头添加文字", "给选中文件名添加前缀。", "text.insert", Action::requiresSelection(), yes},
    ChildRow{"batchRename", "renameAddSuffix", "在结尾添加文字", "给选中文件名添加后缀。", "text.append", Action::requiresSelection(), yes},
    ChildRow{"batchRename", "renameFindReplace", "替换文件名中的文字", "批量替换文件名中的文字。", "text.magnifyingglass", Action::requiresSelection(), yes},
    ChildRow{"batchRename", "renameSequential", "按序号重新命名", "用统一名称和序号重命名。", "list.number", Action::requiresSelection(), yes},
    ChildRow{"batchRename", "renameLowercase", "文件名改为小写", "把文件名转换为小写。", "textformat.size.smaller", Action::requiresSelection(), no},
    ChildRow{"batchRename", "renameUppercase", "文件名改为大写", "把文件名转换为大写。", "textformat.size.larger", Action::requiresSelection(), no},
    ChildRow{"archiveTools", "compressToZIP", "压缩为 ZIP", "把选中的文件或文件夹压缩成 ZIP。", "archivebox", Action::requiresSelection(), yes},
    ChildRow{"archiveTools", "extractZIPHere", "解压到当前文件夹", "把选中的 ZIP 解压到所在文件夹。", "arrow.down.doc", Action::requiresSelection(), yes},
    ChildRow{"archiveTools", "extractZIPToFolder", "解压到同名文件夹", "为每个 ZIP 创建同名文件夹并解压进去。", "folder.badge.plus", Action::requiresSelection(), yes},
    ChildRow{"scheduledDeletion", "scheduleDelete1Hour", "1 小时后移到废纸篓", "到期后自动把选中文件移到废纸篓。", "clock", Action::requiresSelection(), yes},
    ChildRow{"scheduledDeletion", "scheduleDelete7Days", "7 天后移到废纸篓", "到期后自动把选中文件移到废纸篓。", "calendar", Action::requiresSelection(), yes},
    ChildRow{"scheduledDeletion", "scheduleDelete30Days", "30 天后移到废纸篓", "到期后自动把选中文件移到废纸篓。", "calendar", Action::requiresSelection(), yes},
    ChildRow{"scheduledDeletion", "scheduleDelete90Days", "90 天后移到废纸篓", "到期后自动把选中文件移到废纸篓。", "calendar", Action::requiresSelection(), yes},
    ChildRow{"imageTools", "convertImageToJPEG", "图片转为 JPEG", "把选中图片转换为 .jpg。", "photo", Action::requiresSelection(), yes},
    ChildRow{"imageTools", "convertImageToPNG", "图片转为 PNG", "把选中图片转换为 .png。", "photo", Action::requiresSelection(), yes},
    ChildRow{"imageTools", "convertImageToTIFF", "图片转为 TIFF", "把选中图片转换为 .tiff。", "photo", Action::requiresSelection(), no},
    ChildRow{"imageTools", "resizeImages", "调整图片大小...", "按最大边长等比例批量缩放原图。", "arrow.up.left.and.arrow.down.right", Action::requiresSelection(), yes},
    ChildRow{"imageTools", "compressJPEG", "压缩 JPEG 图片", "生成较小体积的 JPEG 副本。", "arrow.down.right.and.arrow.up.left", Action::requiresSelection(), yes},
    ChildRow{"imageTools", "stripImageMetadata", "移除图片元数据", "重新写出图片以去掉常见元数据。", "eye.slash", Action::requiresSelection(), no},
    ChildRow{"pdfTools", "mergePDFs", "合并 PDF", "把选中的 PDF 合并成一个文件。", "doc.on.doc", Action::requiresSelection(), yes},
    ChildRow{"pdfTools", "splitPDFs", "拆分 PDF", "按页拆分选中的 PDF。", "square.split.2x1", Action::requiresSelection(), yes},
    ChildRow{"pdfTools", "imagesToPDF", "图片转 PDF", "把选中的图片合成为 PDF。", "photo.on.rectangle", Action::requiresSelection(), yes},
    ChildRow{"pdfTools", "compressPDF", "压缩 PDF", "重写 PDF 生成压缩副本。", "arrow.down.right.and.arrow.up.left", Action::requiresSelection(), yes},
    ChildRow{"developerTools", "copySHA256", "复制 SHA-256", "计算并复制 SHA-256 校验值。", "number", Action::requiresSelection(), no},
    ChildRow{"developerTools", "copyMD5", "复制 MD5", "计算并复制 MD5 校验值。", "number.circle", Action::requiresSelection(), no},
    ChildRow{"developerTools", "copyFileSize", "复制文件大小", "复制所选文件大小。", "externaldrive", Action::requiresSelection(), no},
    ChildRow{"developerTools", "toggleHiddenFiles", "显示/隐藏隐藏文件", "切换 Finder 是否显示以点号开头和系统隐藏的文件。", "eye.slash", Action::alwaysEnabled(), no},
};

// clang-format on

inline constexpr std::size_t featureCount = featureRows.size();
inline constexpr std::size_t childCount = childRows.size();

/// Position of a feature in catalog order; empty for an unknown ID.
constexpr std::optional<std::size_t> featureIndex(std::string_view id) {
    for (std::size_t i = 0; i < featureCount; ++i) {
        if (featureRows[i].id == id) {
            return i;
        }
    }
    return std::nullopt;
}

/// Position of a child in catalog order (a linear search); empty for an ID no feature holds.
constexpr std::optional<std::size_t> childIndex(std::string_view actionID) {
    for (std::size_t i = 0; i < childCount; ++i) {
        if (childRows[i].actionID == actionID) {
            return i;
        }
    }
    return std::nullopt;
}

/// The children of the feature at `index`, in menu order (empty for a feature without children).
constexpr std::span<const ChildRow> childRowsOf(std::size_t index) {
    const std::string_view id = featureRows[index].id;
    std::size_t first = 0;
    while (first < childCount && childRows[first].featureID != id) {
        ++first;
    }
    std::size_t last = first;
    while (last < childCount && childRows[last].featureID == id) {
        ++last;
    }
    return std::span<const ChildRow>(childRows).subspan(first, last - first);
}

/// Every case of a feature enumeration whose cases follow the catalog order.
template <typename Feature> constexpr std::array<Feature, featureCount> allFeatureCases() {
    std::array<Feature, featureCount> cases{};
    for (std::size_t i = 0; i < featureCount; ++i) {
        cases[i] = static_cast<Feature>(i);
    }
    return cases;
}

/// One list per feature in catalog order, each child made from its row by `make`.
template <typename Child, typename Make> std::vector<std::vector<Child>> buildChildLists(Make make) {
    std::vector<std::vector<Child>> lists(featureCount);
    for (std::size_t i = 0; i < featureCount; ++i) {
        for (const ChildRow& row : childRowsOf(i)) {
            lists[i].push_back(make(row));
        }
    }
    return lists;
}

} // namespace quilla::catalog
