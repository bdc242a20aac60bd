#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace quilla {

/// One child action of a feature as the settings window shows it. Identified by `actionID`;
/// equality compares all four fields.
struct QuillaFeatureChild {
    std::string title;       // already translated
    std::string summary;     // already translated
    std::string systemImage; // SF Symbol name
    std::string actionID;

    friend bool operator==(const QuillaFeatureChild&, const QuillaFeatureChild&) = default;
};

} // namespace quilla

/// Hashes by all four fields, matching equality.
template <> struct std::hash<quilla::QuillaFeatureChild> {
    std::size_t operator()(const quilla::QuillaFeatureChild& child) const noexcept {
        std::size_t seed = 0;
        for (const std::string* field : {&child.title, &child.summary, &child.systemImage, &child.actionID}) {
            seed ^= std::hash<std::string>{}(*field) + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
        }
        return seed;
    }
};
