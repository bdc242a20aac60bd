#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quilla::plist {

/// The few things Quilla does with the binary property-list format itself, without the library
/// that parses it: checking a file's shape before that library recurses into it, and carrying a
/// date across the library's 32-bit date accessors.
class BinaryPropertyList final {
public:
    /// Bounds a file must keep to before it is parsed.
    struct Limits {
        int maxDepth;         ///< containers nested inside each other
        std::size_t maxNodes; ///< values after expanding shared references, keys included
    };

    /// Whether `bytes` (starting with "bplist00") is a well-formed object table whose tree stays
    /// within `limits`: every offset and reference in range, no reference cycle, every dictionary
    /// key a string, and no string holding a NUL character. Iterative: never recurses on the input.
    static bool isWithinLimits(std::string_view bytes, Limits limits);

    /// A one-object binary property list holding a date `secondsSince2001` (any finite value).
    static std::string dateDocument(double secondsSince2001);

    /// The root date of a binary property list, as seconds since 2001; nothing when the root is
    /// not a date.
    static std::optional<double> rootDate(std::string_view bytes);
};

} // namespace quilla::plist
