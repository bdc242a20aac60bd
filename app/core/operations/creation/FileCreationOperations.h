#pragma once

#include "app/core/executor/ExecutorContext.h"
#include "app/core/operations/creation/QuillaFileTemplate.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace quilla::creation {

/// Makes "Untitled Folder" (or "Untitled Folder 2", …) in the target folder of the selection and
/// gives its path; reveals it when revealCreatedItems is on.
std::filesystem::path createFolder(const ExecutorContext& context, const std::vector<std::filesystem::path>& selected,
                                   const std::optional<std::filesystem::path>& targeted);

/// Makes a new file from `fileTemplate` under the next free name in the target folder and gives
/// its path; reveals its folder when revealCreatedItems is on.
std::filesystem::path createFile(const ExecutorContext& context, QuillaFileTemplate fileTemplate,
                                 const std::vector<std::filesystem::path>& selected,
                                 const std::optional<std::filesystem::path>& targeted);

} // namespace quilla::creation
