#include "app/core/operations/finderview/FinderViewControl.h"

#include "app/core/executor/FinderActionExecutionError.h"
#include "app/core/lists/FinderViewPresetPersistence.h"
#include "app/core/platform/FinderScripting.h"

namespace quilla {

void FinderViewControl::setViewMode(const ExecutorContext& context, FinderViewMode mode) {
    context.finderScripting.setViewMode(mode);
}

void FinderViewControl::setSortColumn(const ExecutorContext& context, FinderSortMode mode) {
    context.finderScripting.setSortColumn(mode);
}

std::optional<std::string> FinderViewControl::presetID(const ActionRequest& request) {
    if (request.presetID) {
        return request.presetID;
    }
    if (request.destinationPath && request.destinationPath->has_filename()) {
        return request.destinationPath->filename().string();
    }
    return std::nullopt;
}

void FinderViewControl::applyPreset(const ExecutorContext& context, const std::optional<std::string>& presetID) {
    const auto preset = presetID ? FinderViewPresetPersistence::preset(*presetID) : std::nullopt;
    if (!preset) {
        throw FinderActionExecutionError::unsupportedAction("finderViewPreset");
    }
    applyView(context, preset->viewMode, preset->sortMode);
}

void FinderViewControl::applyView(const ExecutorContext& context, FinderViewMode viewMode, FinderSortMode sortMode) {
    auto& scripting = context.finderScripting;
    scripting.applyView(viewMode, sortMode);
    const std::string sortName(rawValue(sortMode));
    if (sortMode != FinderSortMode::none) {
        // The second way of sorting covers views that do not sort themselves; it never fails the action.
        try {
            scripting.sortUsingViewOptions(sortMode);
            context.appendDiagnosticLog("finder sort view options succeeded mode=" + sortName);
        } catch (const std::exception& error) {
            context.appendDiagnosticLog("finder sort view options failed mode=" + sortName +
                                        " error=" + errorDescription(error));
        }
    }
    context.appendDiagnosticLog("finder view preset applied view=" + std::string(rawValue(viewMode)) +
                                " sort=" + sortName + " state=" + scripting.viewSortState());
}

bool FinderViewControl::isShowingHiddenFiles(const ExecutorContext& context) {
    return context.finderScripting.isShowingHiddenFiles();
}

void FinderViewControl::toggleHiddenFiles(const ExecutorContext& context) {
    context.finderScripting.setShowingHiddenFiles(!isShowingHiddenFiles(context));
}

} // namespace quilla
