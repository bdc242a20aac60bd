#include "shared/catalog/FinderFeatureAction.h"

#include <array>
#include <cstddef>

namespace quilla {
namespace {

using Kind = FinderFeatureAction::Kind;

constexpr std::uint8_t kindIndex(Kind kind) {
    return static_cast<std::uint8_t>(kind);
}

constexpr std::uint8_t payloadKindCount = 3;
constexpr std::uint8_t plainKindCount = kindIndex(Kind::alwaysEnabled) + 1 - payloadKindCount;
constexpr std::uint8_t plainMarker = 0b11;
constexpr std::uint8_t payloadMask = 0b0011'1111;

static_assert(plainKindCount == 12);
static_assert(finderFileTemplateRawValues.size() <= payloadMask + 1u);

/// Number of valid payload values for each payload kind, indexed by kind number.
constexpr std::array<std::size_t, payloadKindCount> payloadCounts{
    finderFileTemplateRawValues.size(),
    finderPathCopyFormatRawValues.size(),
    finderApplicationRawValues.size(),
};

std::uint8_t payloadIndex(const FinderFeatureAction& action) {
    switch (action.kind()) {
    case Kind::createFile:
        return static_cast<std::uint8_t>(*action.fileTemplate());
    case Kind::copyPath:
        return static_cast<std::uint8_t>(*action.pathCopyFormat());
    case Kind::openInApplication:
        return static_cast<std::uint8_t>(*action.application());
    default:
        return 0;
    }
}

FinderFeatureAction withPayload(std::uint8_t kind, std::uint8_t payload) {
    switch (kind) {
    case 0:
        return FinderFeatureAction::createFile(static_cast<FinderFileTemplate>(payload));
    case 1:
        return FinderFeatureAction::copyPath(static_cast<FinderPathCopyFormat>(payload));
    default:
        return FinderFeatureAction::openInApplication(static_cast<FinderApplication>(payload));
    }
}

constexpr std::array<FinderFeatureAction, plainKindCount> plainActions{
    FinderFeatureAction::createFolder(),      FinderFeatureAction::copyBesideOriginal(),
    FinderFeatureAction::copyToFolder(),      FinderFeatureAction::openInTerminal(),
    FinderFeatureAction::revealInFinder(),    FinderFeatureAction::openWithApplicationPath(),
    FinderFeatureAction::openFolder(),        FinderFeatureAction::finderViewOption(),
    FinderFeatureAction::moveToFolder(),      FinderFeatureAction::moveSelectionToNewFolder(),
    FinderFeatureAction::requiresSelection(), FinderFeatureAction::alwaysEnabled(),
};

constexpr bool plainActionsFollowKindOrder() {
    for (std::size_t i = 0; i < plainActions.size(); ++i) {
        if (kindIndex(plainActions[i].kind()) != payloadKindCount + i) {
            return false;
        }
    }
    return true;
}
static_assert(plainActionsFollowKindOrder());

enum class Enabling : std::uint8_t { always, withSelection, withSelectionOrTarget };

constexpr Enabling enabling(Kind kind) {
    switch (kind) {
    case Kind::createFile:
    case Kind::createFolder:
    case Kind::openFolder:
    case Kind::finderViewOption:
    case Kind::alwaysEnabled:
        return Enabling::always;
    case Kind::copyPath:
    case Kind::openInApplication:
    case Kind::openInTerminal:
    case Kind::openWithApplicationPath:
        return Enabling::withSelectionOrTarget;
    case Kind::copyBesideOriginal:
    case Kind::copyToFolder:
    case Kind::revealInFinder:
    case Kind::moveToFolder:
    case Kind::moveSelectionToNewFolder:
    case Kind::requiresSelection:
        return Enabling::withSelection;
    }
    return Enabling::withSelection; // unreachable for valid kinds; the safe answer otherwise
}

} // namespace

std::uint8_t FinderFeatureAction::encode() const {
    const std::uint8_t kind = kindIndex(kind_);
    if (kind < payloadKindCount) {
        return static_cast<std::uint8_t>(kind << 6 | payloadIndex(*this));
    }
    return static_cast<std::uint8_t>(plainMarker << 6 | (kind - payloadKindCount));
}

std::optional<FinderFeatureAction> FinderFeatureAction::decode(std::uint8_t byte) {
    const std::uint8_t top = byte >> 6;
    if (top == plainMarker) {
        const std::uint8_t index = byte & payloadMask; // bit 5 set is never valid: only 12 plain kinds
        if (index >= plainKindCount) {
            return std::nullopt;
        }
        return plainActions[index];
    }
    const std::uint8_t payload = byte & payloadMask;
    if (payload >= payloadCounts[top]) {
        return std::nullopt;
    }
    return withPayload(top, payload);
}

bool isActionEnabled(const FinderFeatureAction& action, bool hasSelection, bool hasTarget) {
    switch (enabling(action.kind())) {
    case Enabling::always:
        return true;
    case Enabling::withSelectionOrTarget:
        return hasSelection || hasTarget;
    case Enabling::withSelection:
        break;
    }
    return hasSelection;
}

} // namespace quilla
