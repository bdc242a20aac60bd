#include "finder-extension/core/FinderMenuActionHandler.h"

#include "finder-extension/core/FinderSettingsSnapshot.h"
#include "finder-extension/core/QuillaActionQueue.h"
#include "shared/LogText.h"
#include "shared/catalog/FinderFeature.h"

namespace quilla {
namespace {

constexpr std::string_view kOpenWithActionID = "openWithApplicationPath";
constexpr std::string_view kOpenWithIdentifierPrefix = "openWithApplicationPath__";
constexpr long kPresetTagBase = 700000;

FinderActionContext bareContext(std::string actionID, std::string title, FinderFeatureAction action,
                                std::string destinationPath = {}, std::string presetID = {}) {
    return {std::move(actionID), std::move(title), action, {}, std::nullopt, std::move(destinationPath),
            std::move(presetID)};
}

FinderActionContext presetContext(const FinderViewPresetSetting& preset, std::string title) {
    return bareContext(preset.actionID(), std::move(title), FinderFeatureAction::finderViewOption(), {}, preset.id);
}

FinderActionContext openWithContext(const FinderCustomDestination& destination, std::string title) {
    return bareContext(std::string(kOpenWithActionID), std::move(title), FinderFeatureAction::openWithApplicationPath(),
                       destination.path);
}

FinderActionContext contextFromDictionary(const FinderMenuDictionary& dictionary) {
    const auto action = FinderMenuActionHandler::actionForID(dictionary.actionID)
                            .value_or(FinderFeatureAction::copyPath(FinderPathCopyFormat::fullPath));
    std::optional<std::string> target;
    if (!dictionary.targetedPath.empty()) {
        target = dictionary.targetedPath;
    }
    return {dictionary.actionID,      dictionary.title,   action, dictionary.selectedPaths, std::move(target),
            dictionary.destinationPath, dictionary.presetID};
}

template <typename List, typename Match> auto findIn(const List& list, Match match) -> const typename List::value_type* {
    for (const auto& entry : list) {
        if (match(entry)) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

FinderMenuActionHandler::FinderMenuActionHandler(FinderSyncHost& host, const FinderDiagnosticLog& log,
                                                 QuillaActionQueuedNotifier& notifier, QuillaAppLauncher& launcher,
                                                 FinderSettingsFileCache& cache)
    : host_(host), log_(log), notifier_(notifier), launcher_(launcher), cache_(cache) {}

std::optional<std::filesystem::path> FinderMenuActionHandler::performFeatureChild(const FinderMenuItem& item) noexcept {
    try {
        return perform(item);
    } catch (const std::exception& error) {
        log_.append(std::string("click failed for sender=") + item.title + " error=" + error.what());
    } catch (...) {
        log_.append("click failed for sender=" + item.title);
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> FinderMenuActionHandler::perform(const FinderMenuItem& item) {
    log_.append("clicked sender=" + item.title);
    const auto context = actionContext(item);
    if (!context) {
        log_.append("missing context for sender=" + item.title);
        return std::nullopt;
    }
    QuillaQueuedAction action{context->actionID, context->title, host_.selectedItemPaths(), host_.targetedPath(),
                              context->destinationPath, context->presetID};
    if (action.selectedPaths.empty()) {
        action.selectedPaths = context->selectedPaths;
    }
    if (!action.targetedPath) {
        action.targetedPath = context->targetedPath;
    }
    log_.append("action=" + action.actionID + " title=" + action.title +
                " selected=" + bracketedList(action.selectedPaths, kLoggedPathsAtMost) +
                " target=" + action.targetedPath.value_or("nil") +
                " destination=" + (action.destinationPath.empty() ? "nil" : action.destinationPath));
    std::filesystem::path file;
    try {
        file = QuillaActionQueue::enqueue(action);
    } catch (const QuillaActionQueue::Error& error) {
        log_.append({"queue failed: " + action.actionID + " error=" + error.what(),
                     std::string("suppressed queue error alert: ") + error.what()});
        return std::nullopt;
    }
    log_.append("queued action: " + action.actionID);
    notifier_.postActionQueued();
    openContainingApp();
    return file;
}

std::optional<FinderActionContext> FinderMenuActionHandler::actionContext(const FinderMenuItem& item) {
    FinderSettingsSnapshot settings(cache_);
    return contextFromItem(item, settings);
}

std::optional<FinderActionContext> FinderMenuActionHandler::contextFromItem(const FinderMenuItem& item,
                                                                            FinderSettingsSnapshot& settings) {
    if (const auto* context = std::get_if<FinderActionContext>(&item.representedObject)) {
        return *context;
    }
    if (const auto* dictionary = std::get_if<FinderMenuDictionary>(&item.representedObject)) {
        return contextFromDictionary(*dictionary);
    }
    if (auto context = fromIdentifier(item.identifier, settings)) {
        return context;
    }
    if (item.tag) {
        if (auto context = fromTag(*item.tag, settings)) {
            return context;
        }
    }
    return fromTitle(item.title, settings);
}

std::optional<FinderActionContext>
FinderMenuActionHandler::actionContextFromMenuIdentifier(const std::optional<std::string>& identifier) {
    FinderSettingsSnapshot settings(cache_);
    return fromIdentifier(identifier, settings);
}

std::optional<FinderActionContext> FinderMenuActionHandler::actionContextFromMenuTag(long tag) {
    FinderSettingsSnapshot settings(cache_);
    return fromTag(tag, settings);
}

std::optional<FinderActionContext> FinderMenuActionHandler::actionContextFromMenuTitle(const std::string& title) {
    FinderSettingsSnapshot settings(cache_);
    return fromTitle(title, settings);
}

std::optional<FinderActionContext> FinderMenuActionHandler::customActionContext(const std::string& actionID) {
    FinderSettingsSnapshot settings(cache_);
    return fromCustomActionID(actionID, settings);
}

std::optional<FinderActionContext>
FinderMenuActionHandler::fromIdentifier(const std::optional<std::string>& identifier, FinderSettingsSnapshot& settings) {
    if (!identifier) {
        return std::nullopt;
    }
    if (identifier->starts_with(kOpenWithIdentifierPrefix)) {
        const auto id = identifier->substr(kOpenWithIdentifierPrefix.size());
        const auto* destination = findIn(settings.destinations(FinderCustomDestinationKind::openApplication),
                                         [&](const FinderCustomDestination& entry) { return entry.id == id; });
        if (!destination) {
            return std::nullopt;
        }
        log_.append("resolved open-with app from identifier=" + id + " destination=" + destination->path);
        return openWithContext(*destination, destination->name);
    }
    if (auto context = fromCustomActionID(*identifier, settings)) {
        log_.append("resolved custom action from identifier=" + *identifier);
        return context;
    }
    if (identifier->starts_with(FinderViewPresetSettings::kActionIDPrefix)) {
        const auto id = identifier->substr(FinderViewPresetSettings::kActionIDPrefix.size());
        const auto* preset =
            findIn(settings.presets(), [&](const FinderViewPresetSetting& entry) { return entry.id == id; });
        if (preset) {
            log_.append("resolved view preset from identifier=" + *identifier);
            return presetContext(*preset, preset->name);
        }
    }
    return std::nullopt;
}

std::optional<FinderActionContext> FinderMenuActionHandler::fromCustomActionID(const std::string& actionID,
                                                                               FinderSettingsSnapshot& settings) {
    const auto action = FinderCustomShortcutActionSettings::actionForActionID(settings.customActions(), actionID);
    if (!action) {
        return std::nullopt;
    }
    return bareContext(actionID, action->name, FinderFeatureAction::requiresSelection());
}

std::optional<FinderActionContext> FinderMenuActionHandler::fromTag(long tag, FinderSettingsSnapshot& settings) {
    const auto& presets = settings.presets();
    const long index = tag - kPresetTagBase;
    if (index < 0 || index >= static_cast<long>(presets.size())) {
        return std::nullopt;
    }
    const auto& preset = presets[static_cast<std::size_t>(index)];
    log_.append("resolved view preset from tag=" + std::to_string(tag) + " actionID=" + preset.actionID());
    return presetContext(preset, preset.name);
}

std::optional<FinderActionContext> FinderMenuActionHandler::fromTitle(const std::string& title,
                                                                      FinderSettingsSnapshot& settings) {
    if (const auto* action = findIn(settings.customActions(),
                                    [&](const FinderCustomShortcutAction& entry) { return entry.name == title; })) {
        log_.append("resolved custom action from title=" + title + " actionID=" + action->actionID());
        return bareContext(action->actionID(), title, FinderFeatureAction::requiresSelection());
    }
    if (const auto* destination = findIn(settings.destinations(FinderCustomDestinationKind::openApplication),
                                         [&](const FinderCustomDestination& entry) { return entry.name == title; })) {
        log_.append("resolved open-with app from title=" + title + " destination=" + destination->path);
        return openWithContext(*destination, title);
    }
    if (const auto* preset =
            findIn(settings.presets(), [&](const FinderViewPresetSetting& entry) { return entry.name == title; })) {
        log_.append("resolved view preset from title=" + title + " actionID=" + preset->actionID());
        return presetContext(*preset, title);
    }
    for (const auto feature : allFinderFeatures()) {
        for (const auto& child : children(feature)) {
            if (child.title == title) {
                return bareContext(child.actionID, child.title, child.action);
            }
        }
    }
    return std::nullopt;
}

std::optional<FinderFeatureAction> FinderMenuActionHandler::actionForID(const std::string& actionID) {
    if (actionID == kOpenWithActionID) {
        return FinderFeatureAction::openWithApplicationPath();
    }
    if (auto child = finderFeatureChild(actionID)) {
        return child->action;
    }
    return std::nullopt;
}

void FinderMenuActionHandler::openContainingApp() {
    if (launcher_.isApplicationRunning()) {
        return; // the notification reaches it
    }
    const FinderDiagnosticLog& log = log_;
    launcher_.startApplication([&log](const std::optional<std::string>& error) {
        if (error) {
            log.append("failed to open app: " + *error);
        }
    });
}

} // namespace quilla
