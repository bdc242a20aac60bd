#pragma once

#include "finder-extension/core/FinderSyncHost.h"

#include <optional>
#include <string>
#include <vector>

namespace quilla {

/// A host whose selection and target are set by its owner before each request: what a file
/// manager that passes them as arguments (quilla-finder, the Nautilus module) hands the extension.
class FinderSelectionHost final : public FinderSyncHost {
public:
    FinderSelectionHost() = default;
    FinderSelectionHost(std::vector<std::string> selection, std::optional<std::string> target)
        : selection_(std::move(selection)), target_(std::move(target)) {}

    void setSelection(std::vector<std::string> selection, std::optional<std::string> target) {
        selection_ = std::move(selection);
        target_ = std::move(target);
    }

    std::vector<std::string> selectedItemPaths() const override { return selection_; }
    std::optional<std::string> targetedPath() const override { return target_; }
    void setDirectoryPaths(const std::vector<std::string>& paths) override { directories_ = paths; }

    /// The folders last asked for.
    const std::vector<std::string>& directoryPaths() const { return directories_; }

private:
    std::vector<std::string> selection_;
    std::optional<std::string> target_;
    std::vector<std::string> directories_;
};

} // namespace quilla
