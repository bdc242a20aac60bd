#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// The six ways of putting item paths on the clipboard, one per action.
enum class QuillaPathCopyFormat { fullPath, fileName, parentPath, shellPath, markdownLink, fileNameList };

/// Formats and copies paths.
class PathCopy final {
public:
    /// Every format with its action ID, in catalog order.
    static const std::array<std::pair<QuillaPathCopyFormat, std::string_view>, 6>& formats();

    /// The text one item gives in `format`: its path (no trailing slash), its name, its folder's
    /// path, the path in single quotes for a POSIX shell, or a Markdown link to its file URL.
    static std::string text(QuillaPathCopyFormat format, const std::filesystem::path& item);

    /// Puts one line per item (the selection, else the targeted item) on the clipboard, joined
    /// by line feeds without a final one. noSelection when there is no item;
    /// pasteboardWriteFailed when the clipboard refuses.
    static void copyPaths(const ExecutorContext& context, const std::vector<std::filesystem::path>& selected,
                          const std::optional<std::filesystem::path>& targeted, QuillaPathCopyFormat format);
};

} // namespace quilla
