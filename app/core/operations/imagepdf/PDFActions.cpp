#include "app/core/operations/imagepdf/OperationModules.h"

#include "app/core/operations/imagepdf/PDFTools.h"

// Handlers keep their own copy of the context (a few references and a reader), so the table never
// depends on how long the caller keeps its context object.
namespace quilla::imagepdf {

void registerPDFOperations(ActionTable& table, const ExecutorContext& context) {
    table.add("compressPDF", [context](const ActionRequest& request) {
        return PDFTools::compressPDFs(context, request.selectedPaths);
    });
    table.add("mergePDFs", [context](const ActionRequest& request) {
        return ActionResult{PDFTools::mergePDFs(context, request.selectedPaths)};
    });
    table.add("splitPDFs", [context](const ActionRequest& request) {
        return PDFTools::splitPDFs(context, request.selectedPaths);
    });
}

} // namespace quilla::imagepdf
