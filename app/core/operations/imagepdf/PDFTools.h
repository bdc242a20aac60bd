#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class QPDF;
class QPDFWriter;

namespace quilla {

/// The PDF tools, all with qpdf. New files are written under a temporary name and then given
/// the first free name, so a failure never leaves a partial PDF. Only selected items whose
/// extension is "pdf" (any case) are PDFs: an empty selection is noSelection, one without PDFs
/// noItemsOfKind(pdf). Only regular files are opened (a pipe or a device is never read), and a
/// page tree too deep to follow safely counts as a PDF that cannot be opened. Outputs are revealed when
/// the preference revealActionResults is on.
class PDFTools final {
public:
    /// Rewrites each PDF as "NAME compressed.pdf" with object streams and every stream
    /// recompressed at the highest level; when that is not smaller, the output is a copy of the
    /// original, so it is never larger. unsupportedAction("compressPDF") for a PDF that cannot be
    /// opened (damaged beyond repair, or locked by a password).
    static std::vector<std::filesystem::path> compressPDFs(const ExecutorContext& context,
                                                           const std::vector<std::filesystem::path>& selected);

    /// Every page of the PDFs that open, in selection and page order, in "Merged.pdf" in the
    /// first PDF's folder. PDFs that cannot be opened are skipped; when none gives a page,
    /// unsupportedAction("mergePDFs") and nothing is written.
    static std::filesystem::path mergePDFs(const ExecutorContext& context,
                                           const std::vector<std::filesystem::path>& selected);

    /// Each PDF that opens becomes a folder "NAME Pages" beside it holding "Page 001.pdf",
    /// "Page 002.pdf", …; gives all page files. PDFs that cannot be opened are skipped; when none
    /// opens, or a page cannot be written, unsupportedAction("splitPDFs").
    static std::vector<std::filesystem::path> splitPDFs(const ExecutorContext& context,
                                                        const std::vector<std::filesystem::path>& selected);

    /// One page per selected image, in order, in "Images.pdf" in the first item's folder; items
    /// that are not images (not in a format the image tools read) are skipped. noSelection when
    /// empty; noItemsOfKind(image) when no item is an image; commandFailed naming the file for a damaged or
    /// oversized image.
    /// (ImagesToPDF.cpp: with the image tools, not in the PDF module.)
    static std::filesystem::path imagesToPDF(const ExecutorContext& context,
                                             const std::vector<std::filesystem::path>& selected);

    /// Writes `pdf` to `path` (a temporary file of the action) and checks every write, so a full
    /// disk fails instead of leaving a truncated PDF; `configure` sets the writer's options. A
    /// document qpdf cannot write is unsupportedAction(operation).
    static void writeDocument(QPDF& pdf, const std::filesystem::path& path, const char* operation,
                              const std::function<void(QPDFWriter&)>& configure = {});

    /// "Page " + the page number with at least three digits + ".pdf".
    static std::string pageFileName(std::size_t number);
};

} // namespace quilla
