#pragma once

#include "app/core/executor/ActionRequest.h"
#include "app/core/platform/ActionConsentPrompt.h"

#include <string>
#include <string_view>

namespace quilla {

/// Which actions arriving by URL need the user's consent, and how the question reads. Only
/// actions that merely copy text, open a place or do nothing run unasked; everything else
/// (changing, moving, renaming, trashing or scheduling files, extracting archives, running the
/// user's scripts and shortcuts, launching applications, view changes) asks first.
class URLActionConsent final {
public:
    /// How many paths the question lists before summing up the rest.
    static constexpr std::size_t shownItemCount = 5;

    /// Whether `actionID` may run from a URL without asking.
    static bool runsWithoutConsent(std::string_view actionID);

    /// The action's title as menus show it: the catalog title, the custom action's name, or the
    /// feature's title for composite IDs; the ID itself when nothing better is known.
    static std::string actionTitle(std::string_view actionID);

    /// The question for `request`: the action's title, its items (or, without items, the folder
    /// it works in) and its destination.
    static ActionConsentQuestion question(const ActionRequest& request);
};

} // namespace quilla
