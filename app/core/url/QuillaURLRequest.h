#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quilla {

/// What a URL of the application's own scheme asks for. Produced from outside input (any web
/// page or program can open such a URL), so parsing never throws and rejects what no honest
/// sender produces.
struct QuillaURLRequest {
    enum class Host {
        featureRequest, ///< "feature-request": the feature-request form
        finderAction,   ///< "finder-action": an action on files
        other,          ///< any other host: ignored
    };

    Host host = Host::other;
    std::vector<std::string> paths;         ///< every non-empty "path" value, in order
    std::optional<std::string> target;      ///< the first "target" value
    std::string actionID = "completed";     ///< the first "actionID" value, else "completed"
    std::optional<std::string> destination; ///< the first "destination" or "destinationPath" value
    std::optional<std::string> presetID;    ///< the first "presetID" value
    std::optional<std::string> actionTitle; ///< the first "action" value, only shown

    /// Parses `url`. Nothing when the scheme is not exactly "quilla", when a percent escape is
    /// broken, or when a decoded value holds a NUL byte. Names are case-sensitive; "+" stays "+".
    static std::optional<QuillaURLRequest> parse(std::string_view url);
};

} // namespace quilla
