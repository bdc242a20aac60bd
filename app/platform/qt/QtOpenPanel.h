#pragma once

#include "app/core/lists/ListPrompts.h"

#include <filesystem>
#include <optional>

class QFileDialog;
class QWidget;

namespace quilla {

/// The open panel of the list choosers and the executor's folder prompt: Qt's own file dialog
/// (so the confirm button's text is honoured on every desktop), modal over its parent.
class QtOpenPanel final {
public:
    /// Gives `dialog` the title, confirm text, file mode, filters and start folder of `options`.
    static void configure(QFileDialog& dialog, const OpenPanelOptions& options);

    /// Runs the panel; the chosen path, or nothing when the user cancels.
    static std::optional<std::filesystem::path> run(QWidget* parent, const OpenPanelOptions& options);
};

} // namespace quilla
