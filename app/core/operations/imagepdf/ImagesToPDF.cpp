// Images to PDF belongs to the PDF tools but needs the image library: it lives with the image tools
// so that the PDF module loads qpdf alone.
#include "app/core/operations/imagepdf/PDFTools.h"

#include "app/core/executor/ExecutorHelpers.h"
#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/operations/imagepdf/AtomicOutputFile.h"
#include "app/core/operations/imagepdf/PDFImagePage.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <memory>

namespace quilla {

namespace fs = std::filesystem;

fs::path PDFTools::imagesToPDF(const ExecutorContext& context, const std::vector<fs::path>& selected) {
    if (selected.empty()) {
        throw FinderActionExecutionError::noSelection();
    }
    QPDF pdf;
    pdf.emptyPDF();
    const auto failure = std::make_shared<std::exception_ptr>();
    bool anyPage = false;
    for (const auto& item : selected) {
        anyPage = PDFImagePage::append(pdf, executor::standardized(fs::absolute(item)), failure) || anyPage;
    }
    if (!anyPage) {
        throw FinderActionExecutionError::noItemsOfKind(FinderActionExecutionError::ItemKind::image);
    }
    const fs::path folder = executor::standardized(fs::absolute(selected.front())).parent_path();
    AtomicOutputFile out(folder, ".pdf");
    try {
        PDFTools::writeDocument(pdf, out.path(), "imagesToPDF",
                                [](QPDFWriter& writer) { writer.setMinimumPDFVersion("1.4"); });
    } catch (const FinderActionExecutionError&) {
        if (*failure) {
            std::rethrow_exception(*failure); // the image's own error, naming the file
        }
        throw;
    }
    const auto output = out.commitAsFreeName(folder, "Images", "pdf");
    executor::revealIfWanted(context, context.preferences().revealActionResults, {output});
    return output;
}

} // namespace quilla
