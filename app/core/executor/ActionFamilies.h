#pragma once

#include "app/core/executor/ActionTable.h"
#include "app/core/executor/ExecutorContext.h"

namespace quilla {

// Each family of operations adds the action IDs it serves to the executor's table. An ID that no
// family has added fails with unsupportedAction: nothing pretends to succeed.

void registerFileCreationActions(ActionTable& table, const ExecutorContext& context);   ///< new folder, templates
void registerPathAndOpeningActions(ActionTable& table, const ExecutorContext& context); ///< paths, opening, quick open
void registerCopyMoveActions(ActionTable& table, const ExecutorContext& context);       ///< copy, move, organise
void registerRenameArchiveActions(ActionTable& table, const ExecutorContext& context);  ///< batch rename, ZIP
void registerImagePDFActions(ActionTable& table, const ExecutorContext& context);       ///< image, PDF tools (modules)
void registerFinderViewActions(ActionTable& table, const ExecutorContext& context);     ///< view modes, presets, hidden files
void registerDeveloperActions(ActionTable& table, const ExecutorContext& context);      ///< shortcuts, scripts, checksums, sizes, schedules

} // namespace quilla
