#pragma once

#include "app/core/executor/ActionRequest.h"
#include "app/core/executor/ActionTable.h"
#include "app/core/executor/ExecutorContext.h"

#include <array>
#include <exception>
#include <span>
#include <string_view>

namespace quilla::imagepdf {

// The image tools need libvips and the PDF tools qpdf; their dependencies are most of the shared
// libraries a process of Quilla would otherwise load at start. Each family lives in a module of its
// own that the executor loads on the first of its actions: every other action, and `quilla
// perform` for them, starts without it, and the PDF tools start without the image library.

/// A module: its file (PrivateComponents finds it) and the action IDs it serves, known without
/// loading it so that the executor's table answers for them before the first one runs.
struct OperationModule {
    std::string_view fileName;
    std::span<const std::string_view> actionIDs;
};

inline constexpr std::array<std::string_view, 7> kImageActionIDs = {
    "convertImageToJPEG", "convertImageToPNG",  "convertImageToTIFF", "compressJPEG",
    "resizeImages",       "stripImageMetadata", "imagesToPDF",
};
inline constexpr std::array<std::string_view, 3> kPDFActionIDs = {"compressPDF", "mergePDFs", "splitPDFs"};

inline constexpr OperationModule kImageModule{"libquilla-image.so", kImageActionIDs};
inline constexpr OperationModule kPDFModule{"libquilla-pdf.so", kPDFActionIDs};

/// The function each module exports under kEntryPoint. It runs the action and fills `result`, or
/// leaves the failure in `failure`, which the caller rethrows: nothing is thrown across the
/// module's edge.
using PerformFunction = void (*)(const ActionRequest& request, const ExecutorContext& context,
                                 ActionResult& result, std::exception_ptr& failure);
inline constexpr const char* kEntryPoint = "quilla_module_perform";

/// The tools themselves, as each module adds them (and tests that link them directly).
void registerImageOperations(ActionTable& table, const ExecutorContext& context);
void registerPDFOperations(ActionTable& table, const ExecutorContext& context);

} // namespace quilla::imagepdf
