#include "app/core/operations/imagepdf/PDFTools.h"

#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/copymove/FileTransfer.h"
#include "app/core/operations/imagepdf/AtomicOutputFile.h"
#include "app/core/operations/imagepdf/PDFFileSource.h"
#include "app/core/operations/imagepdf/TextCase.h"

#include <qpdf/ClosedFileInputSource.hh>
#include <qpdf/Pipeline.hh>
#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <set>
#include <string_view>
#include <unistd.h>
#include <utility>

namespace quilla {
namespace {

namespace fs = std::filesystem;

// Past this many sources, merged PDFs are read through files that are closed between reads, so
// a large selection never runs out of file descriptors.
constexpr std::size_t kFilesKeptOpen = 200;

using Unsupported = FinderActionExecutionError;

std::vector<fs::path> selectedPDFs(const std::vector<fs::path>& selected) {
    if (selected.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    std::vector<fs::path> pdfs;
    for (const auto& item : selected) {
        if (asciiLowercase(executor::splitLastExtension(item.filename().string()).second) == "pdf") {
            pdfs.push_back(executor::standardized(fs::absolute(item)));
        }
    }
    if (pdfs.empty()) {
        throw FinderActionExecutionError::noItemsOfKind(FinderActionExecutionError::ItemKind::pdf);
    }
    return pdfs;
}

std::string baseName(const fs::path& item) {
    return executor::splitLastExtension(item.filename().string()).first;
}

// An opened source document.
struct OpenedPDF {
    std::unique_ptr<QPDF> document;
    std::shared_ptr<ClosedFileInputSource> closable; ///< set when its file is closed between reads
};

// qpdf follows a page tree by recursion, so a hostile file nested thousands of levels deep would
// overflow the stack. Real documents are a handful of levels deep.
constexpr int kMaxPageTreeDepth = 256;

// Walks the page tree without recursion; false when it is deeper than qpdf can safely follow.
// Loops are left for qpdf to detect.
bool pageTreeIsShallow(QPDF& pdf) {
    std::vector<std::pair<QPDFObjectHandle, int>> pending{{pdf.getRoot().getKey("/Pages"), 1}};
    std::set<QPDFObjGen> seen;
    while (!pending.empty()) {
        auto [node, depth] = pending.back();
        pending.pop_back();
        if (depth > kMaxPageTreeDepth) {
            return false;
        }
        if (!node.isDictionary() || (node.isIndirect() && !seen.insert(node.getObjGen()).second)) {
            continue;
        }
        auto kids = node.getKey("/Kids");
        for (int i = 0; kids.isArray() && i < kids.getArrayNItems(); ++i) {
            pending.emplace_back(kids.getArrayItem(i), depth + 1);
        }
    }
    return true;
}

// Nothing when the file is not a regular file, not a PDF qpdf can read or repair, needs a
// password, or has a page tree too deep to follow.
std::optional<OpenedPDF> openPDF(const fs::path& path, bool closeBetweenReads = false) {
    if (!fileops::isRegularFile(path)) {
        return std::nullopt; // a pipe or a device would block the reader forever
    }
    OpenedPDF opened{std::make_unique<QPDF>(), nullptr};
    opened.document->setSuppressWarnings(true);
    try {
        if (closeBetweenReads) {
            opened.closable = std::make_shared<ClosedFileInputSource>(path.c_str());
            opened.closable->stayOpen(true);
            opened.document->processInputSource(opened.closable);
        } else {
            opened.document->processInputSource(std::make_shared<PDFFileSource>(path));
        }
        if (!pageTreeIsShallow(*opened.document)) {
            return std::nullopt;
        }
        return opened;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Sets qpdf's process-wide Flate level for one write and restores the default afterwards.
class FlateLevel final {
public:
    explicit FlateLevel(int level) { Pl_Flate::setCompressionLevel(level); }
    ~FlateLevel() { Pl_Flate::setCompressionLevel(-1); }
    FlateLevel(const FlateLevel&) = delete;
    FlateLevel& operator=(const FlateLevel&) = delete;
};

[[noreturn]] void failWritingPDF(const fs::path& path, int error) {
    // Named by the folder written to: the temporary file means nothing to the user.
    throw fs::filesystem_error("cannot write PDF", path.parent_path(),
                               std::error_code(error, std::generic_category()));
}

// Writes qpdf's output to `path` in large blocks. (qpdf's own file writer overlooks a failed
// final flush, so a full disk left a cut-off PDF that counted as written.) A failed write is only
// recorded when it happens and raised by close().
class PDFFileOutput final : public Pipeline {
public:
    explicit PDFFileOutput(const fs::path& path)
        : Pipeline("PDF output", nullptr), path_(path),
          file_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)) {
        if (file_.get() < 0) {
            failWritingPDF(path_, errno);
        }
        buffer_.reserve(kBlock);
    }

    void write(unsigned char const* data, size_t length) override {
        if (error_ == 0) {
            buffer_.append(reinterpret_cast<const char*>(data), length);
        }
        if (buffer_.size() >= kBlock) {
            flush();
        }
    }

    // qpdf finishes the pipeline after every stream it writes; the data stays buffered until a
    // block is full or the file is closed (a thousand-page merge made a thousand small writes).
    void finish() override {}

    /// Writes out the rest and closes the file; raises the system's error of any failed write.
    void close() {
        flush();
        if (file_.release() != 0 && error_ == 0) {
            error_ = errno;
        }
        if (error_ != 0) {
            failWritingPDF(path_, error_);
        }
    }

private:
    void flush() {
        std::string_view rest = buffer_;
        while (!rest.empty() && error_ == 0) {
            const auto written = ::write(file_.get(), rest.data(), rest.size());
            if (written < 0 && errno != EINTR) {
                error_ = errno;
            }
            rest.remove_prefix(written < 0 ? 0 : static_cast<std::size_t>(written));
        }
        buffer_.clear();
    }

    static constexpr std::size_t kBlock = std::size_t{1} << 20;

    fs::path path_;
    fileops::FileDescriptor file_;
    std::string buffer_;
    int error_ = 0;
};

} // namespace

void PDFTools::writeDocument(QPDF& pdf, const fs::path& path, const char* operation,
                             const std::function<void(QPDFWriter&)>& configure) {
    PDFFileOutput output(path);
    try {
        QPDFWriter writer(pdf);
        writer.setOutputPipeline(&output);
        if (configure) {
            configure(writer);
        }
        writer.write();
        output.close();
    } catch (const FinderActionExecutionError&) {
        throw;
    } catch (const fs::filesystem_error&) {
        throw; // a full disk is no unsupported document
    } catch (const std::exception&) {
        throw FinderActionExecutionError::unsupportedAction(operation);
    }
}

namespace {

fs::path compressOne(const fs::path& source) {
    auto opened = openPDF(source);
    if (!opened) {
        throw Unsupported::unsupportedAction("compressPDF");
    }
    const fs::path folder = source.parent_path();
    AtomicOutputFile out(folder, ".pdf");
    {
        const FlateLevel best(9);
        PDFTools::writeDocument(*opened->document, out.path(), "compressPDF", [](QPDFWriter& writer) {
            writer.setObjectStreamMode(qpdf_o_generate);
            writer.setCompressStreams(true);
            writer.setDecodeLevel(qpdf_dl_generalized);
            writer.setRecompressFlate(true);
        });
    }
    if (fs::file_size(out.path()) >= fs::file_size(source)) {
        fs::copy_file(source, out.path(), fs::copy_options::overwrite_existing);
    }
    return out.commitAsFreeName(folder, baseName(source) + " compressed", "pdf");
}

// Appends every page of `source`; on a failure half-way, the pages it added are taken out again.
bool appendPages(QPDFPageDocumentHelper& target, QPDF& source) {
    const std::size_t before = target.getAllPages().size();
    try {
        for (auto& page : QPDFPageDocumentHelper(source).getAllPages()) {
            target.addPage(page, false);
        }
        return true;
    } catch (const std::exception&) {
        auto pages = target.getAllPages();
        for (std::size_t i = before; i < pages.size(); ++i) {
            target.removePage(pages[i]);
        }
        return false;
    }
}

// Whether pages share resources (inherited from the page tree, or one dictionary or XObject set
// used by several pages): then each page alone would carry every font and image of the whole
// document unless the ones it does not use are removed. Finding those means parsing every page's
// content, so it is done only when sharing makes it worth it.
bool sharesResources(std::vector<QPDFPageObjectHelper>& pages) {
    std::set<QPDFObjGen> seen;
    const auto sharedObject = [&seen](QPDFObjectHandle object) {
        return object.isIndirect() && !seen.insert(object.getObjGen()).second;
    };
    for (auto& page : pages) {
        auto resources = page.getObjectHandle().getKey("/Resources");
        if (!resources.isDictionary()) {
            return true; // inherited
        }
        if (sharedObject(resources) || sharedObject(resources.getKey("/XObject"))) {
            return true;
        }
    }
    return false;
}

// Merged and split pages keep their streams' data as it is: decoding and compressing every stream
// again (qpdf's default) would cost most of the time and change nothing the reader sees.
void keepStreamData(QPDFWriter& writer) {
    writer.setDecodeLevel(qpdf_dl_none);
}

void splitOne(QPDF& document, const fs::path& folder, std::vector<fs::path>& pageFiles) {
    QPDFPageDocumentHelper pages(document);
    auto all = pages.getAllPages();
    if (all.size() > 1 && sharesResources(all)) {
        pages.removeUnreferencedResources();
        all = pages.getAllPages();
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        QPDF single;
        single.emptyPDF();
        const fs::path file = folder / PDFTools::pageFileName(i + 1);
        try {
            QPDFPageDocumentHelper(single).addPage(all[i], false);
            PDFTools::writeDocument(single, file, "splitPDFs", keepStreamData);
        } catch (...) {
            std::error_code ignored;
            fs::remove(file, ignored);
            throw;
        }
        pageFiles.push_back(file);
    }
}

} // namespace

std::string PDFTools::pageFileName(std::size_t number) {
    char name[48];
    std::snprintf(name, sizeof name, "Page %03zu.pdf", number);
    return name;
}

std::vector<fs::path> PDFTools::compressPDFs(const ExecutorContext& context, const std::vector<fs::path>& selected) {
    std::vector<fs::path> outputs;
    for (const auto& source : selectedPDFs(selected)) {
        outputs.push_back(compressOne(source));
    }
    executor::revealIfWanted(context, context.preferences().revealActionResults, outputs);
    return outputs;
}

fs::path PDFTools::mergePDFs(const ExecutorContext& context, const std::vector<fs::path>& selected) {
    const auto pdfs = selectedPDFs(selected);
    const bool closeBetweenReads = pdfs.size() > kFilesKeptOpen;
    QPDF merged;
    merged.emptyPDF();
    QPDFPageDocumentHelper target(merged);
    std::vector<OpenedPDF> sources; // page data is copied from them while writing
    for (const auto& pdf : pdfs) {
        auto opened = openPDF(pdf, closeBetweenReads);
        if (!opened || !appendPages(target, *opened->document)) {
            continue;
        }
        if (opened->closable) {
            opened->closable->stayOpen(false);
        }
        sources.push_back(std::move(*opened));
    }
    if (target.getAllPages().empty()) {
        throw Unsupported::unsupportedAction("mergePDFs");
    }
    const fs::path folder = pdfs.front().parent_path();
    AtomicOutputFile out(folder, ".pdf");
    PDFTools::writeDocument(merged, out.path(), "mergePDFs", keepStreamData);
    const auto output = out.commitAsFreeName(folder, "Merged", "pdf");
    executor::revealIfWanted(context, context.preferences().revealActionResults, {output});
    return output;
}

std::vector<fs::path> PDFTools::splitPDFs(const ExecutorContext& context, const std::vector<fs::path>& selected) {
    std::vector<fs::path> pageFiles;
    bool anyOpened = false;
    for (const auto& pdf : selectedPDFs(selected)) {
        auto opened = openPDF(pdf);
        if (!opened) {
            continue;
        }
        anyOpened = true;
        const fs::path folder = executor::createFreeFolder(pdf.parent_path(), baseName(pdf) + " Pages");
        try {
            splitOne(*opened->document, folder, pageFiles);
        } catch (const FinderActionExecutionError&) {
            throw;
        } catch (const fs::filesystem_error&) {
            throw;
        } catch (const std::exception&) {
            throw Unsupported::unsupportedAction("splitPDFs"); // a page tree qpdf cannot follow
        }
    }
    if (!anyOpened) {
        throw Unsupported::unsupportedAction("splitPDFs");
    }
    executor::revealIfWanted(context, context.preferences().revealActionResults, pageFiles);
    return pageFiles;
}

} // namespace quilla
