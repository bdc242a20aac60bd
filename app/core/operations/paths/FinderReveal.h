#pragma once

#include "app/core/executor/ExecutorContext.h"

#include <filesystem>
#include <vector>

namespace quilla {

/// Showing items in the file manager.
class FinderReveal final {
public:
    explicit FinderReveal(const ExecutorContext& context) : context_(context) {}

    /// Selects exactly these items in a file-manager window; noSelection when there are none.
    void revealInFinder(const std::vector<std::filesystem::path>& items) const;
    /// An existing folder opens in a window of its own; anything else is selected in one.
    void revealURLInFinder(const std::filesystem::path& item) const;
    /// Every existing folder opens in its own window; all other items are selected together.
    void revealURLsInFinder(const std::vector<std::filesystem::path>& items) const;

private:
    ExecutorContext context_;
};

} // namespace quilla
