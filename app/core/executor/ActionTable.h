#pragma once

#include "app/core/executor/ActionRequest.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// Which operation each action ID reaches. Fixed IDs are compared exactly; prefixed IDs
/// ("finderViewPreset__…", "runShortcut__…", "runScript__…") are tested first, in the order added,
/// and their handler receives the rest of the ID.
class ActionTable final {
public:
    using Handler = std::function<ActionResult(const ActionRequest&)>;
    using PrefixHandler = std::function<ActionResult(const ActionRequest&, const std::string& rest)>;

    void add(std::string actionID, Handler handler);
    void addPrefix(std::string prefix, PrefixHandler handler);

    /// Runs the action, or throws unsupportedAction before anything is touched.
    ActionResult perform(const ActionRequest& request) const;

    bool handles(std::string_view actionID) const;
    std::vector<std::string> actionIDs() const;

private:
    std::map<std::string, Handler, std::less<>> handlers_;
    std::vector<std::pair<std::string, PrefixHandler>> prefixes_;
};

} // namespace quilla
