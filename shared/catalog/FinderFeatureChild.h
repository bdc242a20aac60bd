#pragma once

#include "shared/catalog/FinderFeatureAction.h"

#include <string>

namespace quilla {

/// One child action of a feature as the extension's menu shows it.
struct FinderFeatureChild {
    std::string actionID;
    std::string title; // already translated
    FinderFeatureAction action;

    friend bool operator==(const FinderFeatureChild&, const FinderFeatureChild&) = default;
};

} // namespace quilla
