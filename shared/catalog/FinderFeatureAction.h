#pragma once

#include "shared/catalog/FinderApplication.h"
#include "shared/catalog/FinderFileTemplate.h"
#include "shared/catalog/FinderPathCopyFormat.h"

#include <cstdint>
#include <optional>

namespace quilla {

/// What a menu item of the extension does: decides when the item is enabled and how it is built.
/// Three kinds carry a payload; the other twelve are plain.
class FinderFeatureAction final {
public:
    enum class Kind : std::uint8_t {
        createFile,
        copyPath,
        openInApplication,
        createFolder,
        copyBesideOriginal,
        copyToFolder,
        openInTerminal,
        revealInFinder,
        openWithApplicationPath,
        openFolder,
        finderViewOption,
        moveToFolder,
        moveSelectionToNewFolder,
        requiresSelection,
        alwaysEnabled,
    };

    static constexpr FinderFeatureAction createFile(FinderFileTemplate value) {
        return {Kind::createFile, static_cast<std::uint8_t>(value)};
    }
    static constexpr FinderFeatureAction copyPath(FinderPathCopyFormat value) {
        return {Kind::copyPath, static_cast<std::uint8_t>(value)};
    }
    static constexpr FinderFeatureAction openInApplication(FinderApplication value) {
        return {Kind::openInApplication, static_cast<std::uint8_t>(value)};
    }
    static constexpr FinderFeatureAction createFolder() { return {Kind::createFolder, 0}; }
    static constexpr FinderFeatureAction copyBesideOriginal() { return {Kind::copyBesideOriginal, 0}; }
    static constexpr FinderFeatureAction copyToFolder() { return {Kind::copyToFolder, 0}; }
    static constexpr FinderFeatureAction openInTerminal() { return {Kind::openInTerminal, 0}; }
    static constexpr FinderFeatureAction revealInFinder() { return {Kind::revealInFinder, 0}; }
    static constexpr FinderFeatureAction openWithApplicationPath() {
        return {Kind::openWithApplicationPath, 0};
    }
    static constexpr FinderFeatureAction openFolder() { return {Kind::openFolder, 0}; }
    static constexpr FinderFeatureAction finderViewOption() { return {Kind::finderViewOption, 0}; }
    static constexpr FinderFeatureAction moveToFolder() { return {Kind::moveToFolder, 0}; }
    static constexpr FinderFeatureAction moveSelectionToNewFolder() {
        return {Kind::moveSelectionToNewFolder, 0};
    }
    static constexpr FinderFeatureAction requiresSelection() { return {Kind::requiresSelection, 0}; }
    static constexpr FinderFeatureAction alwaysEnabled() { return {Kind::alwaysEnabled, 0}; }

    constexpr Kind kind() const { return kind_; }

    /// The template of a createFile action; empty for every other kind.
    constexpr std::optional<FinderFileTemplate> fileTemplate() const {
        return payloadIf<FinderFileTemplate>(Kind::createFile);
    }
    /// The format of a copyPath action; empty for every other kind.
    constexpr std::optional<FinderPathCopyFormat> pathCopyFormat() const {
        return payloadIf<FinderPathCopyFormat>(Kind::copyPath);
    }
    /// The application of an openInApplication action; empty for every other kind.
    constexpr std::optional<FinderApplication> application() const {
        return payloadIf<FinderApplication>(Kind::openInApplication);
    }

    /// One byte: payload kinds keep their kind number (0-2) in the top two bits and the payload's
    /// case index in the low six; plain kinds keep 0b11 on top and their index among the plain kinds
    /// (0 for createFolder ... 11 for alwaysEnabled) in the low five bits.
    std::uint8_t encode() const;

    /// The action a byte of `encode()` stands for; empty for bytes no action encodes to.
    static std::optional<FinderFeatureAction> decode(std::uint8_t byte);

    friend constexpr bool operator==(const FinderFeatureAction&, const FinderFeatureAction&) = default;

private:
    constexpr FinderFeatureAction(Kind kind, std::uint8_t payload) : kind_(kind), payload_(payload) {}

    template <typename Payload> constexpr std::optional<Payload> payloadIf(Kind expected) const {
        if (kind_ != expected) {
            return std::nullopt;
        }
        return static_cast<Payload>(payload_);
    }

    Kind kind_;
    std::uint8_t payload_; // 0 for plain kinds, so equality can compare both fields
};

/// Whether a menu item with `action` is enabled, given whether items are selected and whether a
/// folder is targeted (a right-click on a window background targets a folder with no selection).
bool isActionEnabled(const FinderFeatureAction& action, bool hasSelection, bool hasTarget);

} // namespace quilla
