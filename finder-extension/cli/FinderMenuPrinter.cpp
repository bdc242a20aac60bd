#include "finder-extension/cli/FinderMenuPrinter.h"

#include <nlohmann/json.hpp>

#include <array>

namespace quilla {
namespace {

using Json = nlohmann::json;

constexpr std::array<std::string_view, 15> kKindNames{
    "createFile",   "copyPath",       "openInApplication",       "createFolder",      "copyBesideOriginal",
    "copyToFolder", "openInTerminal", "revealInFinder",          "openWithApplicationPath", "openFolder",
    "finderViewOption", "moveToFolder", "moveSelectionToNewFolder", "requiresSelection", "alwaysEnabled",
};

void appendText(const FinderMenu& menu, int depth, std::string& out) {
    for (const auto& item : menu.items) {
        out.append(static_cast<std::size_t>(depth) * 2, ' ');
        out += item.separator ? "---" : item.title;
        if (!item.separator && !item.enabled) {
            out += " [disabled]";
        }
        out += '\n';
        if (item.submenu) {
            appendText(*item.submenu, depth + 1, out);
        }
    }
}

Json contextJson(const FinderMenuItem::RepresentedObject& object) {
    if (const auto* context = std::get_if<FinderActionContext>(&object)) {
        return {{"actionID", context->actionID},
                {"title", context->title},
                {"action", FinderMenuPrinter::actionText(context->action)},
                {"selectedPaths", context->selectedPaths.paths()},
                {"targetedPath", context->targetedPath ? Json(*context->targetedPath) : Json(nullptr)},
                {"destinationPath", context->destinationPath},
                {"presetID", context->presetID}};
    }
    if (const auto* dictionary = std::get_if<FinderMenuDictionary>(&object)) {
        return {{"actionID", dictionary->actionID},
                {"title", dictionary->title},
                {"action", nullptr},
                {"selectedPaths", dictionary->selectedPaths.paths()},
                {"targetedPath", dictionary->targetedPath},
                {"destinationPath", dictionary->destinationPath},
                {"presetID", dictionary->presetID}};
    }
    return nullptr;
}

Json itemsJson(const FinderMenu& menu) {
    Json items = Json::array();
    for (const auto& item : menu.items) {
        const auto actionID = item.actionID();
        items.push_back({{"title", item.title},
                         {"enabled", item.enabled},
                         {"separator", item.separator},
                         {"identifier", item.identifier ? Json(*item.identifier) : Json(nullptr)},
                         {"tag", item.tag ? Json(*item.tag) : Json(nullptr)},
                         {"actionID", actionID ? Json(*actionID) : Json(nullptr)},
                         {"context", contextJson(item.representedObject)},
                         {"submenu", item.submenu ? itemsJson(*item.submenu) : Json(nullptr)}});
    }
    return items;
}

} // namespace

std::string FinderMenuPrinter::text(const FinderMenu& menu) {
    std::string out;
    appendText(menu, 0, out);
    return out;
}

std::string FinderMenuPrinter::json(const FinderMenu& menu) {
    return itemsJson(menu).dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string FinderMenuPrinter::actionText(const FinderFeatureAction& action) {
    std::string text(kKindNames[static_cast<std::size_t>(action.kind())]);
    if (const auto format = action.pathCopyFormat()) {
        text += "(" + std::string(rawValue(*format)) + ")";
    } else if (const auto file = action.fileTemplate()) {
        text += "(" + std::string(finderFileTemplateRawValues[static_cast<std::size_t>(*file)]) + ")";
    } else if (const auto application = action.application()) {
        text += "(" + std::string(rawValue(*application)) + ")";
    }
    return text;
}

} // namespace quilla
