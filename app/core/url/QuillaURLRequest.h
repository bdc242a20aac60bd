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
    // Path values that are not absolute count as missing.
    std::vector<std::string> paths;         ///< every absolute "path" value, in order
    std::optional<std::string> target;      ///< the first "target" value
    std::string actionID = "completed";     ///< the first "actionID" value, else "completed"
    std::optional<std::string> destination; ///< the first "destination" or "destinationPath" value
    std::optional<std::string> presetID;    ///< the first "presetID" value
    std::optional<std::string> actionTitle; ///< the first "action" value, only shown

    /// Longer URLs are refused, as queued actions are: a real one names a few thousand paths at
    /// most, and a page could otherwise hand over one large enough to stall the main thread.
    static constexpr std::size_t maximumLength = 1024 * 1024;

    /// Parses `url`, any bytes at all (a pure function, safe to feed arbitrary input). Nothing when
    /// the scheme is not exactly "quilla", when a percent escape is broken, when the URL holds a
    /// raw control byte or is longer than `maximumLength`, or when a decoded value holds a NUL
    /// byte. Names are case-sensitive; "+" stays "+".
    static std::optional<QuillaURLRequest> parse(std::string_view url);
};

} // namespace quilla
