#include "app/core/operations/imagepdf/OperationModules.h"

#include "app/core/operations/copymove/CopyMoveOperations.h"
#include "app/core/operations/imagepdf/ImageTools.h"
#include "app/core/operations/imagepdf/PDFTools.h"

// Handlers keep their own copy of the context (a few references and a reader), so the table never
// depends on how long the caller keeps its context object.
namespace quilla::imagepdf {

void registerImageOperations(ActionTable& table, const ExecutorContext& context) {
    const auto conversion = [&table, &context](const char* actionID, ImageConversion parameters) {
        table.add(actionID, [context, parameters](const ActionRequest& request) {
            return ImageTools::convertImages(context, request.selectedPaths, parameters);
        });
    };
    conversion("convertImageToJPEG", {"jpeg", "jpg", ImageTools::defaultJPEGQuality});
    conversion("convertImageToPNG", {"png", "png", ImageTools::defaultJPEGQuality});
    conversion("convertImageToTIFF", {"tiff", "tiff", ImageTools::defaultJPEGQuality});
    conversion("compressJPEG", {"jpeg", "jpg", ImageTools::compressedJPEGQuality});

    table.add("resizeImages", [context](const ActionRequest& request) {
        return ImageTools::resizeImages(context, request.selectedPaths);
    });
    table.add("stripImageMetadata", [context](const ActionRequest& request) {
        return copymove::copyFilesBesideOriginal(
            context, request.selectedPaths,
            [&context](const auto& item) { return ImageTools::stripImageMetadata(context, item); });
    });
    table.add("imagesToPDF", [context](const ActionRequest& request) {
        return ActionResult{PDFTools::imagesToPDF(context, request.selectedPaths)};
    });
}

} // namespace quilla::imagepdf
