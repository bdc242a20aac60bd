#pragma once

#include "app/core/lists/ListPrompts.h"

namespace quilla {

/// Choosers that are always cancelled: where no chooser can be shown (no display, the
/// screenshots, tests), an "add" asks and gets no answer, and nothing changes.
class CancellingListPrompts final : public ListPrompts {
public:
    std::optional<std::filesystem::path> chooseFolder(const OpenPanelOptions&) override { return {}; }
    std::optional<std::filesystem::path> chooseApplication(const OpenPanelOptions&) override { return {}; }
    std::optional<std::filesystem::path> chooseScriptFile(const OpenPanelOptions&) override { return {}; }
    std::optional<ShortcutPickerAnswer> pickShortcut(const ShortcutPickerOptions&) override { return {}; }
};

} // namespace quilla
