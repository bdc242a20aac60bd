#include "app/core/url/URLActionConsent.h"

#include "app/core/lists/CustomShortcutActionPersistence.h"
#include "shared/L10n.h"
#include "shared/catalog/CatalogTable.h"
#include "shared/catalog/QuillaFeature.h"

#include <algorithm>
#include <array>
#include <utility>

namespace quilla {
namespace {

// Features whose every child only copies text or opens a place.
constexpr std::array kFeaturesWithoutConsent{std::string_view("copyPath"), std::string_view("quickOpen")};

// Prefixed IDs and the feature whose title names them when the entry itself is unknown.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kPrefixes{{
    {"finderViewPreset__", "viewOptions"},
    {"runShortcut__", "customActions"},
    {"runScript__", "customActions"},
}};

// Composite IDs the extension builds, named by their feature.
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kComposites{{
    {"quickOpenPath", "quickOpen"},
    {"copyFilesToFolder", "copyFile"},
    {"moveFilesToFolder", "organizeFile"},
    {"openWithApplicationPath", "openWith"},
}};

std::string featureTitle(std::string_view featureID) {
    const auto feature = quillaFeatureFromID(featureID);
    return feature ? title(*feature) : std::string(featureID);
}

std::optional<std::string> prefixedTitle(std::string_view actionID) {
    for (const auto& [prefix, featureID] : kPrefixes) {
        if (!actionID.starts_with(prefix)) {
            continue;
        }
        if (prefix != "finderViewPreset__") {
            if (const auto action = CustomShortcutActionPersistence::action(actionID.substr(prefix.size()))) {
                return action->name;
            }
        }
        return featureTitle(featureID);
    }
    return std::nullopt;
}

} // namespace

bool URLActionConsent::runsWithoutConsent(std::string_view actionID) {
    if (actionID == "completed" || actionID == "quickOpenPath") {
        return true;
    }
    for (const auto& [prefix, featureID] : kPrefixes) {
        if (actionID.starts_with(prefix)) {
            return false;
        }
    }
    const auto index = catalog::childIndex(actionID);
    if (!index) {
        return false;
    }
    const std::string_view featureID = catalog::childRows[*index].featureID;
    return std::find(kFeaturesWithoutConsent.begin(), kFeaturesWithoutConsent.end(), featureID) !=
           kFeaturesWithoutConsent.end();
}

std::string URLActionConsent::actionTitle(std::string_view actionID) {
    if (auto prefixed = prefixedTitle(actionID)) {
        return *prefixed;
    }
    if (const auto child = quillaFeatureChild(actionID)) {
        return child->title;
    }
    for (const auto& [id, featureID] : kComposites) {
        if (actionID == id) {
            return featureTitle(featureID);
        }
    }
    return std::string(actionID);
}

ActionConsentQuestion URLActionConsent::question(const ActionRequest& request) {
    ActionConsentQuestion question;
    question.message =
        L10n::format<"另一个程序请求 Quilla 执行“%@”。是否继续？">(actionTitle(request.actionID));
    const auto& items = request.selectedPaths;
    for (std::size_t i = 0; i < items.size() && i < shownItemCount; ++i) {
        question.itemLines.push_back(items[i].string());
    }
    if (items.size() > shownItemCount) {
        question.itemLines.push_back(L10n::format<"……共 %@ 个项目">(std::to_string(items.size())));
    }
    if (items.empty() && request.targetedPath) {
        question.itemLines.push_back(L10n::format<"位置：%@">(request.targetedPath->string()));
    }
    if (request.destinationPath) {
        question.itemLines.push_back(L10n::format<"目标：%@">(request.destinationPath->string()));
    }
    return question;
}

} // namespace quilla
